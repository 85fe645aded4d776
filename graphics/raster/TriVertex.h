#pragma once
// One vertex of a triangle strip as the graphics layer hands it over; also the
// vertex type of the clipper. 20 bytes, fields in this order.
#include <cstdint>

namespace Lumo {

struct TriVertex
{
    float x = 0.0f;      // destination x in pixels; pixel centres lie at whole numbers
    float y = 0.0f;      // destination y in pixels
    float u = 0.0f;      // texture x as a fraction of the texture width (0..1)
    float v = 0.0f;      // texture y as a fraction of the texture height (0..1)
    uint32_t colour = 0; // packed 0xAARRGGBB, used when vertex colours are on
};

static_assert(sizeof(TriVertex) == 20, "TriVertex is five 32-bit words");

} // namespace Lumo
