#pragma once
// The modulation colour of a triangle draw: four channels 0..255. Opaque white
// (255, 255, 255, 255) means "no modulation". Build it with designated
// initialisers so the channel order cannot be mixed up:
//   RasterColor{.a = color.mAlpha, .r = color.mRed, .g = color.mGreen, .b = color.mBlue}
#include <cstdint>

namespace Lumo {

struct RasterColor
{
    int32_t a = 255;
    int32_t r = 255;
    int32_t g = 255;
    int32_t b = 255;
};

} // namespace Lumo
