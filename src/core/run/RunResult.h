#pragma once

#include <cstdint>
#include <string>

#include "ports/SearchOptions.h"

namespace trawlit {

enum class RunStatus : std::uint8_t {
    Refused, // bad input: nothing was written
    Failed, // the results file could not be created or written completely
    NoMatch, // results file written, nothing found
    Found, // results file written with at least one match
    Done, // a batch tool's results file written and handed to the output-file dialog
};

struct RunResult {
    RunStatus status = RunStatus::Refused;
    bool aborted = false;
    RunCounters counters;
    std::int64_t foldersNotRead = 0;
    std::int64_t filesNotRead = 0; // not opened, or not read to their end
    std::int64_t copiesNotWritten = 0; // the web cleanup's copies that could not be written
    std::string closingMessage;
    std::string outputPathname;
};

} // namespace trawlit
