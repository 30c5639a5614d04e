#pragma once

#include "core/run/RunPorts.h"
#include "core/run/RunResult.h"
#include "core/searchrun/WalkOrderCommit.h"

namespace trawlit {

class SearchPrinter;

// The string search started by Start Search: refuses a blank text to find, walks the tree,
// writes the results file through `printer` (the results file's own layout when null), and
// ends with its closing message or the output-file dialog.
RunResult RunStringSearch(const RunInputs& inputs, RunPorts ports, SearchPrinter* printer = nullptr,
    SearchThreads threads = {});

} // namespace trawlit
