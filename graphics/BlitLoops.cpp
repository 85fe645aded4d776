#include "graphics/BlitLoops.h"

#include <cmath>

namespace Lumo::BlitLoops {

void FillRect(const PixelView& dest, const Rect& rect, const Color& color, DrawMode mode, PixelFormatCode format)
{
    const uint32_t s = color.ToInt();
    const uint32_t a = s >> 24;
    if (a == 0u)
        return;
    if (mode == DRAWMODE_NORMAL && a == 255u)
    {
        for (int row = 0; row < rect.mHeight; ++row)
        {
            uint32_t* d = dest.Row(rect.mY + row) + rect.mX;
            std::fill(d, d + rect.mWidth, s);
        }
        return;
    }
    if (mode == DRAWMODE_NORMAL)
    {
        for (int row = 0; row < rect.mHeight; ++row)
        {
            uint32_t* d = dest.Row(rect.mY + row) + rect.mX;
            if (format == PIXEL_FORMAT_888)
                PixelOps::BlendSpanConstant<PixelOps::DestXrgb>(d, s, rect.mWidth);
            else
                PixelOps::BlendSpanConstant<PixelOps::DestArgb>(d, s, rect.mWidth);
        }
        return;
    }
    std::vector<uint32_t> span(static_cast<size_t>(rect.mWidth), s);
    WithWriter(format, mode, Color::White, [&](const auto& write) {
        for (int row = 0; row < rect.mHeight; ++row)
            write(dest.Row(rect.mY + row) + rect.mX, span.data(), rect.mWidth);
    });
}

std::vector<FilterTap> FilterMap(int first, int count, int destSize, int srcSize, bool mirror)
{
    std::vector<FilterTap> map(static_cast<size_t>(std::max(count, 0)));
    const double scale = static_cast<double>(srcSize) / static_cast<double>(destSize);
    for (int i = 0; i < count; ++i)
    {
        int j = first + i;
        if (mirror)
            j = destSize - 1 - j;
        // Source position of the destination pixel's centre, in pixel-centre units.
        double pos = (j + 0.5) * scale - 0.5;
        pos = std::clamp(pos, 0.0, static_cast<double>(srcSize - 1));
        int i0 = static_cast<int>(pos);
        FilterTap& tap = map[static_cast<size_t>(i)];
        tap.i0 = i0;
        tap.i1 = std::min(i0 + 1, srcSize - 1);
        tap.w1 = static_cast<uint32_t>(std::lround((pos - i0) * 256.0));
        if (tap.w1 >= 256u)
        {
            tap.i0 = tap.i1;
            tap.w1 = 0u;
        }
    }
    return map;
}

uint32_t FilterPixel(uint32_t p00, uint32_t p10, uint32_t p01, uint32_t p11, uint32_t wx, uint32_t wy)
{
    const uint32_t w[4] = {(256u - wx) * (256u - wy), wx * (256u - wy), (256u - wx) * wy, wx * wy};
    const uint32_t p[4] = {p00, p10, p01, p11};
    uint64_t alpha = 0, red = 0, green = 0, blue = 0;
    for (int k = 0; k < 4; ++k)
    {
        uint64_t wa = static_cast<uint64_t>(w[k]) * (p[k] >> 24);
        alpha += wa;
        red += wa * ((p[k] >> 16) & 0xFF);
        green += wa * ((p[k] >> 8) & 0xFF);
        blue += wa * (p[k] & 0xFF);
    }
    if (alpha == 0)
        return 0u;
    uint32_t a = static_cast<uint32_t>((alpha + 32768u) >> 16);
    uint32_t r = static_cast<uint32_t>((red + alpha / 2) / alpha);
    uint32_t g = static_cast<uint32_t>((green + alpha / 2) / alpha);
    uint32_t b = static_cast<uint32_t>((blue + alpha / 2) / alpha);
    return (a << 24) | (r << 16) | (g << 8) | b;
}

} // namespace Lumo::BlitLoops
