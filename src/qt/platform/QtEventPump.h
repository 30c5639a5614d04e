#pragma once

#include <chrono>

#include "ports/EventPump.h"

namespace trawlit {

// The window's message queue on Qt. Qt cannot cheaply ask whether input waits, so input
// counts as pending once 50 ms have passed since the last DoEvents.
class QtEventPump : public EventPump {
public:
    bool InputPending() override;
    void DoEvents() override;

private:
    std::chrono::steady_clock::time_point lastEvents_ = std::chrono::steady_clock::now();
};

} // namespace trawlit
