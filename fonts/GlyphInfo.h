#pragma once
// One character's glyph in a font layer: where it lies in the layer image,
// how it is offset, how far it advances and how it kerns with the next one.
#include <array>
#include <cstdint>

#include "graphics/Rect.h"

namespace Lumo {

struct GlyphInfo
{
    Rect mImageRect;                      // in the layer image (pixels)
    Point mOffset;                        // added to the pen position when drawn
    std::array<int8_t, 256> mKerningOffsets{}; // by the character that follows
    int mWidth = 0;                       // advance of the pen
    int mOrder = 0;                       // draw-order contribution
};

} // namespace Lumo
