#include "core/formats/ResultsFilePrinter.h"

#include "core/run/OutputHeader.h"
#include "core/run/RunTrailer.h"
#include "core/text/TextHelpers.h"

namespace trawlit {

namespace {

std::size_t DecimalDigits(std::int64_t value)
{
    std::size_t digits = 1;
    for (; value >= 10; value /= 10) {
        ++digits;
    }
    return digits;
}

} // namespace

void ResultsFilePrinter::Begin(TextOut& out, const SearchOptions& shown, const LocalDateTime& now)
{
    out.Write(OutputHeader(shown, now, SectionId::SearchForString));
}

void ResultsFilePrinter::MatchingFile(TextOut& out, const PrintedFile& file)
{
    out.Write("\r\n");
    out.Write(file.belowRoot);
    out.Write("\r\n\r\n");
}

void ResultsFilePrinter::BeginLine(
    TextOut& out, const PrintedFile&, std::int64_t lineNumber, bool isContinuation)
{
    out.Write("\t");
    if (isContinuation) {
        out.Write(std::string(DecimalDigits(lineNumber) + 1, ' '));
    } else {
        out.Write(std::to_string(lineNumber));
        out.Write(":");
    }
    out.Write("\t");
}

// A long line comes in parts: each is written as it comes.
void ResultsFilePrinter::LineText(TextOut& out, std::string_view part)
{
    out.Write(part);
}

void ResultsFilePrinter::EndLine(TextOut& out)
{
    out.Write("\r\n");
}

void ResultsFilePrinter::FileCount(TextOut& out, const PrintedFile& file, std::int64_t count)
{
    countsOnly_ = true; // only counts are written in this run
    out.Write(RJustify(std::to_string(count), 8) + "  ");
    out.Write(file.checkPath);
    out.Write("\r\n");
}

void ResultsFilePrinter::FileCut(TextOut& out, const PrintedFile&, std::string_view why)
{
    // Under the path of the count line; with the lines, as they are.
    out.Write(countsOnly_ ? std::string(10, ' ') : "\t");
    out.Write("(" + NotReadInFull(why) + ")\r\n");
}

void ResultsFilePrinter::Summary(
    TextOut& out, const RunCounters& counters, bool aborted, std::int64_t)
{
    WriteTrailer(out, aborted, counters);
}

} // namespace trawlit
