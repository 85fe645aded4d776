#pragma once
// What a Graphics draws with: the destination image, the translation, the
// clip rectangle, the colour, the draw mode, tinting, quick stretch and the
// font. A Graphics saves and restores it with PushState / PopState.
#include "graphics/Color.h"
#include "graphics/DrawMode.h"
#include "graphics/Rect.h"

namespace Lumo {

class Font;
class Image;

class GraphicsState
{
public:
    Image* mDestImage = nullptr;
    float mTransX = 0.0f;  // added to every x (truncated toward zero with it)
    float mTransY = 0.0f;
    Rect mClipRect;        // destination pixels, inside the destination's bounds
    Color mColor = Color::White;
    DrawMode mDrawMode = DRAWMODE_NORMAL;
    bool mColorizeImages = false; // image tinting by mColor
    bool mFastStretch = false;    // quick (nearest) stretching
    Font* mFont = nullptr;        // not owned
};

} // namespace Lumo
