#pragma once

#include <deque>
#include <functional>

#include "fakes/FakeFileSystem.h"
#include "ports/Platform.h"

namespace trawlit::fakes {

// MonotonicSeconds returns `clock`, then adds `clockStep`; Now returns `now`.
class FakeClock : public Clock {
public:
    double clock = 0.0;
    double clockStep = 0.0;
    LocalDateTime now;

    double MonotonicSeconds() override
    {
        double value = clock;
        clock += clockStep;
        return value;
    }
    LocalDateTime Now() override { return now; }
};

// InputPending answers from `pendingAnswers` first, then `inputPendingDefault`; DoEvents runs
// `onDoEvents`. Both count their calls.
class FakeEventPump : public EventPump {
public:
    std::deque<bool> pendingAnswers;
    bool inputPendingDefault = false;
    std::function<void()> onDoEvents;
    int inputPendingCalls = 0;
    int doEventsCalls = 0;

    bool InputPending() override
    {
        ++inputPendingCalls;
        if (!pendingAnswers.empty()) {
            bool answer = pendingAnswers.front();
            pendingAnswers.pop_front();
            return answer;
        }
        return inputPendingDefault;
    }
    void DoEvents() override
    {
        ++doEventsCalls;
        if (onDoEvents) {
            onDoEvents();
        }
    }
};

// All three fakes in one, for a whole run.
class FakePlatform : public FakeFileSystem, public FakeClock, public FakeEventPump {
public:
    Platform AsPlatform() { return { *this, *this, *this }; }
};

} // namespace trawlit::fakes
