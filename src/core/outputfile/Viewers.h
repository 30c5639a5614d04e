#pragma once

#include <cstdint>
#include <string>

#include "ports/ViewerPorts.h"

namespace trawlit {

inline constexpr const char* kDefaultSmallFileViewer = "NOTEPAD.EXE";
inline constexpr const char* kDefaultLargeFileViewer = "WRITE.EXE";
// A file is large when it holds more bytes than this.
inline constexpr std::int32_t LargeFileThreshold = 60000;

// The viewer programs for files up to LargeFileThreshold bytes and for larger ones: a program
// name or path, optionally followed by its own arguments. They last while the program runs
// and are never stored.
extern std::string SmallFileViewer;
extern std::string LargeFileViewer;

// Sets both viewers to their defaults.
void SetDefaultViewers();

// Returns whether `path` names an existing file; when it does not, first tells the user
// "Unable to find <kind>." and the path.
bool FindFile(
    const std::string& path, const std::string& kind, FileRoutines& files, Dialogs& dialogs);

// Shows the file to the user without waiting: rich text and web pages through the desktop,
// other files in the small- or large-file viewer by their length. Failures are reported to
// the user, never returned.
void ViewFile(const std::string& path, ViewerPorts ports);

} // namespace trawlit
