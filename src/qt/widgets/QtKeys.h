#pragma once

#include <QKeyEvent>

namespace trawlit {

// The shift state the windows' key handlers compare: Shift, Ctrl and Alt, nothing else (a
// keypad key or the Meta key must not change what a key means).
inline Qt::KeyboardModifiers ShiftState(const QKeyEvent& key)
{
    return key.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
}

// Ctrl+Q with Ctrl alone: the windows' close key.
inline bool IsCtrlQ(const QKeyEvent& key)
{
    return key.key() == Qt::Key_Q && ShiftState(key) == Qt::ControlModifier;
}

} // namespace trawlit
