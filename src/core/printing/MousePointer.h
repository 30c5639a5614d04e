#pragma once

#include <array>
#include <cstdint>

namespace trawlit {

namespace PointerCode {
inline constexpr std::int16_t Default = 0;
inline constexpr std::int16_t Arrow = 1;
inline constexpr std::int16_t Hourglass = 11;
} // namespace PointerCode

// The screen's mouse pointer, by code.
class ScreenPointer {
public:
    virtual ~ScreenPointer() = default;
    virtual std::int16_t Pointer() = 0;
    virtual void SetPointer(std::int16_t code) = 0;
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
    std::array<std::int16_t, kRemembered + 1> saved_ {}; // 1 to 20 used
};

} // namespace trawlit
