#include "core/search/BlockBuffer.h"

#include <algorithm>
#include <cstring>

namespace trawlit {

namespace {

// Room for the end of a line carried over from the previous block.
constexpr std::size_t kStartCapacity = BlockBuffer::kBlockSize + 16 * 1024;

} // namespace

BlockBuffer::BlockBuffer()
{
    Reserve(kStartCapacity);
}

void BlockBuffer::Reset()
{
    if (capacity_ > 2 * kStartCapacity) {
        data_.reset();
        capacity_ = 0;
        size_ = 0;
        Reserve(kStartCapacity);
    }
    size_ = 0;
    atEnd_ = false;
    readFailed_ = false;
    last_ = beforeLast_ = 0;
}

void BlockBuffer::Reserve(std::size_t capacity)
{
    if (capacity <= capacity_)
        return;
    auto grown = std::make_unique_for_overwrite<char[]>(capacity);
    if (size_ != 0)
        std::memcpy(grown.get(), data_.get(), size_);
    data_ = std::move(grown);
    capacity_ = capacity;
}

void BlockBuffer::Refill(ByteSource& source, std::size_t keepFrom)
{
    const std::size_t kept = size_ - keepFrom;
    if (kept != 0 && keepFrom != 0)
        std::memmove(data_.get(), data_.get() + keepFrom, kept);
    size_ = kept;
    const std::size_t wanted = size_ + kBlockSize;
    if (wanted > capacity_) {
        // Doubling keeps a line that grows past the bound from being copied once per block.
        const std::size_t doubled = std::max(capacity_ * 2, wanted);
        Reserve(wanted <= kMaxCapacity ? std::min(doubled, kMaxCapacity) : doubled);
    }
    const std::size_t appendedFrom = size_;
    // One read per refill: whatever arrived is searched before the source is asked again.
    const std::ptrdiff_t got = source.Read(data_.get() + size_, kBlockSize);
    if (got <= 0) {
        atEnd_ = true;
        readFailed_ = got < 0;
    } else // a source claiming more than it was asked for is not trusted beyond the buffer
        size_ += std::min(static_cast<std::size_t>(got), kBlockSize);
    NoteLastBytes(appendedFrom);
}

void BlockBuffer::NoteLastBytes(std::size_t appendedFrom)
{
    const std::size_t appended = size_ - appendedFrom;
    if (appended == 0)
        return;
    beforeLast_ = appended >= 2 ? data_[size_ - 2] : last_;
    last_ = data_[size_ - 1];
}

} // namespace trawlit
