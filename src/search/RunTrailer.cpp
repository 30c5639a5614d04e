#include "search/RunTrailer.h"

#include "dialogs/Dialogs.h"
#include "search/OutputHeader.h"
#include "search/ResultsWriter.h"

namespace trawlit {

void WriteTrailer(
    MainWindowPort& window, ResultsWriter& writer, bool aborted, const RunCounters& counters)
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
    auto countLine = [&](Counter counter, std::int64_t value) {
        writer.WriteLine(LabelledLine(window.CounterHeaderCaption(counter), std::to_string(value)));
    };
    countLine(Counter::TotalFileCount, counters.TotalFileCount);
    countLine(Counter::FileFoundCount, counters.FileFoundCount);
    countLine(Counter::MatchCount, counters.MatchCount);
}

void ReportWriteFailure(Dialogs& dialogs, const PlatformError& error, const std::string& path)
{
    dialogs.MsgBox("Unable to write the results file \r\n\r\n" + path + "\r\n\r\n"
            + "Run-time error '" + std::to_string(error.number) + "': " + error.description
            + "\r\n\r\nThe file is incomplete.",
        MsgBoxCode::Critical, "File Write Error");
}

} // namespace trawlit
