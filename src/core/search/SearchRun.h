#pragma once

#include <cstdint>
#include <string>

#include "ports/MainWindowPort.h"
#include "ports/Platform.h"

namespace trawlit {

class Dialogs;
class FileRoutines;
class MainWindowPort;

// The ports a run works through.
struct RunPorts {
    MainWindowPort& window;
    Platform platform;
    Dialogs& dialogs;
    FileRoutines& files;
};

enum class RunStatus : std::uint8_t {
    Refused, // bad input: nothing was written
    Failed, // the results file could not be created or written completely
    NoMatch, // results file written, nothing found
    Found, // results file written with at least one match
    Done, // a batch tool's results file written and handed to the output-file dialog
};

struct SearchResult {
    RunStatus status = RunStatus::Refused;
    bool aborted = false;
    RunCounters counters;
    std::string closingMessage;
    std::string outputPathname;
};

// The string search started by Start Search: checks and records the inputs, walks the tree,
// writes the results file, and ends with its closing message or the output-file dialog.
SearchResult RunStringSearch(RunPorts ports);

} // namespace trawlit
