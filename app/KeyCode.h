#pragma once
// Key codes handed to HandleDebugKey and the widgets: Windows virtual-key codes.

namespace Lumo {

enum class KeyCode : int
{
    Back = 0x08,
    Tab = 0x09,
    Return = 0x0D,
    Shift = 0x10,
    Control = 0x11,
    Menu = 0x12,
    Pause = 0x13,
    Escape = 0x1B,
    Space = 0x20,
    Left = 0x25,
    Up = 0x26,
    Right = 0x27,
    Down = 0x28,
    Delete = 0x2E,
    D = 0x44,
    F1 = 0x70,
};

} // namespace Lumo
