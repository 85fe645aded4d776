#pragma once
// Pixel writes into 32-bit ARGB destinations: a blend composites over the
// destination's own alpha.
#include <cstddef>
#include <cstdint>

namespace Lumo {

struct Argb8888Writer
{
    using Pixel = uint32_t;

    static size_t RowBytes(int pitch) { return (static_cast<uint32_t>(pitch) >> 2) * 4u; }

    // rgb: 0x..RRGGBB, the top byte ignored.
    static void Opaque(Pixel* pixel, uint32_t rgb) { *pixel = rgb | 0xFF000000u; }

    // term: the source channels already weighted by a (0x00RRGGBB); a: 0..255.
    static void Blend(Pixel* pixel, uint32_t term, uint32_t a)
    {
        const uint32_t d = *pixel;
        const uint32_t dA = d >> 24;
        const uint32_t inv = 256 - a;
        const uint32_t outA = 256 - (((256 - dA) * inv) >> 8);
        if (outA == 0)
            return; // nothing over nothing: leave the pixel as it is
        uint32_t out = (outA - 1) << 24;
        for (int shift = 0; shift <= 16; shift += 8)
        {
            const uint32_t dc = (d >> shift) & 0xFF;
            const uint32_t src = ((term >> shift) & 0xFF) << 8;
            out |= (((((dc * dA) >> 8) * inv) + src) / outA & 0xFF) << shift;
        }
        *pixel = out;
    }
};

} // namespace Lumo
