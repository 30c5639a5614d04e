#pragma once

namespace trawlit {

struct LocalDateTime {
    int year = 2000; // four digits
    int month = 1; // 1 to 12
    int day = 1;
    int hour = 0;
    int minute = 0;
};

// The two clocks a run reads.
class Clock {
public:
    virtual ~Clock() = default;
    // Seconds from an arbitrary start that never goes back (yield timing).
    virtual double MonotonicSeconds() = 0;
    // The local wall-clock time (header lines).
    virtual LocalDateTime Now() = 0;
};

} // namespace trawlit
