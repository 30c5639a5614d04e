#pragma once

#include "core/run/RunPorts.h"
#include "core/run/RunResult.h"

namespace trawlit {

class SearchPrinter;

// Where the files are read and matched: with no workers, on the run's own thread between the
// walk's steps; else on `workers` threads while the run's thread walks and writes, and reads
// too while it would wait, when `runReadsToo` (never for a window, whose thread must not stay
// inside a file). The results file, messages and counters come out exactly the same.
struct SearchThreads {
    int workers = 0;
    bool runReadsToo = false;
};

// The string search started by Start Search: refuses a blank text to find, walks the tree,
// writes the results file through `printer` (the results file's own layout when null), and
// ends with its closing message or the output-file dialog.
RunResult RunStringSearch(const RunInputs& inputs, RunPorts ports, SearchPrinter* printer = nullptr,
    SearchThreads threads = {});

} // namespace trawlit
