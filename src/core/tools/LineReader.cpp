#include "core/tools/LineReader.h"

#include <algorithm>
#include <string_view>

#include "core/files/FileRoutines.h"
#include "core/search/ByteScan.h"

namespace trawlit {

namespace {

constexpr std::size_t kLongestMark = 3;

// How many bytes at the end of `text` begin a UTF-8 character that they do not complete.
std::size_t CutCharacterAtEnd(std::string_view text)
{
    for (std::size_t back = 1; back <= std::min<std::size_t>(3, text.size()); ++back) {
        const std::size_t at = text.size() - back;
        const auto byte = static_cast<unsigned char>(text[at]);
        if ((byte & 0xC0) == 0x80) {
            continue;
        }
        char32_t codePoint = 0;
        std::size_t length = 0;
        return DecodeUtf8Step(text, at, codePoint, length) == Utf8Step::Incomplete ? back : 0;
    }
    return 0;
}

} // namespace

LineReader::LineReader(FileRoutines& files, std::int16_t fileNumber,
    std::function<bool()> stopRequested, LineReading reading)
    : files_(files)
    , fileNumber_(fileNumber)
    , stopRequested_(std::move(stopRequested))
    , reading_(reading)
    , raw_(std::make_unique_for_overwrite<char[]>(kBlockSize)) // a file's worth is never zeroed
{
}

bool LineReader::Next(std::string& line)
{
    line.clear();
    if (!carried_.empty()) {
        line.assign(carried_); // the start of a character the last part could not hold whole
        carried_.clear();
    }
    lineGoesOn_ = false;
    bool started = !line.empty();
    while (position_ < end_ || Fill()) {
        if (lineFeedEndsLastLine_) {
            lineFeedEndsLastLine_ = false;
            if (data_[position_] == '\n') {
                ++position_;
                continue;
            }
        }
        started = true;
        const char* first = data_ + position_;
        const char* last = data_ + end_;
        const char* lineEnd = bytescan::FindLineEnd(first, last);
        const char* partEnd = reading_.keepLineEnds && lineEnd != last ? lineEnd + 1 : lineEnd;
        const std::size_t room = kMaxPart - line.size();
        if (static_cast<std::size_t>(partEnd - first) > room) {
            line.append(first, room);
            position_ += room;
            // A character cut by the part's end comes whole with the next part.
            const std::size_t cut = CutCharacterAtEnd(line);
            carried_.assign(line, line.size() - cut, cut);
            line.resize(line.size() - cut);
            lineGoesOn_ = true;
            return Deliver(line);
        }
        line.append(first, partEnd);
        if (lineEnd != last) {
            lineFeedEndsLastLine_ = !reading_.keepLineEnds && *lineEnd == '\r';
            position_ = static_cast<std::size_t>(lineEnd - data_) + 1;
            return Deliver(line);
        }
        position_ = end_;
    }
    return started && !failed_ && !stopped_ && Deliver(line);
}

bool LineReader::Deliver(std::string& line)
{
    if (reading_.utf8Lines && !utf16_ && !IsValidUtf8(line)) {
        line.assign(LineAsUtf8(line, scratch_));
    }
    return true;
}

bool LineReader::Fill()
{
    while (!atEnd_ && !failed_) {
        if (stopRequested_ && stopRequested_()) {
            stopped_ = true;
            return false;
        }
        const std::ptrdiff_t got = firstRead_ ? ReadFirst() : ReadRaw(raw_.get(), kBlockSize);
        if (got < 0) {
            failed_ = true;
            return false;
        }
        std::string_view bytes(raw_.get(), static_cast<std::size_t>(got));
        if (firstRead_) {
            firstRead_ = false;
            std::size_t markLength = 0;
            encoding_ = EncodingMarkedBy(bytes, markLength);
            bytes.remove_prefix(markLength);
            if (encoding_ == FileEncoding::Utf16Le || encoding_ == FileEncoding::Utf16Be) {
                utf16_.emplace(encoding_ == FileEncoding::Utf16Le ? ByteOrder::LittleEndian
                                                                  : ByteOrder::BigEndian);
            }
        }
        atEnd_ = got == 0;
        if (utf16_) {
            decoded_.clear();
            if (atEnd_) {
                utf16_->Finish(decoded_);
            } else {
                utf16_->Feed(bytes, decoded_);
            }
            bytes = decoded_;
        }
        data_ = bytes.data();
        position_ = 0;
        end_ = bytes.size();
        if (end_ > 0) {
            return true;
        }
    }
    return false;
}

// The first bytes, read on while a short read leaves a mark undecided.
std::ptrdiff_t LineReader::ReadFirst()
{
    std::ptrdiff_t got = ReadRaw(raw_.get(), kBlockSize);
    while (got > 0 && static_cast<std::size_t>(got) < kLongestMark
        && MayBecomeMark(std::string_view(raw_.get(), static_cast<std::size_t>(got)))) {
        const std::ptrdiff_t more
            = ReadRaw(raw_.get() + got, kBlockSize - static_cast<std::size_t>(got));
        if (more < 0) {
            return more;
        }
        if (more == 0) {
            break;
        }
        got += more;
    }
    return got;
}

std::ptrdiff_t LineReader::ReadRaw(char* buffer, std::size_t size)
{
    if (!reading_.fromStart) {
        return files_.ReadBytes(fileNumber_, buffer, size);
    }
    const std::ptrdiff_t got = files_.ReadBytesAt(fileNumber_, offset_, buffer, size);
    if (got > 0) {
        offset_ += got;
    }
    return got;
}

} // namespace trawlit
