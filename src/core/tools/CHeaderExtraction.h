#pragma once

#include "core/run/RunPorts.h"
#include "core/run/RunResult.h"

namespace trawlit {

// Extract C headers: for every file the template admits, its path below the root and its
// lines from the top, TAB-indented and trimmed of blanks, up to and including the first line
// that begins with "*/" or "#i".
RunResult RunCHeaderExtraction(const RunInputs& inputs, RunPorts ports);

} // namespace trawlit
