#pragma once

namespace trawlit {

// The window's handling: every signal that ends a program by default still ends it, but first
// removes the temporary file of a cleaned copy being written.
void EndSignalsRemoveCopyInTheMaking();

// The console's handling: the window's, and SIGINT, SIGTERM and SIGHUP ask the run to stop
// like the window's Abort, so that it closes its results file with the abort line and its
// totals; a second one ends the program at once. A closed pipe ends it at once, quietly.
void InstallConsoleSignals();

// The stop signal that asked the run to stop; 0 while none did. The console's Abort button.
int StopSignalReceived();

// Ends the program by `signal` with its default action: a shell stops a loop around a program
// that died by SIGINT, not one that exited on its own.
[[noreturn]] void EndBySignal(int signal);

} // namespace trawlit
