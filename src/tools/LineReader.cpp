#include "tools/LineReader.h"

#include <algorithm>

#include "util/FileRoutines.h"

namespace trawlit {

namespace {

constexpr std::size_t kBlockSize = 64 * 1024;

bool IsLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

} // namespace

LineReader::LineReader(FileRoutines& files, std::int16_t fileNumber)
    : files_(files)
    , fileNumber_(fileNumber)
    , buffer_(kBlockSize)
{
}

bool LineReader::Next(std::string& line)
{
    line.clear();
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
        const auto first = buffer_.begin() + static_cast<std::ptrdiff_t>(position_);
        const auto last = buffer_.begin() + static_cast<std::ptrdiff_t>(end_);
        const auto lineEnd = std::find_if(first, last, IsLineEnd);
        line.append(first, lineEnd);
        if (lineEnd != last) {
            lineFeedEndsLastLine_ = *lineEnd == '\r';
            position_ = static_cast<std::size_t>(lineEnd - buffer_.begin()) + 1;
            return true;
        }
        position_ = end_;
    }
    return started && !failed_;
}

bool LineReader::Fill()
{
    if (failed_) {
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
