#include "graphics/Graphics.h"

#include <algorithm>
#include <cmath>

#include "fonts/Font.h"
#include "graphics/Image.h"
#include "graphics/PolygonFill.h"

namespace Lumo {

namespace {

// The image a Graphics made without one draws into: it has no pixels and
// draws nothing.
Image& PlaceholderImage()
{
    static Image placeholder;
    return placeholder;
}

Rect BoundsOf(const Image* image)
{
    return Rect(0, 0, image->mWidth, image->mHeight);
}

} // namespace

Graphics::Graphics() : Graphics(&PlaceholderImage()) {}

Graphics::Graphics(Image* destination)
{
    mDestImage = destination != nullptr ? destination : &PlaceholderImage();
    mClipRect = BoundsOf(mDestImage);
}

Graphics::Graphics(const Graphics& other) : GraphicsState(other) {}

Graphics::~Graphics() = default;

int Graphics::Translated(int value, float translation)
{
    double sum = std::trunc(static_cast<double>(value) + static_cast<double>(translation));
    if (std::isnan(sum))
        return value;
    return static_cast<int>(std::clamp(sum, -2147483648.0, 2147483647.0));
}

bool Graphics::IsPlaceholder() const
{
    return mDestImage == &PlaceholderImage();
}

void Graphics::PushState()
{
    mStateStack.push_back(static_cast<const GraphicsState&>(*this));
}

void Graphics::PopState()
{
    if (mStateStack.empty())
        return;
    static_cast<GraphicsState&>(*this) = mStateStack.back();
    mStateStack.pop_back();
}

void Graphics::Translate(float dx, float dy)
{
    mTransX += dx;
    mTransY += dy;
}

void Graphics::SetTranslation(float x, float y)
{
    mTransX = x;
    mTransY = y;
}

void Graphics::SetClipRect(int x, int y, int width, int height)
{
    mClipRect = Rect(ToDestX(x), ToDestY(y), width, height).Intersection(BoundsOf(mDestImage));
}

void Graphics::ClipRect(int x, int y, int width, int height)
{
    mClipRect = mClipRect.Intersection(Rect(ToDestX(x), ToDestY(y), width, height));
}

void Graphics::ClearClipRect()
{
    mClipRect = BoundsOf(mDestImage);
}

void Graphics::FillRect(int x, int y, int width, int height)
{
    if (mColor.mAlpha <= 0)
        return;
    Rect area = Rect(ToDestX(x), ToDestY(y), width, height).Intersection(mClipRect);
    if (!area.IsEmpty())
        mDestImage->FillRect(area, mColor, mDrawMode);
}

void Graphics::FillPolygon(const Point* points, int count, bool convex)
{
    (void)convex;
    if (points == nullptr || count < 3 || mColor.mAlpha <= 0)
        return;
    std::vector<Point> translated(points, points + count);
    for (Point& p : translated)
        p = Point(ToDestX(p.mX), ToDestY(p.mY));
    ForEachPolygonSpan(translated.data(), count, mClipRect,
                       [&](int y, int x0, int x1) { mDestImage->FillRect(Rect(x0, y, x1 - x0, 1), mColor, mDrawMode); });
}

void Graphics::BlitClipped(Image* image, int destX, int destY, Rect sourceRect, bool mirror)
{
    // Keep the source rectangle inside the image, moving the destination with it.
    Rect inside = sourceRect.Intersection(BoundsOf(image));
    if (inside.IsEmpty())
        return;
    if (!mirror)
        destX += inside.mX - sourceRect.mX;
    else
        destX += sourceRect.Right() - inside.Right();
    destY += inside.mY - sourceRect.mY;
    sourceRect = inside;

    Rect dest = Rect(destX, destY, sourceRect.mWidth, sourceRect.mHeight).Intersection(mClipRect);
    if (dest.IsEmpty())
        return;
    int cutLeft = dest.mX - destX;
    int cutRight = (destX + sourceRect.mWidth) - dest.Right();
    int cutTop = dest.mY - destY;
    Rect part(sourceRect.mX + (mirror ? cutRight : cutLeft), sourceRect.mY + cutTop, dest.mWidth, dest.mHeight);
    if (mirror)
        mDestImage->BlitMirror(image, dest.mX, dest.mY, part, ImageColor(), mDrawMode);
    else
        mDestImage->Blit(image, dest.mX, dest.mY, part, ImageColor(), mDrawMode);
}

void Graphics::DrawImage(Image* image, int x, int y)
{
    if (image != nullptr)
        BlitClipped(image, ToDestX(x), ToDestY(y), BoundsOf(image), false);
}

void Graphics::DrawImagePart(Image* image, int x, int y, const Rect& sourceRect)
{
    if (image != nullptr)
        BlitClipped(image, ToDestX(x), ToDestY(y), sourceRect, false);
}

void Graphics::DrawImageCelIndex(Image* image, int x, int y, int n)
{
    if (image == nullptr)
        return;
    Rect cel = image->GetCelRectByIndex(n);
    if (!cel.IsEmpty())
        BlitClipped(image, ToDestX(x), ToDestY(y), cel, false);
}

void Graphics::DrawImageCel(Image* image, int x, int y, int column, int row)
{
    if (image == nullptr || column < 0 || row < 0 || column >= image->mCelColumns || row >= image->mCelRows)
        return;
    BlitClipped(image, ToDestX(x), ToDestY(y), image->GetCelRect(column, row), false);
}

void Graphics::DrawImageMirrored(Image* image, int x, int y, bool mirror)
{
    if (image != nullptr)
        BlitClipped(image, ToDestX(x), ToDestY(y), BoundsOf(image), mirror);
}

void Graphics::DrawImageStretched(Image* image, int x, int y, int width, int height)
{
    if (image != nullptr)
        DrawImagePartStretched(image, Rect(x, y, width, height), BoundsOf(image));
}

void Graphics::DrawImagePartStretched(Image* image, const Rect& destRect, const Rect& sourceRect)
{
    if (image == nullptr || destRect.IsEmpty() || sourceRect.IsEmpty())
        return;
    Rect dest(ToDestX(destRect.mX), ToDestY(destRect.mY), destRect.mWidth, destRect.mHeight);
    if (dest.mWidth == sourceRect.mWidth && dest.mHeight == sourceRect.mHeight)
    {
        BlitClipped(image, dest.mX, dest.mY, sourceRect, false);
        return;
    }
    // A source rectangle reaching outside the image: keep the part inside and
    // the matching part of the destination.
    Rect inside = sourceRect.Intersection(BoundsOf(image));
    if (inside.IsEmpty())
        return;
    if (inside != sourceRect)
    {
        auto scaleX = [&](int sx) {
            return dest.mX + static_cast<int>(static_cast<int64_t>(sx - sourceRect.mX) * dest.mWidth / sourceRect.mWidth);
        };
        auto scaleY = [&](int sy) {
            return dest.mY +
                   static_cast<int>(static_cast<int64_t>(sy - sourceRect.mY) * dest.mHeight / sourceRect.mHeight);
        };
        int left = scaleX(inside.mX), right = scaleX(inside.Right());
        int top = scaleY(inside.mY), bottom = scaleY(inside.Bottom());
        dest = Rect(left, top, right - left, bottom - top);
        if (dest.IsEmpty())
            return;
    }
    mDestImage->BlitStretched(image, dest, inside, mClipRect, ImageColor(), mDrawMode, mFastStretch, false);
}

void Graphics::DrawMatrix(Image* image, const Matrix3& matrix)
{
    if (mClipRect.IsEmpty())
        return;
    mDestImage->BlitMatrix(image, matrix, mClipRect, ImageColor(), mDrawMode, BoundsOf(image), false);
}

void Graphics::DrawImageRotated(Image* image, int x, int y, double angle)
{
    if (image == nullptr || image->mWidth <= 0 || image->mHeight <= 0)
        return;
    float halfW = static_cast<float>(image->mWidth) / 2.0f;
    float halfH = static_cast<float>(image->mHeight) / 2.0f;
    float cx = static_cast<float>(ToDestX(x)) + halfW;
    float cy = static_cast<float>(ToDestY(y)) + halfH;
    Matrix3 m = Matrix3::Translation(cx, cy) * Matrix3::Rotation(static_cast<float>(angle)) *
                Matrix3::Translation(-halfW, -halfH);
    DrawMatrix(image, m);
}

void Graphics::DrawImageTransformed(Image* image, const Matrix3& matrix, float x, float y)
{
    if (image == nullptr || image->mWidth <= 0 || image->mHeight <= 0)
        return;
    float halfW = static_cast<float>(image->mWidth) / 2.0f;
    float halfH = static_cast<float>(image->mHeight) / 2.0f;
    Matrix3 m = Matrix3::Translation(x + mTransX, y + mTransY) * matrix * Matrix3::Translation(-halfW, -halfH);
    DrawMatrix(image, m);
}

void Graphics::DrawString(const std::string& text, int x, int y)
{
    if (mFont != nullptr)
        mFont->DrawString(this, x, y, text, mColor, mClipRect);
}

} // namespace Lumo
