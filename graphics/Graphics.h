#pragma once
// The drawing context: draws into a destination image with a translation, a
// clip rectangle, a colour, a draw mode, image tinting, quick stretching and a
// font. Every drawing call applies the translation (x + translation, the sum
// truncated toward zero), the clip rectangle and the draw mode.
//
// Rules every call keeps:
// - Images draw through their tint: with tinting on, each channel of the
//   source, alpha included, is multiplied by the current colour; with tinting
//   off the source draws as it is. Normal mode blends by alpha, additive mode
//   adds the source weighted by its alpha (graphics/PixelOps.h).
// - Source rectangles are clipped to the source image; nothing outside an
//   image is ever read. A cel index outside the grid, a source rectangle with
//   no pixels and a stretch to a zero or negative size draw nothing.
// - A stretch visits only the destination pixels inside the clip. Quick
//   stretching takes the nearest source pixel; otherwise the four nearest
//   source pixels are blended (bilinear, edges of the source rectangle
//   clamped; shrinking below half size skips pixels). A stretch to the
//   source's own size samples 1:1, exactly like DrawImage.
// - Rotated and transformed images go through the software triangle
//   rasteriser: they draw in normal mode whatever the draw mode, nothing until
//   InitTriangleDrawers has run, and nothing in the clip rectangle's last
//   column and row.
//
// A Graphics is used on one thread at a time; copies share the destination.
#include <string>
#include <vector>

#include "graphics/GraphicsState.h"
#include "graphics/Matrix3.h"

namespace Lumo {

class Graphics : public GraphicsState
{
public:
    // Draws into a placeholder image that draws nothing.
    Graphics();
    // Draws into the image (not owned; must outlive the Graphics). The clip
    // rectangle is the whole image.
    explicit Graphics(Image* destination);
    // A copy of the state (not of the saved states).
    Graphics(const Graphics& other);
    Graphics& operator=(const Graphics&) = delete;
    virtual ~Graphics();

    Image* GetDestImage() const { return mDestImage; }
    // True when drawing into the placeholder image (made without an image).
    bool IsPlaceholder() const;

    // Saves the whole state; PopState restores the last saved one (nothing
    // when none is saved).
    void PushState();
    void PopState();

    void Translate(float dx, float dy);
    void SetTranslation(float x, float y);
    float GetTransX() const { return mTransX; }
    float GetTransY() const { return mTransY; }

    const Color& GetColor() const { return mColor; }
    void SetColor(const Color& color) { mColor = color; }
    DrawMode GetDrawMode() const { return mDrawMode; }
    void SetDrawMode(DrawMode mode) { mDrawMode = mode; }
    void SetDrawMode(int mode) { mDrawMode = mode == DRAWMODE_ADDITIVE ? DRAWMODE_ADDITIVE : DRAWMODE_NORMAL; }
    bool GetImageTinting() const { return mColorizeImages; }
    void SetImageTinting(bool on) { mColorizeImages = on; }
    bool GetQuickStretch() const { return mFastStretch; }
    void SetQuickStretch(bool on) { mFastStretch = on; }
    Font* GetFont() const { return mFont; }
    void SetFont(Font* font) { mFont = font; }

    // The clip rectangle (x, y translated), intersected with the destination's
    // bounds.
    void SetClipRect(int x, int y, int width, int height);
    void SetClipRect(const Rect& rect) { SetClipRect(rect.mX, rect.mY, rect.mWidth, rect.mHeight); }
    // Narrows the current clip rectangle to (x, y, width, height), translated.
    void ClipRect(int x, int y, int width, int height);
    // The whole destination.
    void ClearClipRect();
    // In destination pixels (translation applied).
    const Rect& GetClipRect() const { return mClipRect; }

    // Fills with the current colour; nothing when its alpha is 0.
    virtual void FillRect(int x, int y, int width, int height);
    void FillRect(const Rect& rect) { FillRect(rect.mX, rect.mY, rect.mWidth, rect.mHeight); }
    // Fills the polygon of count points (even-odd rule; a pixel is inside when
    // its centre is) with the current colour and draw mode. convex is a hint
    // only: every polygon is filled correctly.
    virtual void FillPolygon(const Point* points, int count, bool convex = false);

    virtual void DrawImage(Image* image, int x, int y);
    // The part of the image in sourceRect with its top-left at (x, y).
    virtual void DrawImagePart(Image* image, int x, int y, const Rect& sourceRect);
    // Cel n of the image's grid (column n % cel columns, row n / cel columns).
    virtual void DrawImageCelIndex(Image* image, int x, int y, int n);
    // Cel (column, row) of the grid; nothing outside the grid.
    virtual void DrawImageCel(Image* image, int x, int y, int column, int row);
    virtual void DrawImageStretched(Image* image, int x, int y, int width, int height);
    virtual void DrawImagePartStretched(Image* image, const Rect& destRect, const Rect& sourceRect);
    // Mirrored left to right when mirror is set.
    virtual void DrawImageMirrored(Image* image, int x, int y, bool mirror = true);
    // Rotated by angle radians (clockwise on screen for a positive angle)
    // about the image's own centre; (x, y) is where the unrotated top-left
    // corner would be.
    virtual void DrawImageRotated(Image* image, int x, int y, double angle);
    // The image transformed by matrix about its centre, the centre placed at
    // (x, y) (pixel edges at whole numbers: an image of even width drawn at
    // the centre x + width / 2 covers the same columns as DrawImage at x).
    virtual void DrawImageTransformed(Image* image, const Matrix3& matrix, float x, float y);

    // Draws with the current font (not owned), colour and clip; nothing
    // without a font. y is the baseline.
    virtual void DrawString(const std::string& text, int x, int y);

    // Destination pixel of a local coordinate: the sum with the translation,
    // truncated toward zero (kept within the int range).
    int ToDestX(int x) const { return Translated(x, mTransX); }
    int ToDestY(int y) const { return Translated(y, mTransY); }

protected:
    static int Translated(int value, float translation);
    // The colour images are drawn with: the current colour when tinting,
    // otherwise opaque white.
    Color ImageColor() const { return mColorizeImages ? mColor : Color::White; }
    // Draws sourceRect (clipped to the image) at destination (x, y), clipped.
    void BlitClipped(Image* image, int destX, int destY, Rect sourceRect, bool mirror);
    void DrawMatrix(Image* image, const Matrix3& matrix);

private:
    std::vector<GraphicsState> mStateStack;
};

} // namespace Lumo
