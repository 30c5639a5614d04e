#pragma once

namespace trawlit {

// The window's message queue, as a long run sees it: it asks whether input waits and lets the
// window handle it.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual bool InputPending() = 0;
    virtual void DoEvents() = 0;
};

// Without a window there is nothing to wait for.
class NoEventPump final : public EventPump {
public:
    bool InputPending() override { return false; }
    void DoEvents() override { }
};

} // namespace trawlit
