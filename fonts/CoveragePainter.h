#pragma once
// Painting text coverage onto 32-bit pixels, and turning a text rendered over
// white and over black into one transparent image. Used by SysFont.
#include <algorithm>
#include <cstdint>

#include "graphics/PixelOps.h"
#include "graphics/Rect.h"
#include "platform/text/CoverageBitmap.h"

namespace Lumo::CoveragePainter {

// Paints the colour rgb (0xRRGGBB) through the coverage, its top-left at
// (x, y), onto pixels (rows pitchPixels words apart), only inside clip, which
// must lie inside the pixels. Each covered pixel is written by the writer
// (a PixelOps::PixelWriter) with the coverage as the source alpha.
template <class Writer>
void Paint(uint32_t* pixels, int pitchPixels, const Rect& clip, const Platform::CoverageBitmap& coverage, int x,
           int y, uint32_t rgb, const Writer& writer)
{
    const Rect area = clip.Intersection(Rect(x, y, coverage.GetWidth(), coverage.GetHeight()));
    if (area.IsEmpty())
        return;
    rgb &= 0x00FFFFFFu;
    for (int row = area.mY; row < area.Bottom(); ++row)
    {
        uint32_t* line = pixels + static_cast<ptrdiff_t>(row) * pitchPixels;
        for (int column = area.mX; column < area.Right(); ++column)
        {
            const uint32_t value = coverage.At(column - x, row - y);
            if (value != 0)
                writer(line[column], (value << 24) | rgb);
        }
    }
}

// Blends the source's colour over an opaque pixel by the source's alpha,
// exactly (d x (255 - a) + s x a) / 255 rounded, as system text output does
// on a plain bitmap: full coverage gives the colour itself.
struct OpaqueTextWriter
{
    void operator()(uint32_t& d, uint32_t s) const
    {
        const uint32_t a = s >> 24;
        uint32_t out = 0xFF000000u;
        for (int shift = 0; shift <= 16; shift += 8)
        {
            const uint32_t dc = (d >> shift) & 0xFF;
            const uint32_t sc = (s >> shift) & 0xFF;
            out |= ((dc * (255 - a) + sc * a + 127) / 255) << shift;
        }
        d = out;
    }
};

// One pixel of a text drawn over opaque white and over opaque black (alpha
// bytes ignored): equal sides are that colour, opaque; white over black is
// transparent; otherwise each channel's alpha is black - white + 255 and the
// channel black x 255 / that alpha, the pixel's alpha the smallest channel
// alpha. A channel whose alpha is 0 (no ink in that channel while another has
// some) gives 0 and does not take part in the smallest alpha.
inline uint32_t CombineSides(uint32_t white, uint32_t black)
{
    white &= 0x00FFFFFFu;
    black &= 0x00FFFFFFu;
    if (white == black)
        return white | 0xFF000000u;
    if (white == 0x00FFFFFFu && black == 0)
        return 0;
    uint32_t result = 0;
    int alpha = 255;
    for (int shift = 0; shift <= 16; shift += 8)
    {
        const int w = static_cast<int>((white >> shift) & 0xFF);
        const int b = static_cast<int>((black >> shift) & 0xFF);
        const int channelAlpha = std::clamp(b - w + 255, 0, 255);
        if (channelAlpha == 0)
            continue;
        const int channel = std::min(255, b * 255 / channelAlpha);
        result |= static_cast<uint32_t>(channel) << shift;
        alpha = std::min(alpha, channelAlpha);
    }
    return result | (static_cast<uint32_t>(alpha) << 24);
}

} // namespace Lumo::CoveragePainter
