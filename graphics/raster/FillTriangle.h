#pragma once
// The triangle fill template: every filler of the table is FillTriangle with
// its feature flags and a destination writer. Set-up in 16.16 fixed point,
// top-left fill rule (pixel centres on a left or top edge are drawn, on a right
// or bottom edge not), edges walked row by row, attributes stepped per pixel.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>

#include "graphics/raster/FixedPoint.h"
#include "graphics/raster/RasterColor.h"
#include "graphics/raster/RasterRect.h"
#include "graphics/raster/RasterTextureInfo.h"
#include "graphics/raster/RasterVertex.h"
#include "graphics/raster/TriangleFlags.h"
#include "graphics/raster/TriangleSpan.h"

namespace Lumo {

namespace RasterDetail {

inline constexpr int64_t kReciprocalOne = int64_t{1} << 48;

// The attributes a filler interpolates, as members of RasterVertex.
enum Attribute
{
    ATTR_U,
    ATTR_V,
    ATTR_A,
    ATTR_R,
    ATTR_G,
    ATTR_B,
    ATTR_COUNT
};

constexpr int32_t RasterVertex::*kAttributeMember[ATTR_COUNT] = {
    &RasterVertex::u, &RasterVertex::v, &RasterVertex::a, &RasterVertex::r, &RasterVertex::g, &RasterVertex::b};

constexpr uint32_t SpanAttributes::*kSpanMember[ATTR_COUNT] = {
    &SpanAttributes::u, &SpanAttributes::v, &SpanAttributes::a,
    &SpanAttributes::r, &SpanAttributes::g, &SpanAttributes::b};

template <unsigned Flags>
constexpr bool UsesAttribute(int attribute)
{
    if (attribute == ATTR_U || attribute == ATTR_V)
        return (Flags & TRI_TEXTURED) != 0;
    return (Flags & TRI_VERTEX_COLOR) != 0;
}

// Calls fn(attribute) for every attribute the flags use, unrolled.
template <unsigned Flags, class Fn>
inline void ForEachAttribute(Fn&& fn)
{
    [&]<int... I>(std::integer_sequence<int, I...>) {
        ((UsesAttribute<Flags>(I) ? fn(I) : void()), ...);
    }(std::make_integer_sequence<int, ATTR_COUNT>{});
}

// An edge's x on the current row and its step per row, 16.16.
struct EdgeX
{
    int64_t x = 0;
    int64_t dx = 0;

    void Advance(int64_t rows) { x += static_cast<int64_t>(static_cast<RasterWide>(dx) * rows); }
};

// The long edge (top to bottom) carries the attributes too.
struct LongEdge
{
    EdgeX edge;
    SpanAttributes value;
    SpanAttributes slope;
};

template <unsigned Flags>
inline void AdvanceLongEdge(LongEdge& e, int64_t rows)
{
    e.edge.Advance(rows);
    const uint32_t n = static_cast<uint32_t>(rows);
    ForEachAttribute<Flags>([&](int i) { e.value.*kSpanMember[i] += (e.slope.*kSpanMember[i]) * n; });
}

} // namespace RasterDetail

// Fills one triangle of three vertices (see TriangleFiller in TriangleDrawers.h).
template <unsigned Flags, class Writer>
void FillTriangle(const RasterVertex* vertices, void* bits, int pitch, const RasterTextureInfo& texture,
                  const RasterColor& colour, const RasterRect& clip)
{
    using namespace RasterDetail;
    using Span = TriangleSpan<Flags, Writer>;
    using Pixel = typename Writer::Pixel;

    RasterVertex v[3] = {vertices[0], vertices[1], vertices[2]};
    if constexpr (!Span::kTextured && Span::kVertexColor && Span::kModulate)
    {
        // Untextured: the colour scales the filler's own copies of the vertex colours once.
        const auto scale = [](int32_t& channel, int32_t c) {
            channel = static_cast<int32_t>((static_cast<int64_t>(channel) * Clamp255(c)) >> 8);
        };
        for (RasterVertex& p : v)
        {
            scale(p.a, colour.a);
            scale(p.r, colour.r);
            scale(p.g, colour.g);
            scale(p.b, colour.b);
        }
    }

    // Sort by y; equal y keeps the given order.
    const RasterVertex* top = &v[0];
    const RasterVertex* mid = &v[1];
    const RasterVertex* bot = &v[2];
    if (top->y > mid->y)
        std::swap(top, mid);
    if (mid->y > bot->y)
        std::swap(mid, bot);
    if (top->y > mid->y)
        std::swap(top, mid);

    const int64_t topY = top->y, midY = mid->y, botY = bot->y;
    const int64_t ceilTop = FixedCeil(topY), ceilMid = FixedCeil(midY), ceilBot = FixedCeil(botY);
    if (ceilTop == ceilBot)
        return;

    // Long edge, and its x at the middle vertex's height.
    LongEdge longEdge;
    const int64_t longReciprocal = kReciprocalOne / (botY - topY);
    longEdge.edge.dx = static_cast<int64_t>(MulShift(int64_t{bot->x} - top->x, longReciprocal, 32));
    ForEachAttribute<Flags>([&](int i) {
        const int32_t RasterVertex::*m = kAttributeMember[i];
        longEdge.slope.*kSpanMember[i] = Wrap32(MulShift(int64_t{bot->*m} - top->*m, longReciprocal, 32));
    });
    const int64_t midDy = midY - topY;
    const int64_t xm = top->x + static_cast<int64_t>(MulShift(longEdge.edge.dx, midDy, 16));
    if (mid->x == xm)
        return;

    // Gradients along x, constant over the triangle.
    SpanAttributes gradient;
    const int64_t widthReciprocal = kReciprocalOne / (mid->x - xm);
    ForEachAttribute<Flags>([&](int i) {
        const int32_t RasterVertex::*m = kAttributeMember[i];
        const int32_t slope = AsSigned(longEdge.slope.*kSpanMember[i]);
        const RasterWide atMid = top->*m + MulShift(slope, midDy, 16);
        const RasterWide difference = mid->*m - atMid;
        gradient.*kSpanMember[i] = Wrap32((difference * widthReciprocal) >> 32);
    });

    // Prestep to the first row's centre.
    const int64_t prestep = ceilTop - topY;
    longEdge.edge.x = top->x + static_cast<int64_t>(MulShift(longEdge.edge.dx, prestep, 16));
    ForEachAttribute<Flags>([&](int i) {
        const int32_t RasterVertex::*m = kAttributeMember[i];
        const int32_t slope = AsSigned(longEdge.slope.*kSpanMember[i]);
        longEdge.value.*kSpanMember[i] = Wrap32(top->*m + MulShift(slope, prestep, 16));
    });
    const bool longIsRight = xm > mid->x;

    // Inclusive clip bounds: rows and spans are kept inside them.
    const int64_t clipLeft = clip.x, clipTop = clip.y;
    const int64_t clipRight = clipLeft + clip.width - 1, clipBottom = clipTop + clip.height - 1;
    const size_t rowBytes = Writer::RowBytes(pitch);
    const Span span(texture, colour);

    // Walks rows [rowBegin, rowEnd) (pixel rows) between the long edge and shortEdge.
    const auto walk = [&](int64_t rowBegin, int64_t rowEnd, EdgeX shortEdge) {
        const int64_t first = std::max(rowBegin, clipTop);
        const int64_t last = std::min(rowEnd, clipBottom + 1);
        if (first >= last)
        {
            AdvanceLongEdge<Flags>(longEdge, rowEnd - rowBegin);
            return;
        }
        AdvanceLongEdge<Flags>(longEdge, first - rowBegin);
        shortEdge.Advance(first - rowBegin);
        auto* row = reinterpret_cast<unsigned char*>(bits) + static_cast<ptrdiff_t>(first) *
                                                                static_cast<ptrdiff_t>(rowBytes);
        for (int64_t y = first; y < last; ++y, row += rowBytes)
        {
            const int64_t xl = longIsRight ? shortEdge.x : longEdge.edge.x;
            const int64_t xr = longIsRight ? longEdge.edge.x : shortEdge.x;
            const int64_t ceilL = FixedCeil(xl), ceilR = FixedCeil(xr);
            if (ceilR - ceilL >= 0x10000)
            {
                const int64_t begin = std::max(ceilL >> 16, clipLeft);
                const int64_t end = std::min((ceilR >> 16) - 1, clipRight);
                if (begin <= end)
                {
                    const int64_t distance = (begin << 16) - longEdge.edge.x;
                    SpanAttributes at;
                    ForEachAttribute<Flags>([&](int i) {
                        at.*kSpanMember[i] = longEdge.value.*kSpanMember[i] +
                                             Wrap32(MulShift(AsSigned(gradient.*kSpanMember[i]), distance, 16));
                    });
                    if constexpr (Span::kBilinear)
                    {
                        at.u -= 0x8000;
                        at.v -= 0x8000;
                    }
                    span.Fill(reinterpret_cast<Pixel*>(row) + begin, end - begin + 1, at, gradient);
                }
            }
            AdvanceLongEdge<Flags>(longEdge, 1);
            shortEdge.Advance(1);
        }
        AdvanceLongEdge<Flags>(longEdge, rowEnd - last);
    };

    if (ceilMid > ceilTop)
    {
        EdgeX upper;
        upper.dx = static_cast<int64_t>(MulShift(int64_t{mid->x} - top->x, kReciprocalOne / midDy, 32));
        upper.x = top->x + static_cast<int64_t>(MulShift(upper.dx, prestep, 16));
        walk(ceilTop >> 16, ceilMid >> 16, upper);
    }
    if (ceilBot > ceilMid)
    {
        EdgeX lower;
        lower.dx = static_cast<int64_t>(MulShift(int64_t{bot->x} - mid->x, kReciprocalOne / (botY - midY), 32));
        lower.x = mid->x + static_cast<int64_t>(MulShift(lower.dx, ceilMid - midY, 16));
        walk(ceilMid >> 16, ceilBot >> 16, lower);
    }
}

// The filler of the entries that draw nothing.
inline void EmptyFiller(const RasterVertex*, void*, int, const RasterTextureInfo&, const RasterColor&,
                        const RasterRect&)
{
}

} // namespace Lumo
