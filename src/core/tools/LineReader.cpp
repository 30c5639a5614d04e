#include "core/tools/LineReader.h"

#include "core/files/FileRoutines.h"
#include "core/search/ByteScan.h"

namespace trawlit {

namespace {

constexpr std::size_t kBlockSize = 64 * 1024;

} // namespace

LineReader::LineReader(
    FileRoutines& files, std::int16_t fileNumber, std::function<bool()> stopRequested)
    : files_(files)
    , fileNumber_(fileNumber)
    , stopRequested_(std::move(stopRequested))
    , buffer_(kBlockSize)
{
}

bool LineReader::Next(std::string& line)
{
    line.clear();
    lineGoesOn_ = false;
    bool started = false;
    while (position_ < end_ || Fill()) {
        if (lineFeedEndsLastLine_) {
            lineFeedEndsLastLine_ = false;
            if (buffer_[position_] == '\n') {
                ++position_;
                continue;
            }
        }
        started = true;
        const char* first = buffer_.data() + position_;
        const char* last = buffer_.data() + end_;
        const char* lineEnd = bytescan::FindLineEnd(first, last);
        const std::size_t room = kMaxPart - line.size();
        if (static_cast<std::size_t>(lineEnd - first) > room) {
            line.append(first, room);
            position_ += room;
            lineGoesOn_ = true;
            return true;
        }
        line.append(first, lineEnd);
        if (lineEnd != last) {
            lineFeedEndsLastLine_ = *lineEnd == '\r';
            position_ = static_cast<std::size_t>(lineEnd - buffer_.data()) + 1;
            return true;
        }
        position_ = end_;
    }
    return started && !failed_;
}

bool LineReader::Fill()
{
    if (failed_ || (stopRequested_ && stopRequested_())) {
        return false;
    }
    const std::ptrdiff_t got = files_.ReadBytes(fileNumber_, buffer_.data(), buffer_.size());
    if (got < 0) {
        failed_ = true;
        return false;
    }
    position_ = 0;
    end_ = static_cast<std::size_t>(got);
    return got > 0;
}

} // namespace trawlit
