#include "core/run/RunTrailer.h"

#include "ports/Dialogs.h"
#include "core/run/OutputHeader.h"
#include "core/run/ResultsWriter.h"

namespace trawlit {

namespace {

// The abort line when aborted, then the heading of the counts block.
void WriteCountsHeading(ResultsWriter& writer, bool aborted)
{
    if (aborted) {
        writer.Write("\r\n\r\n");
        writer.WriteLine("*** PROCESSING WAS ABORTED VIA USER ACTION ***");
    }
    writer.Write("\r\n\r\n");
    writer.WriteLine("----------------");
    writer.WriteLine("Trawlit Counts:");
    writer.WriteLine("----------------");
    writer.Write("\r\n");
}

void WriteCountLine(
    MainWindowPort& window, ResultsWriter& writer, Counter counter, std::int64_t value)
{
    writer.WriteLine(LabelledLine(window.CounterHeaderCaption(counter), std::to_string(value)));
}

} // namespace

void WriteTrailer(
    MainWindowPort& window, ResultsWriter& writer, bool aborted, const RunCounters& counters)
{
    WriteCountsHeading(writer, aborted);
    WriteCountLine(window, writer, Counter::TotalFileCount, counters.TotalFileCount);
    WriteCountLine(window, writer, Counter::FileFoundCount, counters.FileFoundCount);
    WriteCountLine(window, writer, Counter::MatchCount, counters.MatchCount);
}

void WriteTotalFilesTrailer(
    MainWindowPort& window, ResultsWriter& writer, bool aborted, std::int64_t totalFileCount)
{
    WriteCountsHeading(writer, aborted);
    WriteCountLine(window, writer, Counter::TotalFileCount, totalFileCount);
}

void ReportWriteFailure(Dialogs& dialogs, const PlatformError& error, const std::string& path)
{
    dialogs.MsgBox("Unable to write the results file \r\n\r\n" + path + "\r\n\r\n"
            + "Run-time error '" + std::to_string(error.number) + "': " + error.description
            + "\r\n\r\nThe file is incomplete.",
        MsgBoxCode::Critical, "File Write Error");
}

} // namespace trawlit
