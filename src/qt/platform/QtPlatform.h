#pragma once

#include <chrono>

#include "platform/PosixPlatform.h"

namespace trawlit {

// The POSIX platform with the window's message queue: Qt cannot cheaply ask whether input
// waits, so input counts as pending once 50 ms have passed since the last DoEvents.
class QtPlatform : public PosixPlatform {
public:
    bool InputPending() override;
    void DoEvents() override;

private:
    std::chrono::steady_clock::time_point lastEvents_ = std::chrono::steady_clock::now();
};

} // namespace trawlit
