#pragma once
// An integer rectangle in destination pixels: the clip of a triangle draw.
// Drawing stays inside columns x .. x + width - 1 and rows y .. y + height - 1.
#include <cstdint>

namespace Lumo {

struct RasterRect
{
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
};

} // namespace Lumo
