#pragma once

#include "ports/Platform.h"

namespace trawlit {

// When a run lets the window handle its messages: every 3 seconds on a monotonic clock (the
// time of day would go back at midnight and stop the yields), and after a name when input
// waits.
class RunYields {
public:
    explicit RunYields(Platform& platform)
        : platform_(platform)
        , lastYield_(platform.MonotonicSeconds())
    {
    }
    void TimedYield()
    {
        double now = platform_.MonotonicSeconds();
        if (now > lastYield_ + kYieldSeconds) {
            lastYield_ = now;
            platform_.DoEvents();
        }
    }
    void InputPendingYield()
    {
        if (platform_.InputPending()) {
            platform_.DoEvents();
        }
    }

private:
    static constexpr double kYieldSeconds = 3.0;
    Platform& platform_;
    double lastYield_;
};

} // namespace trawlit
