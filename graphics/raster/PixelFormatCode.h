#pragma once
// Destination pixel formats the triangle fillers can write. Any other value is
// drawn as PIXEL_FORMAT_8888.

namespace Lumo {

enum PixelFormatCode : int
{
    PIXEL_FORMAT_8888 = 0x8888, // 32-bit ARGB, alpha composited
    PIXEL_FORMAT_888 = 0x888,   // 32-bit XRGB, written with alpha 0xFF
    PIXEL_FORMAT_565 = 0x565,   // 16-bit RGB565
    PIXEL_FORMAT_555 = 0x555,   // 16-bit RGB555, bit 15 always written 0
};

} // namespace Lumo
