#pragma once
// The texture block a triangle filler receives.
#include <cstdint>

namespace Lumo {

struct RasterTextureInfo
{
    const uint32_t* texels = nullptr; // width x height ARGB words, row-major, rows packed
    int32_t width = 0;                // texels per row
    uint32_t count = 0;               // width x height: every texel read is checked against it
};

} // namespace Lumo
