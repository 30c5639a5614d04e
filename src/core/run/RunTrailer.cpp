#include "core/run/RunTrailer.h"

#include "core/run/OutputHeader.h"
#include "core/run/ResultsWriter.h"
#include "ports/Dialogs.h"
#include "ports/RunView.h"

namespace trawlit {

namespace {

// The abort line when aborted, then the heading of the counts block.
void WriteCountsHeading(TextOut& out, bool aborted)
{
    if (aborted) {
        out.Write("\r\n\r\n*** PROCESSING WAS ABORTED VIA USER ACTION ***\r\n");
    }
    out.Write("\r\n\r\n----------------\r\nTrawlit Counts:\r\n----------------\r\n\r\n");
}

void WriteCountLine(TextOut& out, Counter counter, std::int64_t value)
{
    out.Write(LabelledLine(CounterCaption(counter), std::to_string(value)) + "\r\n");
}

} // namespace

void WriteTrailer(TextOut& out, bool aborted, const RunCounters& counters)
{
    WriteCountsHeading(out, aborted);
    WriteCountLine(out, Counter::TotalFileCount, counters.TotalFileCount);
    WriteCountLine(out, Counter::FileFoundCount, counters.FileFoundCount);
    WriteCountLine(out, Counter::MatchCount, counters.MatchCount);
}

void WriteTotalFilesTrailer(TextOut& out, bool aborted, std::int64_t totalFileCount)
{
    WriteCountsHeading(out, aborted);
    WriteCountLine(out, Counter::TotalFileCount, totalFileCount);
}

void ReportWriteFailure(Dialogs& dialogs, const PlatformError& error, const std::string& path)
{
    dialogs.MsgBox("Unable to write the results file \r\n\r\n" + path + "\r\n\r\n"
            + "Run-time error '" + std::to_string(error.number) + "': " + error.description
            + "\r\n\r\nThe file is incomplete.",
        MsgBoxCode::Critical, "File Write Error");
}

} // namespace trawlit
