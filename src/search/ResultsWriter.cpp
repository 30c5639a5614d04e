#include "search/ResultsWriter.h"

#include "util/FileRoutines.h"

namespace trawlit {

ResultsWriter::ResultsWriter(FileRoutines& files, std::int16_t fileNumber)
    : files_(files)
    , fileNumber_(fileNumber)
{
    buffer_.reserve(kCapacity);
}

void ResultsWriter::Flush()
{
    if (!error_ && !buffer_.empty()) {
        files_.WriteBytes(fileNumber_, buffer_, error_);
    }
    buffer_.clear();
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
