#pragma once

#include "core/run/RunPorts.h"
#include "core/run/RunResult.h"

namespace trawlit {

// The string search started by Start Search: checks and records the inputs, walks the tree,
// writes the results file, and ends with its closing message or the output-file dialog.
RunResult RunStringSearch(RunPorts ports);

} // namespace trawlit
