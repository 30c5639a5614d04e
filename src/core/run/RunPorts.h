#pragma once

#include "ports/Platform.h"

namespace trawlit {

class Dialogs;
class FileRoutines;
class MainWindowPort;

// The ports a run works through.
struct RunPorts {
    MainWindowPort& window;
    Platform platform;
    Dialogs& dialogs;
    FileRoutines& files;
};

} // namespace trawlit
