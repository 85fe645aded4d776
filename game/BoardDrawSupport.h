#pragma once
// Helpers shared by the Board's drawing files: the guard that gives back the
// Graphics settings a drawing routine changes, the blob colours and small
// colour helpers. Drawing only; nothing here touches the rules.
#include "game/Board.h"
#include "game/GameApp.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"

#include <algorithm>
#include <array>

namespace Lumo::BoardDraw {

// Saves the draw mode, image tinting, quick stretch and clip rectangle of a
// Graphics and puts them back when it goes out of scope. The colour and the
// font are not restored: the drawing sets them before each use.
class StateGuard
{
public:
    explicit StateGuard(Graphics* g)
        : mG(g), mMode(g->mDrawMode), mTinting(g->mColorizeImages), mQuick(g->mFastStretch), mClip(g->mClipRect)
    {
    }
    StateGuard(const StateGuard&) = delete;
    StateGuard& operator=(const StateGuard&) = delete;
    ~StateGuard()
    {
        mG->mDrawMode = mMode;
        mG->mColorizeImages = mTinting;
        mG->mFastStretch = mQuick;
        mG->mClipRect = mClip;
    }

private:
    Graphics* mG;
    DrawMode mMode;
    bool mTinting;
    bool mQuick;
    Rect mClip;
};

// The five blob colours (0xRRGGBB) by BlobType 0..4.
inline constexpr std::array<int, 5> kBlobColours = {0xD10024, 0xE9E92E, 0x18E631, 0x4A58F7, 0xD90EFD};

// The blob colour of a type, white for anything that is not a colour.
inline int BlobColour(int type)
{
    return type >= 0 && type < static_cast<int>(kBlobColours.size()) ? kBlobColours[static_cast<size_t>(type)]
                                                                      : 0xFFFFFF;
}

// A colour of a 0xRRGGBB value and an alpha clamped to 0..255.
inline Color RgbAlpha(int rgb, int alpha)
{
    return Color(rgb, std::clamp(alpha, 0, 255));
}

// The image of a GameImage id, or null.
inline Image* Img(const Board& board, int imageId)
{
    return board.app->GetImage(imageId);
}

// Width and height of an image, 0 when it is missing.
inline int Width(const Image* image)
{
    return image != nullptr ? image->GetWidth() : 0;
}
inline int Height(const Image* image)
{
    return image != nullptr ? image->GetHeight() : 0;
}

// Whether cel n lies inside the image's grid (a missing image has none).
inline bool HasCel(const Image* image, int n)
{
    return image != nullptr && n >= 0 && n < image->mCelColumns * image->mCelRows;
}

} // namespace Lumo::BoardDraw
