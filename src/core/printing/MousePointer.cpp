#include "core/printing/MousePointer.h"

namespace trawlit {

void MousePointerStack::MousePointerPush()
{
    const PointerCode current = screen_.Pointer();
    ++depth_;
    if (depth_ <= kRemembered)
        saved_[static_cast<std::size_t>(depth_)] = current;
    if (current != PointerCode::Hourglass) {
        screen_.SetPointer(PointerCode::Hourglass);
        screen_.ShowPointerChange();
    }
}

void MousePointerStack::MousePointerPop()
{
    PointerCode previous = PointerCode::Default;
    if (depth_ > kRemembered)
        previous = saved_[kRemembered];
    else if (depth_ >= 1)
        previous = saved_[static_cast<std::size_t>(depth_)];
    --depth_;
    if (depth_ > 0) {
        if (screen_.Pointer() != previous) {
            screen_.SetPointer(previous);
            screen_.ShowPointerChange();
        }
        return;
    }
    // The outermost pop (or one too many) always settles the pointer.
    depth_ = 0;
    screen_.SetPointer(previous);
    screen_.ShowPointerChange();
}

} // namespace trawlit
