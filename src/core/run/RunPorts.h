#pragma once

#include <utility>

#include "ports/Platform.h"
#include "ports/SearchOptions.h"

namespace trawlit {

class Dialogs;
class FileRoutines;
class RunView;

// The ports a run works through: what it shows (view), what it tells (dialogs), and the files.
struct RunPorts {
    RunView& view;
    Platform platform;
    Dialogs& dialogs;
    FileRoutines& files;
};

// What a run is given. The results-file header names the inputs as the window's boxes show
// them once the histories are recorded: a text that matches an earlier entry but for letter
// case shows that entry's case there, while the run works with what was typed.
struct RunInputs {
    RunInputs(SearchOptions given) // NOLINT(google-explicit-constructor): the usual case
        : options(given)
        , shown(std::move(given))
    {
    }
    RunInputs(SearchOptions given, SearchOptions shownInBoxes)
        : options(std::move(given))
        , shown(std::move(shownInBoxes))
    {
    }
    SearchOptions options;
    SearchOptions shown;
};

} // namespace trawlit
