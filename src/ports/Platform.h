#pragma once

#include "ports/Clock.h"
#include "ports/EventPump.h"
#include "ports/FileSystem.h"

namespace trawlit {

// The operating-system services a run leans on, one port per role, so that each part of the
// core (and each test) takes only the roles it uses.
struct Platform {
    FileSystem& fileSystem;
    Clock& clock;
    EventPump& events;
};

} // namespace trawlit
