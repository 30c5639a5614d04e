#pragma once

#include "core/search/LineMatcher.h"

#include <cstddef>
#include <memory>

namespace trawlit {

// The window of a file that the line matcher looks at: the bytes still needed from earlier
// blocks followed by the next block read. Grows while one line outgrows it, up to
// kMaxCapacity unless its owner keeps more than that.
class BlockBuffer {
public:
    static constexpr std::size_t kBlockSize = 128 * 1024;
    static constexpr std::size_t kMaxCapacity = 8 * kBlockSize;

    BlockBuffer();

    // Forgets the previous file and gives back memory a long line took.
    void Reset();

    // Drops the bytes before `keepFrom`, moves the rest to the front and appends up to one
    // block. Positions shift down by `keepFrom`.
    void Refill(ByteSource& source, std::size_t keepFrom);

    // Whether one more block can be appended without dropping anything.
    bool HasRoomForBlock() const { return size_ + kBlockSize <= capacity_; }
    // Whether keeping the bytes from `keepFrom` on leaves room for a block within the bound.
    bool KeepsWithinBound(std::size_t keepFrom) const
    {
        return size_ - keepFrom + kBlockSize <= kMaxCapacity;
    }
    std::size_t Capacity() const { return capacity_; }

    const char* Data() const { return data_.get(); }
    std::size_t Size() const { return size_; }
    // No more bytes come: the file ended, or a read failed (ReadFailed), which its source keeps
    // to tell.
    bool AtEnd() const { return atEnd_; }
    bool ReadFailed() const { return readFailed_; }

    // Whether the file's last byte is an LF that does not follow a CR (only final once AtEnd).
    bool EndsWithLoneLF() const { return last_ == '\n' && beforeLast_ != '\r'; }

private:
    void Reserve(std::size_t capacity);
    void NoteLastBytes(std::size_t appendedFrom);

    std::unique_ptr<char[]> data_;
    std::size_t capacity_ = 0;
    std::size_t size_ = 0;
    bool atEnd_ = false;
    bool readFailed_ = false;
    char last_ = 0; // of the whole file read so far, kept across refills
    char beforeLast_ = 0;
};

} // namespace trawlit
