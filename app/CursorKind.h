#pragma once
// The cursors a widget can ask the application for. The game hides the system
// cursor (Hidden) and draws its own.

namespace Lumo {

enum class CursorKind : int
{
    Pointer = 0,
    Hand = 1,
    Dragging = 2,
    Text = 3,
    CircleSlash = 4,
    SizeAll = 5,
    SizeNESW = 6,
    SizeNS = 7,
    SizeNWSE = 8,
    SizeWE = 9,
    Wait = 10,
    Hidden = 11,
    Custom = 12,
    Count = 13,
};

} // namespace Lumo
