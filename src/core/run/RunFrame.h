#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/files/FileRoutines.h"

namespace trawlit {

class MainWindowPort;
struct RunPorts;

// Creates (or replaces) the results file. When it cannot be, tells the user why in the file
// routines' words and returns nothing: the run must end without writing anything.
std::optional<std::int16_t> CreateResultsFile(
    RunPorts ports, const std::string& path, std::int16_t openType = OpenType::SequentialOutput);

// Counters hidden, run buttons shown, panel enabled: the window is idle again.
void ReturnToIdle(MainWindowPort& window);

// "PROCESS WAS ABORTED" and a blank line when aborted, then "7 files searched." and a blank
// line: how every run that reads files begins its closing message.
std::string FilesSearchedMessage(bool aborted, std::int64_t totalFileCount);

} // namespace trawlit
