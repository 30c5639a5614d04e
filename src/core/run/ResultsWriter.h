#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "ports/FileSystem.h"

namespace trawlit {

class FileRoutines;

// Where a printer writes its text.
class TextOut {
public:
    virtual ~TextOut() = default;
    virtual void Write(std::string_view text) = 0;
};

// Writes a results file through one large buffer. The first failed write (a full disk) is
// kept and every later write is dropped, so the run can stop and say so instead of
// reporting a half-written file as complete.
class ResultsWriter final : public TextOut {
public:
    ResultsWriter(FileRoutines& files, std::int16_t fileNumber);
    ResultsWriter(const ResultsWriter&) = delete;
    ResultsWriter& operator=(const ResultsWriter&) = delete;

    void Write(std::string_view text) override
    {
        if (buffer_.size() + text.size() > kCapacity) {
            Flush();
            if (text.size() >= kCapacity) {
                WriteThrough(text); // a very long line is not copied once more
                return;
            }
        }
        buffer_.append(text);
    }
    void WriteLine(std::string_view text)
    {
        Write(text);
        Write("\r\n");
    }
    // Flushes and closes the file; the results stream is checked after its final flush.
    void Close();
    bool Failed() const { return static_cast<bool>(error_); }
    const PlatformError& Error() const { return error_; }

private:
    static constexpr std::size_t kCapacity = 256 * 1024;
    void Flush();
    void WriteThrough(std::string_view text);

    FileRoutines& files_;
    std::int16_t fileNumber_;
    std::string buffer_;
    PlatformError error_;
    bool closed_ = false;
};

} // namespace trawlit
