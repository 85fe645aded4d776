#pragma once
// The blending rules of all software drawing, in one place. Pixels are
// 0xAARRGGBB words; a source pixel s with alpha a (after tinting) meets a
// destination pixel d:
//
// Tinting (a colour other than opaque white): every channel of the source,
//   alpha included, is multiplied by the colour's: c' = (c * f + 255) >> 8,
//   which keeps c at f = 255 and gives 0 at f = 0.
// Normal mode: a = 0 leaves d; a = 255 writes s with alpha 255; otherwise
//   - 0x888 destination (the screen; its alpha byte is not used):
//       out = ((d * (255 - a)) >> 8) + ((s * a) >> 8) per channel, alpha 255;
//   - 0x8888 destination (a MemoryImage): s is composited over d's own alpha
//     dA: inv = 256 - a, outA = 256 - (((256 - dA) * inv) >> 8),
//       out = ((((d * dA) >> 8) * inv) + (((s * a) >> 8) << 8)) / outA per
//     channel, alpha outA - 1; so drawing into a transparent image keeps the
//     source's transparency, and over an opaque pixel the alpha stays 255.
//   These are the triangle rasteriser's own pixel writers (graphics/raster),
//   so rotated and transformed images blend like the others.
// Additive mode: out = min(255, d + ((s * a + 255) >> 8)) per channel; a
//   0x8888 destination's alpha becomes min(255, dA + a), a 0x888 one's 255.
#include <algorithm>
#include <cstdint>

#include "graphics/Color.h"
#include "graphics/raster/Argb8888Writer.h"
#include "graphics/raster/FixedPoint.h"
#include "graphics/raster/Xrgb888Writer.h"

namespace Lumo::PixelOps {

constexpr uint32_t kAlphaMask = 0xFF000000u;

// c * f / 255 for channels 0..255: exact at f = 0 and f = 255.
constexpr uint32_t Scale(uint32_t c, uint32_t f)
{
    return (c * f + 255u) >> 8;
}

// A tint colour, channels clamped to 0..255.
struct Tint
{
    uint32_t a = 255, r = 255, g = 255, b = 255;

    static Tint From(const Color& color)
    {
        auto clamp = [](int v) { return static_cast<uint32_t>(std::clamp(v, 0, 255)); };
        return Tint{clamp(color.mAlpha), clamp(color.mRed), clamp(color.mGreen), clamp(color.mBlue)};
    }
    // The source pixel multiplied by the tint, alpha included.
    uint32_t Apply(uint32_t s) const
    {
        return (Scale(s >> 24, a) << 24) | (Scale((s >> 16) & 0xFF, r) << 16) | (Scale((s >> 8) & 0xFF, g) << 8) |
               Scale(s & 0xFF, b);
    }
};

// Saturating per-channel add of the source weighted by a (1..255).
constexpr uint32_t AddChannels(uint32_t d, uint32_t s, uint32_t a)
{
    uint32_t r = std::min<uint32_t>(255u, ((d >> 16) & 0xFF) + Scale((s >> 16) & 0xFF, a));
    uint32_t g = std::min<uint32_t>(255u, ((d >> 8) & 0xFF) + Scale((s >> 8) & 0xFF, a));
    uint32_t b = std::min<uint32_t>(255u, (d & 0xFF) + Scale(s & 0xFF, a));
    return (r << 16) | (g << 8) | b;
}

// 0x888: 32-bit XRGB, the alpha byte always written 0xFF.
struct DestXrgb
{
    static constexpr uint32_t Opaque(uint32_t s) { return s | kAlphaMask; }

    // a in 1..254: the rasteriser's 0x888 blend.
    static uint32_t Blend(uint32_t d, uint32_t s, uint32_t a)
    {
        Xrgb888Writer::Blend(&d, ScaleChannels(s & 0x00FFFFFFu, a), a);
        return d;
    }

    static constexpr uint32_t Add(uint32_t d, uint32_t s, uint32_t a) { return kAlphaMask | AddChannels(d, s, a); }
};

// 0x8888: 32-bit ARGB, composited over the destination's alpha.
struct DestArgb
{
    static constexpr uint32_t Opaque(uint32_t s) { return s | kAlphaMask; }

    // a in 1..254: the rasteriser's 0x8888 composite.
    static uint32_t Blend(uint32_t d, uint32_t s, uint32_t a)
    {
        Argb8888Writer::Blend(&d, ScaleChannels(s & 0x00FFFFFFu, a), a);
        return d;
    }

    static constexpr uint32_t Add(uint32_t d, uint32_t s, uint32_t a)
    {
        uint32_t alpha = std::min<uint32_t>(255u, (d >> 24) + a);
        return (alpha << 24) | AddChannels(d, s, a);
    }
};

// Writes one source pixel s over d by the rules above.
template <class Dest, bool Additive, bool Tinted>
struct PixelWriter
{
    Tint tint;

    void operator()(uint32_t& d, uint32_t s) const
    {
        if constexpr (Tinted)
            s = tint.Apply(s);
        uint32_t a = s >> 24;
        if (a == 0u)
            return;
        if constexpr (Additive)
            d = Dest::Add(d, s, a);
        else
            d = a == 255u ? Dest::Opaque(s) : Dest::Blend(d, s, a);
    }
};

} // namespace Lumo::PixelOps
