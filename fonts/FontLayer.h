#pragma once
// One layer of an image font: its image, the 256 glyphs, colours, draw mode,
// the point sizes and tags it is drawn for, and its metrics. Layers live in
// their FontData's list, so their addresses never change; copies copy every
// field (the image as a counted reference).
#include <array>
#include <string>
#include <vector>

#include "fonts/GlyphInfo.h"
#include "graphics/Color.h"
#include "graphics/SharedImage.h"

namespace Lumo {

class FontData;

class FontLayer
{
public:
    explicit FontLayer(FontData* owner) : mFontData(owner) {}
    FontLayer(const FontLayer& other) = default;
    FontLayer& operator=(const FontLayer& other) = default;

    FontData* mFontData;
    std::vector<std::string> mRequiredTags; // upper-cased
    std::vector<std::string> mExcludedTags; // upper-cased
    std::array<GlyphInfo, 256> mCharData{};
    Color mColorMult = Color::White;
    Color mColorAdd = Color(0, 0, 0, 0);
    SharedImageHandle mImage;
    int mDrawMode = -1; // -1 not set, else a DrawMode
    Point mOffset;      // added to every glyph's position
    int mSpacing = 0;   // added to every advance
    int mMinPointSize = -1;
    int mMaxPointSize = -1; // -1: no upper bound
    int mPointSize = 0;     // size the glyphs were drawn for; 0: never rescaled by point size
    int mAscent = 0;
    int mAscentPadding = 0;
    int mHeight = 0;
    int mDefaultHeight = 0; // computed from the glyphs; used when mHeight is 0
    int mLineSpacingOffset = 0;
    int mBaseOrder = 0;
};

} // namespace Lumo
