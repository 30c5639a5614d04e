#include "core/search/TextSource.h"

#include "core/search/BlockBuffer.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace trawlit {

namespace {

constexpr std::size_t kMarkSize = 2;

bool MayStartMark(char c)
{
    return c == '\xFF' || c == '\xFE';
}

} // namespace

void TextSource::Open(ByteSource& file)
{
    file_ = &file;
    firstRead_ = true;
    utf16_.reset();
    decoded_.clear();
    decodedUsed_ = 0;
    decodingDone_ = false;
    failed_ = false;
}

std::ptrdiff_t TextSource::Read(char* buffer, std::size_t size)
{
    if (failed_)
        return -1; // a failed read ends the file: nothing after a gap is passed on
    if (utf16_)
        return ReadDecoded(buffer, size);
    if (!firstRead_)
        return file_->Read(buffer, size);
    firstRead_ = false;
    const std::ptrdiff_t got = ReadFirst(buffer, size);
    const auto order = got >= static_cast<std::ptrdiff_t>(kMarkSize)
        ? Utf16Mark(std::string_view(buffer, kMarkSize))
        : std::nullopt;
    if (!order)
        return got;
    utf16_.emplace(*order);
    utf16_->Feed(
        std::string_view(buffer + kMarkSize, static_cast<std::size_t>(got) - kMarkSize), decoded_);
    return ReadDecoded(buffer, size);
}

// The first bytes, read on while a short read leaves a mark undecided.
std::ptrdiff_t TextSource::ReadFirst(char* buffer, std::size_t size)
{
    std::ptrdiff_t got = file_->Read(buffer, size);
    while (got > 0 && static_cast<std::size_t>(got) < std::min(kMarkSize, size)
        && MayStartMark(buffer[0])) {
        const std::ptrdiff_t more = file_->Read(buffer + got, size - static_cast<std::size_t>(got));
        if (more <= 0) {
            failed_ = more < 0; // what came is passed on, the failure with the next read
            break;
        }
        got += more;
    }
    return got;
}

std::ptrdiff_t TextSource::ReadDecoded(char* buffer, std::size_t size)
{
    while (decodedUsed_ == decoded_.size() && !decodingDone_)
        DecodeMore();
    if (failed_ && decodedUsed_ == decoded_.size())
        return -1;
    const std::size_t count = std::min(size, decoded_.size() - decodedUsed_);
    std::memcpy(buffer, decoded_.data() + decodedUsed_, count);
    decodedUsed_ += count;
    return static_cast<std::ptrdiff_t>(count);
}

void TextSource::DecodeMore()
{
    decoded_.clear();
    decodedUsed_ = 0;
    if (!raw_)
        raw_ = std::make_unique_for_overwrite<char[]>(BlockBuffer::kBlockSize);
    const std::ptrdiff_t got = file_->Read(raw_.get(), BlockBuffer::kBlockSize);
    if (got <= 0) {
        decodingDone_ = true;
        failed_ = got < 0;
        utf16_->Finish(decoded_);
        return;
    }
    utf16_->Feed(std::string_view(raw_.get(), static_cast<std::size_t>(got)), decoded_);
}

} // namespace trawlit
