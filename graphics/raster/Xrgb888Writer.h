#pragma once
// Pixel writes into 32-bit XRGB destinations: alpha is always written 0xFF.
#include <cstddef>
#include <cstdint>

#include "graphics/raster/FixedPoint.h"

namespace Lumo {

struct Xrgb888Writer
{
    using Pixel = uint32_t;

    static size_t RowBytes(int pitch) { return (static_cast<uint32_t>(pitch) >> 2) * 4u; }

    static void Opaque(Pixel* pixel, uint32_t rgb) { *pixel = rgb | 0xFF000000u; }

    // Each channel: ((d * (255 - a)) >> 8) + term; the sum stays within 8 bits.
    static void Blend(Pixel* pixel, uint32_t term, uint32_t a)
    {
        *pixel = (ScaleChannels(*pixel, 255 - a) + (term & 0x00FFFFFFu)) | 0xFF000000u;
    }
};

} // namespace Lumo
