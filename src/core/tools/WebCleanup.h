#pragma once

#include "core/run/RunPorts.h"
#include "core/run/RunResult.h"

namespace trawlit {

// Web Chr Cleanup: for every file the template admits whose text holds characters a web page
// cannot hold as they are, a cleaned copy beside it under its name with "2" appended, the
// characters replaced by HTML entities or dropped. The results file lists each file and the
// characters dropped from it; the files themselves are never changed.
RunResult RunWebCleanup(RunPorts ports);

} // namespace trawlit
