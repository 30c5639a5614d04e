#pragma once

#include <cstdint>
#include <string>

namespace trawlit {

// The inputs of a run, as values: the window reads them from its controls, the CLI from its
// arguments.
struct SearchOptions {
    std::string SearchStr; // used as entered
    std::string RootFolder; // trimmed of blanks
    std::string FileTemplate; // trimmed of blanks; "*.*" when it was empty
    std::string OutputPathname; // trimmed of blanks
    bool TraverseSubfolders = true;
    bool CaseSensitive = false;
    bool CollapseWhiteSpace = false;
    bool CountsOnly = false;
};

// Counters of a run; -1 passed to HideStuff hides that counter for the run.
struct RunCounters {
    std::int64_t TotalFileCount = 0;
    std::int64_t FileFoundCount = 0;
    std::int64_t MatchCount = 0;
};

} // namespace trawlit
