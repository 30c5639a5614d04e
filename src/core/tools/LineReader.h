#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/text/FileEncoding.h"
#include "core/text/TextDecode.h"

namespace trawlit {

class FileRoutines;

// How a tool wants a file's lines.
struct LineReading {
    // A line that is not valid UTF-8 comes as its Windows-1252 reading.
    bool utf8Lines = true;
    // Every CR and every LF ends a line and stays at its end, so the lines joined give the
    // whole text back.
    bool keepLineEnds = false;
    // Reads from the file's first byte, whatever was read of it before.
    bool fromStart = false;
};

// Reads the lines of an open file as text, the way the search reads files: a UTF-16 file
// (one with its byte-order mark) is decoded, a UTF-8 mark is passed over, and every line of
// any other file is UTF-8 where it is valid, else Windows-1252. A line ends at CR, LF or
// CR LF, none of which belongs to it; a line end at the very end of the file starts no
// further line, so "x\n" is one line like "x\r\n", and an empty file has none. A line longer
// than kMaxPart comes in parts cut between characters, so memory stays bounded whatever the
// line lengths.
class LineReader {
public:
    static constexpr std::size_t kMaxPart = 1024 * 1024;
    static constexpr std::size_t kBlockSize = 64 * 1024;

    // `stopRequested`, asked before each block, ends the file early when it answers true.
    LineReader(FileRoutines& files, std::int16_t fileNumber,
        std::function<bool()> stopRequested = nullptr, LineReading reading = {});
    // The next line, or the next part of a long one (at most kMaxPart bytes as read); false
    // at the end of the file, when reading failed or was stopped.
    bool Next(std::string& line);
    // Whether more of the same line follows what Next gave last.
    bool LineGoesOn() const { return lineGoesOn_; }
    bool Failed() const { return failed_; }
    bool Stopped() const { return stopped_; }
    // The file's encoding, known once Next has been called.
    FileEncoding Encoding() const { return encoding_; }

private:
    bool Fill();
    std::ptrdiff_t ReadRaw(char* buffer, std::size_t size);
    std::ptrdiff_t ReadFirst();
    bool Deliver(std::string& line);

    FileRoutines& files_;
    std::int16_t fileNumber_;
    std::function<bool()> stopRequested_;
    LineReading reading_;
    std::unique_ptr<char[]> raw_;
    std::string decoded_;
    std::string scratch_;
    std::string carried_;
    std::optional<Utf16Decoder> utf16_;
    FileEncoding encoding_ = FileEncoding::Unmarked;
    const char* data_ = nullptr;
    std::size_t position_ = 0;
    std::size_t end_ = 0;
    std::int64_t offset_ = 0;
    bool firstRead_ = true;
    bool atEnd_ = false;
    bool lineFeedEndsLastLine_ = false; // the last line ended at CR: a following LF is its end
    bool lineGoesOn_ = false;
    bool failed_ = false;
    bool stopped_ = false;
};

} // namespace trawlit
