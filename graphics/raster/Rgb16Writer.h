#pragma once
// Pixel writes into 16-bit destinations, RGB565 or RGB555 (bit 15 always
// written 0). Opaque writes truncate each channel; a blend weighs the
// destination with a 5-bit weight and adds the packed source term.
#include <cstddef>
#include <cstdint>

namespace Lumo {

template <bool Is565>
struct Rgb16Writer
{
    using Pixel = uint16_t;

    // Red and blue fields, and the green field, of a pixel.
    static constexpr uint32_t kRedBlueMask = Is565 ? 0xF81Fu : 0x7C1Fu;
    static constexpr uint32_t kGreenMask = Is565 ? 0x07E0u : 0x03E0u;

    static size_t RowBytes(int pitch) { return (static_cast<uint32_t>(pitch) >> 1) * 2u; }

    // 0x..RRGGBB to the pixel layout, each channel keeping its top bits.
    static constexpr uint32_t Pack(uint32_t c)
    {
        if constexpr (Is565)
            return ((c >> 8) & 0xF800u) | ((c >> 5) & 0x07E0u) | ((c >> 3) & 0x001Fu);
        else
            return ((c >> 9) & 0x7C00u) | ((c >> 6) & 0x03E0u) | ((c >> 3) & 0x001Fu);
    }

    static void Opaque(Pixel* pixel, uint32_t rgb) { *pixel = static_cast<Pixel>(Pack(rgb)); }

    // term: the source channels already weighted by a (0x00RRGGBB).
    static void Blend(Pixel* pixel, uint32_t term, uint32_t a)
    {
        const uint32_t d = *pixel;
        const uint32_t w = (255 - a) >> 3;
        const uint32_t x = ((d & kRedBlueMask) * w) >> 5;
        const uint32_t y = ((d & kGreenMask) * w) >> 5;
        const uint32_t destination = (x & ~kGreenMask) | (y & kGreenMask);
        *pixel = static_cast<Pixel>(destination + Pack(term));
    }
};

using Rgb565Writer = Rgb16Writer<true>;
using Rgb555Writer = Rgb16Writer<false>;

} // namespace Lumo
