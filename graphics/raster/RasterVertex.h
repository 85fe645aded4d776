#pragma once
// The vertex a triangle filler receives, in fixed point.
#include <cstdint>

namespace Lumo {

struct RasterVertex
{
    int32_t x = 0; // 16.16 destination pixels
    int32_t y = 0; // 16.16 destination pixels
    int32_t a = 0; // 8.16: the 8-bit channel shifted left by 16
    int32_t r = 0; // 8.16
    int32_t g = 0; // 8.16
    int32_t b = 0; // 8.16
    int32_t u = 0; // 16.16 texel units (1.0 = one texel)
    int32_t v = 0; // 16.16 texel units
};

} // namespace Lumo
