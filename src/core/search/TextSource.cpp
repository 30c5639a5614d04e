#include "core/search/TextSource.h"

#include "core/search/BlockBuffer.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace trawlit {

namespace {

constexpr std::size_t kMarkSize = 2;

} // namespace

TextSource::TextSource()
    : head_(std::make_unique_for_overwrite<char[]>(BlockBuffer::kBlockSize))
{
}

void TextSource::Open(ByteSource& file)
{
    file_ = &file;
    headSize_ = headUsed_ = decodedUsed_ = 0;
    decoded_.clear();
    utf16_.reset();
    fileEnded_ = decodingDone_ = false;
    // A mark cut by a short read is looked for in the bytes that follow.
    while (headSize_ < kMarkSize && !fileEnded_) {
        const std::ptrdiff_t got
            = file.Read(head_.get() + headSize_, BlockBuffer::kBlockSize - headSize_);
        if (got <= 0)
            fileEnded_ = true;
        else
            headSize_
                += std::min(static_cast<std::size_t>(got), BlockBuffer::kBlockSize - headSize_);
    }
    if (const auto order = Utf16Mark(std::string_view(head_.get(), headSize_))) {
        utf16_.emplace(*order);
        headUsed_ = kMarkSize;
    }
}

std::ptrdiff_t TextSource::ReadHead(char* buffer, std::size_t size)
{
    const std::size_t count = std::min(size, headSize_ - headUsed_);
    std::memcpy(buffer, head_.get() + headUsed_, count);
    headUsed_ += count;
    return static_cast<std::ptrdiff_t>(count);
}

std::ptrdiff_t TextSource::Read(char* buffer, std::size_t size)
{
    if (!utf16_) {
        if (headUsed_ < headSize_)
            return ReadHead(buffer, size);
        return fileEnded_ ? 0 : file_->Read(buffer, size);
    }
    while (decodedUsed_ == decoded_.size() && !decodingDone_)
        DecodeMore();
    const std::size_t count = std::min(size, decoded_.size() - decodedUsed_);
    std::memcpy(buffer, decoded_.data() + decodedUsed_, count);
    decodedUsed_ += count;
    return static_cast<std::ptrdiff_t>(count);
}

void TextSource::DecodeMore()
{
    decoded_.clear();
    decodedUsed_ = 0;
    if (headUsed_ == headSize_) {
        // The head buffer is free again once handed on: later blocks are read into it.
        headUsed_ = headSize_ = 0;
        const std::ptrdiff_t got
            = fileEnded_ ? 0 : file_->Read(head_.get(), BlockBuffer::kBlockSize);
        if (got <= 0) {
            fileEnded_ = decodingDone_ = true;
            utf16_->Finish(decoded_);
            return;
        }
        headSize_ = std::min(static_cast<std::size_t>(got), BlockBuffer::kBlockSize);
    }
    utf16_->Feed(std::string_view(head_.get() + headUsed_, headSize_ - headUsed_), decoded_);
    headUsed_ = headSize_;
}

} // namespace trawlit
