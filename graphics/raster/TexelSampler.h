#pragma once
// Texel fetches of the triangle fillers. Every read is checked against the
// texel count; an invalid index reads 0 (transparent black).
#include <cstdint>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "graphics/raster/FixedPoint.h"
#include "graphics/raster/RasterTextureInfo.h"

namespace Lumo {

// Nearest: the texel under (u, v), 16.16 texel units taken as unsigned.
inline uint32_t SampleNearest(const RasterTextureInfo& texture, uint32_t u, uint32_t v)
{
    const uint32_t index = (v >> 16) * static_cast<uint32_t>(texture.width) + (u >> 16);
    return index < texture.count ? texture.texels[index] : 0u;
}

// A bilinear sample: colour already multiplied by its alpha, and that alpha.
struct BilinearTexel
{
    uint32_t colour = 0; // 0x00RRGGBB, premultiplied
    uint32_t alpha = 0;  // 0..255
};

namespace RasterDetail {

// The four taps of a bilinear sample: the texels at index i, i + 1, i + width
// and i + width + 1 of the packed texel array (no wrap within a row), each 0
// when its own index is invalid.
struct BilinearTaps
{
    uint32_t t00, t10, t01, t11;
};

inline BilinearTaps FetchTaps(const RasterTextureInfo& texture, uint32_t u, uint32_t v)
{
    const int64_t width = texture.width;
    const int64_t i =
        static_cast<int64_t>(FixedFloor(AsSigned(v)) >> 16) * width + (FixedFloor(AsSigned(u)) >> 16);
    if (i >= 0 && i + width + 1 < static_cast<int64_t>(texture.count))
    {
        const uint32_t* row = texture.texels + i;
        return {row[0], row[1], row[width], row[width + 1]};
    }
    const auto tap = [&texture](int64_t index) {
        return index >= 0 && index < static_cast<int64_t>(texture.count) ? texture.texels[index] : 0u;
    };
    return {tap(i), tap(i + 1), tap(i + width), tap(i + width + 1)};
}

} // namespace RasterDetail

// Bilinear, one channel at a time. (u, v) is the sample point already moved
// back by half a texel. Fractions fx, fy are odd 1..0xFFFF; each tap's weight
// is scaled by its alpha, the colour comes out multiplied by its alpha.
inline BilinearTexel SampleBilinearScalar(const RasterTextureInfo& texture, uint32_t u, uint32_t v)
{
    const RasterDetail::BilinearTaps t = RasterDetail::FetchTaps(texture, u, v);
    const uint32_t fx = (u & 0xFFFEu) + 1;
    const uint32_t fy = (v & 0xFFFEu) + 1;
    const uint32_t gx = 0x10000u - fx;
    const uint32_t gy = 0x10000u - fy;
    const uint32_t w00 = (((gx * gy) >> 16) * (t.t00 >> 24)) >> 16;
    const uint32_t w10 = (((fx * gy) >> 16) * (t.t10 >> 24)) >> 16;
    const uint32_t w01 = (((gx * fy) >> 16) * (t.t01 >> 24)) >> 16;
    const uint32_t w11 = (((fx * fy) >> 16) * (t.t11 >> 24)) >> 16;
    // The weights sum to at most 255, so each 16-bit lane of these sums stays
    // below 255 * 255 and no lane carries into the next.
    const uint32_t redBlue = (t.t00 & 0x00FF00FFu) * w00 + (t.t10 & 0x00FF00FFu) * w10 +
                             (t.t01 & 0x00FF00FFu) * w01 + (t.t11 & 0x00FF00FFu) * w11;
    const uint32_t green = (t.t00 & 0x0000FF00u) * w00 + (t.t10 & 0x0000FF00u) * w10 +
                           (t.t01 & 0x0000FF00u) * w01 + (t.t11 & 0x0000FF00u) * w11;
    BilinearTexel result;
    result.colour = ((redBlue >> 8) & 0x00FF00FFu) | ((green >> 8) & 0x0000FF00u);
    result.alpha = w00 + w10 + w01 + w11;
    return result;
}

#if defined(__SSE2__)
// The same sample with the four taps side by side in 16-bit lanes. Every
// product is exact in 16 bits: the fractions are below 0x10000, the weights
// below 0xFFFF, each channel times its weight below 0x10000, and the sums of
// four below 255 * 255 because the weights sum to at most 255.
inline BilinearTexel SampleBilinear(const RasterTextureInfo& texture, uint32_t u, uint32_t v)
{
    const RasterDetail::BilinearTaps t = RasterDetail::FetchTaps(texture, u, v);
    const __m128i zero = _mm_setzero_si128();
    // Lanes: b g r a of the first tap, b g r a of the second.
    const __m128i top = _mm_unpacklo_epi8(_mm_set_epi32(0, 0, static_cast<int>(t.t10), static_cast<int>(t.t00)), zero);
    const __m128i bottom =
        _mm_unpacklo_epi8(_mm_set_epi32(0, 0, static_cast<int>(t.t11), static_cast<int>(t.t01)), zero);
    const int fx = static_cast<int>((u & 0xFFFEu) + 1);
    const int fy = static_cast<int>((v & 0xFFFEu) + 1);
    const int gx = 0x10000 - fx;
    const int gy = 0x10000 - fy;
    const __m128i across = _mm_set_epi16(static_cast<short>(fx), static_cast<short>(fx), static_cast<short>(fx),
                                         static_cast<short>(fx), static_cast<short>(gx), static_cast<short>(gx),
                                         static_cast<short>(gx), static_cast<short>(gx));
    const __m128i wTop = _mm_mulhi_epu16(across, _mm_set1_epi16(static_cast<short>(gy)));
    const __m128i wBottom = _mm_mulhi_epu16(across, _mm_set1_epi16(static_cast<short>(fy)));
    // Each weight times its tap's alpha (lane 3 of each half).
    const __m128i alphaTop = _mm_shufflehi_epi16(_mm_shufflelo_epi16(top, 0xFF), 0xFF);
    const __m128i alphaBottom = _mm_shufflehi_epi16(_mm_shufflelo_epi16(bottom, 0xFF), 0xFF);
    const __m128i weightTop = _mm_mulhi_epu16(wTop, alphaTop);
    const __m128i weightBottom = _mm_mulhi_epu16(wBottom, alphaBottom);
    __m128i sum = _mm_add_epi16(_mm_mullo_epi16(top, weightTop), _mm_mullo_epi16(bottom, weightBottom));
    sum = _mm_add_epi16(sum, _mm_srli_si128(sum, 8));
    __m128i weights = _mm_add_epi16(weightTop, weightBottom);
    weights = _mm_add_epi16(weights, _mm_srli_si128(weights, 8));
    BilinearTexel result;
    result.colour =
        static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(_mm_srli_epi16(sum, 8), zero))) & 0x00FFFFFFu;
    result.alpha = static_cast<uint32_t>(_mm_cvtsi128_si32(weights)) & 0xFFFFu;
    return result;
}
#else
inline BilinearTexel SampleBilinear(const RasterTextureInfo& texture, uint32_t u, uint32_t v)
{
    return SampleBilinearScalar(texture, u, v);
}
#endif

} // namespace Lumo
