#include "core/formats/GrepRecords.h"

#include <string>

namespace trawlit {

void GrepRecords::MatchLine(TextOut& out, const PrintedFile& file, std::int64_t lineNumber,
    std::string_view text, bool isContinuation)
{
    const char separator = isContinuation ? '-' : ':';
    line_.assign(file.displayPath);
    line_ += separator;
    line_ += std::to_string(lineNumber);
    line_ += separator;
    line_ += text;
    line_ += '\n';
    out.Write(line_);
}

void GrepRecords::FileCount(TextOut& out, const PrintedFile& file, std::int64_t count)
{
    line_.assign(file.displayPath);
    line_ += ':';
    line_ += std::to_string(count);
    line_ += '\n';
    out.Write(line_);
}

} // namespace trawlit
