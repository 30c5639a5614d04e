#include "core/run/ResultsWriter.h"

#include "core/files/FileRoutines.h"

namespace trawlit {

ResultsWriter::ResultsWriter(FileRoutines& files, std::int16_t fileNumber)
    : files_(files)
    , fileNumber_(fileNumber)
{
    buffer_.reserve(kCapacity);
}

void ResultsWriter::Flush()
{
    if (!buffer_.empty()) {
        WriteThrough(buffer_);
    }
    buffer_.clear();
}

void ResultsWriter::WriteThrough(std::string_view text)
{
    if (!error_) {
        files_.WriteBytes(fileNumber_, text, error_);
    }
}

void ResultsWriter::Close()
{
    if (closed_) {
        return;
    }
    closed_ = true;
    Flush();
    PlatformError closeError;
    if (!files_.Close(fileNumber_, closeError) && !error_) {
        error_ = closeError;
    }
}

} // namespace trawlit
