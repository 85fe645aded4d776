#pragma once
// The per-pixel part of a triangle filler: one horizontal span. Everything the
// flags decide is settled at compile time; the loop holds only the fetch, the
// colour factor, the alpha tests and the write.
#include <cstdint>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "graphics/raster/FixedPoint.h"
#include "graphics/raster/RasterColor.h"
#include "graphics/raster/RasterTextureInfo.h"
#include "graphics/raster/TexelSampler.h"
#include "graphics/raster/TriangleFlags.h"

namespace Lumo {

// Whether Writer can blend four pixels at once (BlendUnpremultiplied4).
template <class Writer>
concept BlendsFourAtOnce = requires { requires Writer::kBlendsFourAtOnce; };

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
    // Nearest alpha-blended texels without a colour factor go four at a time
    // where the writer can blend four at once.
    static constexpr bool kFourAtOnce =
        kTextured && !kBilinear && kAlphaBlend && !kFactor && BlendsFourAtOnce<Writer>;

    TriangleSpan(const RasterTextureInfo& texture, const RasterColor& colour)
        : mTexture(texture),
          mR(Clamp255(colour.r)),
          mG(Clamp255(colour.g)),
          mB(Clamp255(colour.b)),
          mA(Clamp255(colour.a))
    {
    }

    // Fills count pixels from pixel on, attributes starting at at, stepping by step.
    void Fill(Pixel* __restrict pixel, int64_t count, SpanAttributes at, const SpanAttributes& stepIn) const
    {
        // Local copies: the pixel writes cannot alias them, so they stay in registers.
        const TriangleSpan self = *this;
        const SpanAttributes step = stepIn;
        if constexpr (kFourAtOnce)
        {
            for (; count >= 4; count -= 4, pixel += 4)
            {
                uint32_t t[4];
                for (uint32_t& texel : t)
                {
                    texel = SampleNearest(self.mTexture, at.u, at.v);
                    at.u += step.u;
                    at.v += step.v;
                }
                PutTexels4(pixel, t);
            }
        }
        for (; count > 0; --count, ++pixel)
        {
            self.Shade(pixel, at);
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

#if defined(__SSE2__)
    // Four texels by their own alpha: 8 and below skipped, 240 and above
    // opaque, the rest blended unpremultiplied.
    static void PutTexels4(Pixel* pixel, const uint32_t* t)
    {
        // Built in registers: a vector load right after four scalar stores would stall.
        const __m128i texels = _mm_set_epi32(static_cast<int>(t[3]), static_cast<int>(t[2]),
                                             static_cast<int>(t[1]), static_cast<int>(t[0]));
        const __m128i alpha = _mm_srli_epi32(texels, 24);
        const __m128i skip = _mm_cmplt_epi32(alpha, _mm_set1_epi32(9));
        const __m128i opaque = _mm_cmpgt_epi32(alpha, _mm_set1_epi32(239));
        if (_mm_movemask_epi8(skip) == 0xFFFF)
            return;
        const __m128i solid = _mm_or_si128(texels, _mm_set1_epi32(static_cast<int>(0xFF000000u)));
        auto* out = reinterpret_cast<__m128i*>(pixel);
        if (_mm_movemask_epi8(opaque) == 0xFFFF)
        {
            _mm_storeu_si128(out, solid);
            return;
        }
        const __m128i d = _mm_loadu_si128(out);
        __m128i result = Writer::BlendUnpremultiplied4(d, texels, alpha);
        result = _mm_or_si128(_mm_and_si128(opaque, solid), _mm_andnot_si128(opaque, result));
        result = _mm_or_si128(_mm_and_si128(skip, d), _mm_andnot_si128(skip, result));
        _mm_storeu_si128(out, result);
    }
#endif

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

    RasterTextureInfo mTexture;
    uint32_t mR, mG, mB, mA;
};

} // namespace Lumo
