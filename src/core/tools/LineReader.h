#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace trawlit {

class FileRoutines;

// Reads the lines of an open file. A line ends at CR, LF or CR LF, none of which belongs to
// it; a line end at the very end of the file starts no further line, so "x\n" is one line
// like "x\r\n", and an empty file has none.
class LineReader {
public:
    LineReader(FileRoutines& files, std::int16_t fileNumber);
    // The next line; false at the end of the file or when reading failed.
    bool Next(std::string& line);
    bool Failed() const { return failed_; }

private:
    bool Fill();

    FileRoutines& files_;
    std::int16_t fileNumber_;
    std::vector<char> buffer_;
    std::size_t position_ = 0;
    std::size_t end_ = 0;
    bool lineFeedEndsLastLine_ = false; // the last line ended at CR: a following LF is its end
    bool failed_ = false;
};

} // namespace trawlit
