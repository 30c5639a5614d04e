#pragma once

#include "ports/Clock.h"
#include "ports/EventPump.h"

namespace trawlit {

// When a run lets the window handle its messages: every 3 seconds on a monotonic clock (the
// time of day would go back at midnight and stop the yields), and after a name when input
// waits.
class RunYields {
public:
    RunYields(Clock& clock, EventPump& events)
        : clock_(clock)
        , events_(events)
        , lastYield_(clock.MonotonicSeconds())
    {
    }
    void TimedYield()
    {
        double now = clock_.MonotonicSeconds();
        if (now > lastYield_ + kYieldSeconds) {
            lastYield_ = now;
            events_.DoEvents();
        }
    }
    void InputPendingYield()
    {
        if (events_.InputPending()) {
            events_.DoEvents();
        }
    }

private:
    static constexpr double kYieldSeconds = 3.0;
    Clock& clock_;
    EventPump& events_;
    double lastYield_;
};

} // namespace trawlit
