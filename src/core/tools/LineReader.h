#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace trawlit {

class FileRoutines;

// Reads the lines of an open file. A line ends at CR, LF or CR LF, none of which belongs to
// it; a line end at the very end of the file starts no further line, so "x\n" is one line
// like "x\r\n", and an empty file has none. A line longer than kMaxPart comes in parts, so
// memory stays bounded whatever the line lengths.
class LineReader {
public:
    static constexpr std::size_t kMaxPart = 1024 * 1024;

    // `stopRequested`, asked before each block, ends the file early when it answers true.
    LineReader(FileRoutines& files, std::int16_t fileNumber,
        std::function<bool()> stopRequested = nullptr);
    // The next line, or the next part of a long one (kMaxPart bytes but for its last part);
    // false at the end of the file or when reading failed.
    bool Next(std::string& line);
    // Whether more of the same line follows what Next gave last.
    bool LineGoesOn() const { return lineGoesOn_; }
    bool Failed() const { return failed_; }

private:
    bool Fill();

    FileRoutines& files_;
    std::int16_t fileNumber_;
    std::function<bool()> stopRequested_;
    std::vector<char> buffer_;
    std::size_t position_ = 0;
    std::size_t end_ = 0;
    bool lineFeedEndsLastLine_ = false; // the last line ended at CR: a following LF is its end
    bool lineGoesOn_ = false;
    bool failed_ = false;
};

} // namespace trawlit
