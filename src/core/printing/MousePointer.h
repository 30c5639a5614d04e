#pragma once

#include <array>
#include <cstdint>

namespace trawlit {

enum class PointerCode : std::int16_t {
    Default = 0, // whatever the window under it shows
    Arrow = 1,
    Cross = 2,
    IBeam = 3,
    Hourglass = 11,
    ArrowHourglass = 13,
};

// The screen's mouse pointer, by code.
class ScreenPointer {
public:
    virtual ~ScreenPointer() = default;
    virtual PointerCode Pointer() = 0;
    virtual void SetPointer(PointerCode code) = 0;
    // Lets pending window messages through so that a change of pointer shows at once.
    virtual void ShowPointerChange() = 0;
};

// Nested busy pointers: each push shows the hourglass and remembers what showed before, each
// pop puts back what its push found. Twenty levels are remembered; deeper pushes are counted
// and pop back to the twentieth.
class MousePointerStack {
public:
    explicit MousePointerStack(ScreenPointer& screen)
        : screen_(screen)
    {
    }

    void MousePointerPush();
    void MousePointerPop();
    int Depth() const { return depth_; }

private:
    static constexpr int kRemembered = 20;

    ScreenPointer& screen_;
    int depth_ = 0;
    std::array<PointerCode, kRemembered + 1> saved_ {}; // 1 to 20 used
};

} // namespace trawlit
