#pragma once

namespace trawlit {

// Ctrl-C, SIGTERM and SIGHUP ask the run to stop, like the window's Abort: the run closes its
// results file properly and the program exits with status 3. A second such signal, or any
// other signal that ends a program, ends it at once, but never leaves a cleaned copy's
// temporary file behind. A closed pipe is a failed write, not a reason to die.
void InstallStopHandlers();

} // namespace trawlit
