#pragma once
// Input events as the platform delivers them to the application: positions in
// window pixels, keys as Windows virtual-key codes.
#include <cstdint>

namespace Lumo::Platform {

enum class EventType
{
    MouseMove,
    MouseDown,
    MouseUp,
    MouseWheel,
    KeyDown,
    KeyUp,
    KeyChar,     // a typed character (ch)
    Quit,        // the window's close button
    FocusGained,
    FocusLost,
    MouseLeave,
};

enum MouseButton : int
{
    MOUSE_LEFT = 0,
    MOUSE_RIGHT = 1,
    MOUSE_MIDDLE = 2,
};

struct InputEvent
{
    EventType type = EventType::MouseMove;
    int x = 0;
    int y = 0;
    int button = MOUSE_LEFT;  // MouseDown / MouseUp
    int clickCount = 1;       // MouseDown: 1 single, 2 double click
    int wheel = 0;            // MouseWheel: notches, positive away from the user
    int keyCode = 0;          // KeyDown / KeyUp: Windows virtual-key code
    uint32_t ch = 0;          // KeyChar: Unicode code point
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
};

// Windows virtual-key codes used by the framework.
namespace VirtualKey {
constexpr int Back = 0x08, Tab = 0x09, Return = 0x0D, Shift = 0x10, Control = 0x11, Menu = 0x12;
constexpr int Pause = 0x13, Escape = 0x1B, Space = 0x20, Prior = 0x21, Next = 0x22, End = 0x23;
constexpr int Home = 0x24, Left = 0x25, Up = 0x26, Right = 0x27, Down = 0x28, Insert = 0x2D, Delete = 0x2E;
constexpr int F1 = 0x70; // F1..F12 follow
} // namespace VirtualKey

} // namespace Lumo::Platform
