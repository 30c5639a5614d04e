#pragma once

#include "core/run/RunPorts.h"
#include "core/run/RunResult.h"

namespace trawlit {

class CleanedCopies;

// Web Chr Cleanup: for every file the template admits whose text holds characters a web page
// cannot hold as they are, a cleaned copy beside it under its name with "2" appended, the
// characters replaced by HTML entities or dropped. The results file lists each file and the
// characters dropped from it; the files themselves are never changed, and neither is anything
// at a copy's name that is not a copy this program wrote.
RunResult RunWebCleanup(const RunInputs& inputs, RunPorts ports, CleanedCopies& copies);

} // namespace trawlit
