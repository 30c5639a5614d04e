#include "core/formats/SearchPrinter.h"

namespace trawlit {

void WholeLinePrinter::BeginLine(
    TextOut&, const PrintedFile& file, std::int64_t lineNumber, bool isContinuation)
{
    file_ = file;
    lineNumber_ = lineNumber;
    isContinuation_ = isContinuation;
    text_.clear();
}

void WholeLinePrinter::LineText(TextOut&, std::string_view part)
{
    text_.append(part);
}

void WholeLinePrinter::EndLine(TextOut& out)
{
    MatchLine(out, file_, lineNumber_, text_, isContinuation_);
}

} // namespace trawlit
