#pragma once
// Texel fetches of the triangle fillers. Every read is checked against the
// texel count; an invalid index reads 0 (transparent black).
#include <cstdint>

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

// Bilinear: (u, v) is the sample point already moved back by half a texel.
// The four taps lie at index i, i + 1, i + width, i + width + 1 of the packed
// texel array (no wrap within a row); each tap's weight is scaled by its alpha.
inline BilinearTexel SampleBilinear(const RasterTextureInfo& texture, uint32_t u, uint32_t v)
{
    const int32_t fu = FixedFloor(AsSigned(u));
    const int32_t fv = FixedFloor(AsSigned(v));
    const int64_t width = texture.width;
    const int64_t i = static_cast<int64_t>(fv >> 16) * width + (fu >> 16);
    uint32_t t00, t10, t01, t11;
    if (i >= 0 && i + width + 1 < static_cast<int64_t>(texture.count))
    {
        const uint32_t* row = texture.texels + i;
        t00 = row[0];
        t10 = row[1];
        t01 = row[width];
        t11 = row[width + 1];
    }
    else
    {
        const auto tap = [&texture](int64_t index) {
            return index >= 0 && index < static_cast<int64_t>(texture.count) ? texture.texels[index] : 0u;
        };
        t00 = tap(i);
        t10 = tap(i + 1);
        t01 = tap(i + width);
        t11 = tap(i + width + 1);
    }
    const uint32_t fx = (u & 0xFFFEu) + 1;
    const uint32_t fy = (v & 0xFFFEu) + 1;
    const uint32_t gx = 0x10000u - fx;
    const uint32_t gy = 0x10000u - fy;
    const uint32_t w00 = (((gx * gy) >> 16) * (t00 >> 24)) >> 16;
    const uint32_t w10 = (((fx * gy) >> 16) * (t10 >> 24)) >> 16;
    const uint32_t w01 = (((gx * fy) >> 16) * (t01 >> 24)) >> 16;
    const uint32_t w11 = (((fx * fy) >> 16) * (t11 >> 24)) >> 16;
    // The weights sum to at most 255, so each 16-bit lane of these sums stays
    // below 255 * 255 and no lane carries into the next.
    const uint32_t redBlue = (t00 & 0x00FF00FFu) * w00 + (t10 & 0x00FF00FFu) * w10 + (t01 & 0x00FF00FFu) * w01 +
                             (t11 & 0x00FF00FFu) * w11;
    const uint32_t green = (t00 & 0x0000FF00u) * w00 + (t10 & 0x0000FF00u) * w10 + (t01 & 0x0000FF00u) * w01 +
                           (t11 & 0x0000FF00u) * w11;
    BilinearTexel result;
    result.colour = ((redBlue >> 8) & 0x00FF00FFu) | ((green >> 8) & 0x0000FF00u);
    result.alpha = w00 + w10 + w01 + w11;
    return result;
}

} // namespace Lumo
