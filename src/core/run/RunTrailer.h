#pragma once

#include <string>

#include "ports/FileSystem.h"
#include "ports/SearchOptions.h"

namespace trawlit {

class Dialogs;
class TextOut;

// The abort line when aborted, then the "Trawlit Counts:" block with the three counters
// under the captions of their labels.
void WriteTrailer(TextOut& out, bool aborted, const RunCounters& counters);

// The same for a run that counts files only: the block holds the total-files line alone.
void WriteTotalFilesTrailer(TextOut& out, bool aborted, std::int64_t totalFileCount);

// Tells the user that the results file could not be written completely, and why.
void ReportWriteFailure(Dialogs& dialogs, const PlatformError& error, const std::string& path);

} // namespace trawlit
