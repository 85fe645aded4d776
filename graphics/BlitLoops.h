#pragma once
// The pixel loops of all software drawing, templated over the pixel writer
// (destination format, draw mode, tinting: graphics/PixelOps.h), so each
// combination is its own loop without per-pixel tests of the settings.
// Callers pass areas that lie inside both images; nothing here clips except
// the stretches, which visit only the destination pixels inside their clip.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "graphics/Color.h"
#include "graphics/DrawMode.h"
#include "graphics/PixelOps.h"
#include "graphics/PixelSpans.h"
#include "graphics/Rect.h"
#include "graphics/raster/PixelFormatCode.h"

namespace Lumo::BlitLoops {

// Pixels of an image: width x height words, rows without gaps.
struct PixelView
{
    uint32_t* bits = nullptr;
    int width = 0;
    int height = 0;

    uint32_t* Row(int y) const { return bits + static_cast<size_t>(y) * static_cast<size_t>(width); }
};

struct SourceView
{
    const uint32_t* bits = nullptr;
    int width = 0;
    int height = 0;

    const uint32_t* Row(int y) const { return bits + static_cast<size_t>(y) * static_cast<size_t>(width); }
};

// Calls fn(write) with the SpanWriter for the format, mode and tint colour
// (opaque white: untinted); write(d, s, n) puts n source pixels over n
// destination pixels.
template <class Fn>
void WithWriter(PixelFormatCode format, DrawMode mode, const Color& color, Fn&& fn)
{
    using namespace PixelOps;
    const bool tinted = color != Color::White;
    const Tint tint = Tint::From(color);
    auto forDest = [&]<class Dest>() {
        if (mode == DRAWMODE_ADDITIVE)
        {
            if (tinted)
                fn(SpanWriter<Dest, true, true>{{tint}});
            else
                fn(SpanWriter<Dest, true, false>{{tint}});
        }
        else
        {
            if (tinted)
                fn(SpanWriter<Dest, false, true>{{tint}});
            else
                fn(SpanWriter<Dest, false, false>{{tint}});
        }
    };
    if (format == PIXEL_FORMAT_888)
        forDest.template operator()<DestXrgb>();
    else
        forDest.template operator()<DestArgb>();
}

// Fills rect with the colour.
void FillRect(const PixelView& dest, const Rect& rect, const Color& color, DrawMode mode, PixelFormatCode format);

// Copies rows of an opaque source (no tint, normal mode).
inline void CopyRows(const PixelView& dest, int x, int y, const SourceView& src, const Rect& srcRect, bool mirror)
{
    for (int row = 0; row < srcRect.mHeight; ++row)
    {
        const uint32_t* s = src.Row(srcRect.mY + row) + srcRect.mX;
        uint32_t* d = dest.Row(y + row) + x;
        if (!mirror)
            std::memcpy(d, s, static_cast<size_t>(srcRect.mWidth) * sizeof(uint32_t));
        else
            std::reverse_copy(s, s + srcRect.mWidth, d);
    }
}

// srcRect of the source drawn at (x, y); mirror puts the rectangle's right
// column at x.
template <class Writer>
void BlitRows(const PixelView& dest, int x, int y, const SourceView& src, const Rect& srcRect, bool mirror,
              const Writer& write)
{
    const int width = srcRect.mWidth;
    std::vector<uint32_t> reversed(mirror ? static_cast<size_t>(width) : 0u);
    for (int row = 0; row < srcRect.mHeight; ++row)
    {
        const uint32_t* s = src.Row(srcRect.mY + row) + srcRect.mX;
        uint32_t* d = dest.Row(y + row) + x;
        if (mirror)
        {
            std::reverse_copy(s, s + width, reversed.begin());
            s = reversed.data();
        }
        write(d, s, width);
    }
}

// The part of destRect inside clip (and inside the destination).
inline Rect StretchArea(const PixelView& dest, const Rect& destRect, const Rect& clip)
{
    return destRect.Intersection(clip).Intersection(Rect(0, 0, dest.width, dest.height));
}

// Nearest source index (0 .. srcSize - 1) of each destination index of the
// visible range first .. first + count - 1 (relative to the destination
// rectangle): the source pixel under the destination pixel's centre.
inline std::vector<int> NearestMap(int first, int count, int destSize, int srcSize, bool mirror)
{
    std::vector<int> map(static_cast<size_t>(std::max(count, 0)));
    if (count <= 0)
        return map;
    // s(j) = ((2j + 1) * srcSize) / (2 * destSize), stepped without dividing
    // per pixel: the numerator grows by 2 * srcSize for each j.
    const int64_t denominator = 2 * static_cast<int64_t>(destSize);
    const int64_t step = 2 * static_cast<int64_t>(srcSize);
    const int64_t stepWhole = step / denominator;
    const int64_t stepRest = step % denominator;
    int j = mirror ? destSize - first - count : first;
    int64_t numerator = (2 * static_cast<int64_t>(j) + 1) * srcSize;
    int64_t whole = numerator / denominator;
    int64_t rest = numerator % denominator;
    for (int i = 0; i < count; ++i)
    {
        int value = static_cast<int>(std::clamp<int64_t>(whole, 0, srcSize - 1));
        map[static_cast<size_t>(mirror ? count - 1 - i : i)] = value;
        whole += stepWhole;
        rest += stepRest;
        if (rest >= denominator)
        {
            rest -= denominator;
            ++whole;
        }
    }
    return map;
}

template <class Writer>
void StretchNearest(const PixelView& dest, const Rect& destRect, const Rect& clip, const SourceView& src,
                    const Rect& srcRect, bool mirror, const Writer& write)
{
    Rect area = StretchArea(dest, destRect, clip);
    if (area.IsEmpty())
        return;
    std::vector<int> columns = NearestMap(area.mX - destRect.mX, area.mWidth, destRect.mWidth, srcRect.mWidth, mirror);
    std::vector<int> rows = NearestMap(area.mY - destRect.mY, area.mHeight, destRect.mHeight, srcRect.mHeight, false);
    for (int& c : columns)
        c += srcRect.mX;
    std::vector<uint32_t> span(static_cast<size_t>(area.mWidth));
    int lastRow = -1;
    for (int row = 0; row < area.mHeight; ++row)
    {
        // Rows repeated by an enlargement reuse the gathered span.
        int srcRow = rows[static_cast<size_t>(row)];
        if (srcRow != lastRow)
        {
            PixelOps::ActiveSpanTable().gather(src.Row(srcRect.mY + srcRow), columns.data(), span.data(), area.mWidth);
            lastRow = srcRow;
        }
        write(dest.Row(area.mY + row) + area.mX, span.data(), area.mWidth);
    }
}

// One axis of a bilinear stretch: the two source indices and the weight of
// the second (0..256) for each visible destination index.
struct FilterTap
{
    int i0 = 0;
    int i1 = 0;
    uint32_t w1 = 0;
};

std::vector<FilterTap> FilterMap(int first, int count, int destSize, int srcSize, bool mirror);

// The four source pixels blended by their weights (summing to 65536), alpha
// weighted, giving an unpremultiplied pixel.
uint32_t FilterPixel(uint32_t p00, uint32_t p10, uint32_t p01, uint32_t p11, uint32_t wx, uint32_t wy);

template <class Writer>
void StretchBilinear(const PixelView& dest, const Rect& destRect, const Rect& clip, const SourceView& src,
                     const Rect& srcRect, bool mirror, const Writer& write)
{
    Rect area = StretchArea(dest, destRect, clip);
    if (area.IsEmpty())
        return;
    std::vector<FilterTap> columns =
        FilterMap(area.mX - destRect.mX, area.mWidth, destRect.mWidth, srcRect.mWidth, mirror);
    std::vector<FilterTap> rows = FilterMap(area.mY - destRect.mY, area.mHeight, destRect.mHeight, srcRect.mHeight, false);
    std::vector<uint32_t> span(static_cast<size_t>(area.mWidth));
    for (int row = 0; row < area.mHeight; ++row)
    {
        const FilterTap& ty = rows[static_cast<size_t>(row)];
        const uint32_t* s0 = src.Row(srcRect.mY + ty.i0) + srcRect.mX;
        const uint32_t* s1 = src.Row(srcRect.mY + ty.i1) + srcRect.mX;
        for (size_t i = 0; i < span.size(); ++i)
        {
            const FilterTap& tx = columns[i];
            span[i] = FilterPixel(s0[tx.i0], s0[tx.i1], s1[tx.i0], s1[tx.i1], tx.w1, ty.w1);
        }
        write(dest.Row(area.mY + row) + area.mX, span.data(), area.mWidth);
    }
}

} // namespace Lumo::BlitLoops
