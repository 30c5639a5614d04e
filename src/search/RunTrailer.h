#pragma once

#include <string>

#include "mainwindow/MainWindowPort.h"
#include "util/Platform.h"

namespace trawlit {

class Dialogs;
class ResultsWriter;

// The abort line when aborted, then the "Trawlit Counts:" block with the three counters
// under their window captions.
void WriteTrailer(
    MainWindowPort& window, ResultsWriter& writer, bool aborted, const RunCounters& counters);

// Tells the user that the results file could not be written completely, and why.
void ReportWriteFailure(Dialogs& dialogs, const PlatformError& error, const std::string& path);

} // namespace trawlit
