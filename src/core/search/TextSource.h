#pragma once

#include "core/search/LineMatcher.h"
#include "core/text/TextDecode.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

namespace trawlit {

// A file as the line matcher reads it: UTF-16 with a byte-order mark decoded to UTF-8, any
// other file byte for byte. The first block is read ahead to look for the mark, so a file
// costs no more reads than before.
class TextSource : public ByteSource {
public:
    TextSource();

    // Starts on a new file; the source must outlive the reading of it.
    void Open(ByteSource& file);

    std::ptrdiff_t Read(char* buffer, std::size_t size) override;
    bool CanReadAt() const override { return !utf16_ && file_->CanReadAt(); }
    std::ptrdiff_t ReadAt(std::int64_t offset, char* buffer, std::size_t size) override
    {
        return file_->ReadAt(offset, buffer, size);
    }

private:
    std::ptrdiff_t ReadHead(char* buffer, std::size_t size);
    void DecodeMore();

    ByteSource* file_ = nullptr;
    std::unique_ptr<char[]> head_;
    std::size_t headSize_ = 0;
    std::size_t headUsed_ = 0;
    std::optional<Utf16Decoder> utf16_;
    std::string decoded_;
    std::size_t decodedUsed_ = 0;
    bool fileEnded_ = false;
    bool decodingDone_ = false;
};

} // namespace trawlit
