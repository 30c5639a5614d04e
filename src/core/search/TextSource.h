#pragma once

#include "core/search/LineMatcher.h"
#include "core/text/TextDecode.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

namespace trawlit {

// A file as the line matcher reads it: UTF-16 with a byte-order mark decoded to UTF-8, any
// other file byte for byte, straight into the reader's buffer. Whether the file can be read
// again is only settled by the first read. A failed read is passed on, never taken for the end.
class TextSource : public ByteSource {
public:
    // Starts on a new file; the source must outlive the reading of it.
    void Open(ByteSource& file);

    std::ptrdiff_t Read(char* buffer, std::size_t size) override;
    bool Stopped() override { return file_->Stopped(); }
    bool CanReadAt() const override { return !utf16_ && file_->CanReadAt(); }
    std::ptrdiff_t ReadAt(std::int64_t offset, char* buffer, std::size_t size) override
    {
        return file_->ReadAt(offset, buffer, size);
    }

private:
    std::ptrdiff_t ReadFirst(char* buffer, std::size_t size);
    std::ptrdiff_t ReadDecoded(char* buffer, std::size_t size);
    void DecodeMore();

    ByteSource* file_ = nullptr;
    bool firstRead_ = true;
    std::optional<Utf16Decoder> utf16_;
    std::unique_ptr<char[]> raw_; // taken on the first UTF-16 file
    std::string decoded_;
    std::size_t decodedUsed_ = 0;
    bool decodingDone_ = false;
    bool failed_ = false; // a read failed: every later read fails too
};

} // namespace trawlit
