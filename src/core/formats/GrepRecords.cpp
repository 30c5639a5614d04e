#include "core/formats/GrepRecords.h"

#include <string>
#include <utility>

namespace trawlit {

GrepRecords::GrepRecords(Note note)
    : note_(std::move(note))
{
}

void GrepRecords::BeginLine(
    TextOut& out, const PrintedFile& file, std::int64_t lineNumber, bool isContinuation)
{
    const char separator = isContinuation ? '-' : ':';
    line_.assign(file.displayPath);
    line_ += separator;
    line_ += std::to_string(lineNumber);
    line_ += separator;
    out.Write(line_);
}

void GrepRecords::LineText(TextOut& out, std::string_view part)
{
    out.Write(part);
}

void GrepRecords::EndLine(TextOut& out)
{
    out.Write("\n");
}

void GrepRecords::FileCount(TextOut& out, const PrintedFile& file, std::int64_t count)
{
    line_.assign(file.displayPath);
    line_ += ':';
    line_ += std::to_string(count);
    line_ += '\n';
    out.Write(line_);
}

void GrepRecords::FileCut(TextOut&, const PrintedFile& file, std::string_view why)
{
    if (note_) {
        note_(std::string(file.displayPath) + ": (" + NotReadInFull(why) + ")");
    }
}

} // namespace trawlit
