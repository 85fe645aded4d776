#pragma once
// The per-pixel part of a triangle filler: one horizontal span. Everything the
// flags decide is settled at compile time; the loop holds only the fetch, the
// colour factor, the alpha tests and the write.
#include <cstdint>

#include "graphics/raster/FixedPoint.h"
#include "graphics/raster/RasterColor.h"
#include "graphics/raster/RasterTextureInfo.h"
#include "graphics/raster/TexelSampler.h"
#include "graphics/raster/TriangleFlags.h"

namespace Lumo {

// Interpolated attributes of one pixel (or their steps per pixel), 32-bit
// wrapping: u, v 16.16 texel units; a, r, g, b 8.16.
struct SpanAttributes
{
    uint32_t u = 0;
    uint32_t v = 0;
    uint32_t a = 0;
    uint32_t r = 0;
    uint32_t g = 0;
    uint32_t b = 0;
};

template <unsigned Flags, class Writer>
class TriangleSpan
{
public:
    static constexpr bool kTextured = (Flags & TRI_TEXTURED) != 0;
    static constexpr bool kAlphaBlend = (Flags & TRI_ALPHA_BLEND) != 0;
    static constexpr bool kVertexColor = (Flags & TRI_VERTEX_COLOR) != 0;
    static constexpr bool kModulate = (Flags & TRI_MODULATE) != 0;
    static constexpr bool kBilinear = (Flags & TRI_BILINEAR) != 0;
    static constexpr bool kFactor = kTextured && (kVertexColor || kModulate);
    using Pixel = typename Writer::Pixel;

    TriangleSpan(const RasterTextureInfo& texture, const RasterColor& colour)
        : mTexture(texture),
          mR(Clamp255(colour.r)),
          mG(Clamp255(colour.g)),
          mB(Clamp255(colour.b)),
          mA(Clamp255(colour.a))
    {
    }

    // Fills count pixels from pixel on, attributes starting at at, stepping by step.
    void Fill(Pixel* __restrict pixel, int64_t count, SpanAttributes at, const SpanAttributes& step) const
    {
        for (; count > 0; --count, ++pixel)
        {
            Shade(pixel, at);
            if constexpr (kTextured)
            {
                at.u += step.u;
                at.v += step.v;
            }
            if constexpr (kVertexColor)
            {
                at.a += step.a;
                at.r += step.r;
                at.g += step.g;
                at.b += step.b;
            }
        }
    }

private:
    struct Factor
    {
        uint32_t r, g, b, k;
    };

    // Opaque at 240 and above, else blended with the source weighted by a.
    static void Put(Pixel* pixel, uint32_t rgb, uint32_t a)
    {
        if (a >= 240)
            Writer::Opaque(pixel, rgb);
        else
            Writer::Blend(pixel, ScaleChannels(rgb, a), a);
    }

    // Same for a source already multiplied by its alpha.
    static void PutPremultiplied(Pixel* pixel, uint32_t rgb, uint32_t a)
    {
        if (a >= 240)
            Writer::Opaque(pixel, rgb);
        else
            Writer::Blend(pixel, rgb, a);
    }

    Factor FactorAt(const SpanAttributes& at) const
    {
        if constexpr (kVertexColor && kModulate)
        {
            const auto mix = [](uint32_t c, uint32_t fixed) {
                return static_cast<uint32_t>((static_cast<uint64_t>(c) * ClampFixedChannel(fixed)) >> 24);
            };
            return {mix(mR, at.r), mix(mG, at.g), mix(mB, at.b), mix(mA, at.a)};
        }
        else if constexpr (kVertexColor)
            return {ChannelOf(at.r), ChannelOf(at.g), ChannelOf(at.b), ChannelOf(at.a)};
        else
            return {mR, mG, mB, mA};
    }

    // Each channel of a 0x..RRGGBB word times its factor, >> 8.
    static uint32_t Modulate(uint32_t c, const Factor& f)
    {
        return (((((c >> 16) & 0xFF) * f.r) >> 8) << 16) | (((((c >> 8) & 0xFF) * f.g) >> 8) << 8) |
               (((c & 0xFF) * f.b) >> 8);
    }

    void Shade(Pixel* pixel, const SpanAttributes& at) const
    {
        if constexpr (!kTextured)
            ShadeVertexColour(pixel, at);
        else if constexpr (kBilinear)
            ShadeBilinear(pixel, at);
        else
            ShadeNearest(pixel, at);
    }

    static void ShadeVertexColour(Pixel* pixel, const SpanAttributes& at)
    {
        const int32_t alpha = AsSigned(at.a);
        if (alpha <= (8 << 16))
            return;
        const uint32_t rgb = (ChannelOf(at.r) << 16) | (ChannelOf(at.g) << 8) | ChannelOf(at.b);
        if (alpha > (240 << 16))
            Writer::Opaque(pixel, rgb);
        else
        {
            const uint32_t a = static_cast<uint32_t>(alpha >> 16);
            Writer::Blend(pixel, ScaleChannels(rgb, a), a);
        }
    }

    void ShadeNearest(Pixel* pixel, const SpanAttributes& at) const
    {
        const uint32_t t = SampleNearest(mTexture, at.u, at.v);
        if constexpr (!kAlphaBlend && !kFactor)
            Writer::Opaque(pixel, t);
        else if constexpr (!kAlphaBlend)
        {
            const Factor f = FactorAt(at);
            Put(pixel, Modulate(t, f), (f.k * 255) >> 8);
        }
        else
        {
            const uint32_t alpha = t >> 24;
            if (alpha <= 8)
                return;
            if constexpr (kFactor)
            {
                const Factor f = FactorAt(at);
                Put(pixel, Modulate(t, f), (f.k * alpha) >> 8);
            }
            else
                Put(pixel, t, alpha);
        }
    }

    void ShadeBilinear(Pixel* pixel, const SpanAttributes& at) const
    {
        const BilinearTexel q = SampleBilinear(mTexture, at.u, at.v);
        if constexpr (kAlphaBlend)
        {
            if (q.alpha <= 8)
                return;
        }
        if constexpr (!kFactor)
        {
            if constexpr (kAlphaBlend)
                PutPremultiplied(pixel, q.colour, q.alpha);
            else
                Writer::Opaque(pixel, q.colour);
        }
        else
        {
            const Factor f = FactorAt(at);
            const uint32_t p = ScaleChannels(Modulate(q.colour, f), f.k);
            PutPremultiplied(pixel, p, (f.k * (kAlphaBlend ? q.alpha : 255u)) >> 8);
        }
    }

    const RasterTextureInfo& mTexture;
    uint32_t mR, mG, mB, mA;
};

} // namespace Lumo
