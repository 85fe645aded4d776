#pragma once
// The input the application accepts, records and replays. No screen is as large
// as kMaxInputPosition and a pointer dragged off the window stays well inside
// it, so a position beyond it is pulled in: every widget's arithmetic on a
// position stays far from overflow, and a recorded demo holds only what its
// reader accepts.
#include "platform/Input.h"

#include <algorithm>
#include <cstdint>

namespace Lumo {

constexpr int32_t kMaxInputPosition = 1 << 16;
// Click counts a demo may hold: 1 single, 2 double; 0 and 3 are left for
// hand-made and other input. The application itself applies 0..2.
constexpr int32_t kMaxDemoClickCount = 3;
constexpr uint32_t kMaxInputCodePoint = 0x10FFFF;

inline int32_t BoundInputPosition(int32_t value)
{
    return std::clamp(value, -kMaxInputPosition, kMaxInputPosition);
}

// The event as the application applies it: positions within the bound, a
// click count of 0..2, a known button, a Unicode character.
inline Platform::InputEvent BoundInput(const Platform::InputEvent& raw)
{
    Platform::InputEvent event = raw;
    event.x = BoundInputPosition(event.x);
    event.y = BoundInputPosition(event.y);
    event.clickCount = std::clamp(event.clickCount, 0, 2);
    if (event.button < Platform::MOUSE_LEFT || event.button > Platform::MOUSE_MIDDLE)
        event.button = Platform::MOUSE_LEFT;
    if (event.ch > kMaxInputCodePoint)
        event.ch = 0xFFFD; // the replacement character
    return event;
}

} // namespace Lumo
