// The software drawing primitives of MemoryImage (and so of DDImage): each
// checks its input, picks the pixel writer and runs one loop of BlitLoops.h.
#include <cmath>
#include <vector>

#include "graphics/BlitLoops.h"
#include "graphics/MemoryImage.h"
#include "graphics/raster/TriangleStrip.h"

namespace Lumo {

namespace {

using BlitLoops::PixelView;
using BlitLoops::SourceView;

// The source's pixels, or nothing when it has none. A source that is the
// destination itself is copied first, since the loops read and write in one pass.
struct SourcePixels
{
    SourceView view;
    MemoryImage* image = nullptr;
    std::vector<uint32_t> copy;

    bool Load(Image* source, MemoryImage* dest)
    {
        image = dynamic_cast<MemoryImage*>(source);
        if (image == nullptr)
            return false;
        image->CheckAlpha();
        const uint32_t* bits = image->GetBits();
        if (bits == nullptr)
            return false;
        if (image == dest)
        {
            copy.assign(bits, bits + static_cast<size_t>(image->mWidth) * static_cast<size_t>(image->mHeight));
            bits = copy.data();
        }
        view = SourceView{bits, image->mWidth, image->mHeight};
        return true;
    }

    bool IsOpaque() const { return !image->mHasTrans && !image->mHasAlpha; }
};

bool InsideImage(const Rect& rect, int width, int height)
{
    return !rect.IsEmpty() && rect.mX >= 0 && rect.mY >= 0 && rect.Right() <= width && rect.Bottom() <= height;
}

void CheckAlphaOf(TriangleTexture& texture)
{
    auto* image = static_cast<MemoryImage*>(texture.image);
    image->CheckAlpha();
    texture.bits = image->GetBits();
    texture.width = image->mWidth;
    texture.height = image->mHeight;
    texture.hasTrans = image->mHasTrans;
    texture.hasAlpha = image->mHasAlpha;
}

TriangleTexture TextureOf(MemoryImage* image)
{
    TriangleTexture texture;
    texture.image = image;
    texture.checkAlpha = &CheckAlphaOf;
    return texture;
}

RasterColor RasterColorOf(const Color& color)
{
    return RasterColor{.a = color.mAlpha, .r = color.mRed, .g = color.mGreen, .b = color.mBlue};
}

RasterRect RasterClipOf(const Rect& clip, int width, int height)
{
    Rect inside = clip.Intersection(Rect(0, 0, width, height));
    return RasterRect{inside.mX, inside.mY, inside.mWidth, inside.mHeight};
}

// True when the matrix maps whole pixels onto whole pixels (scales of +-1,
// quarter and half turns, within float rounding): such draws are snapped to the
// pixel grid so that they copy pixels exactly.
bool MapsPixelGrid(const Matrix3& m)
{
    auto near = [](float v, float target) { return std::fabs(v - target) < 1e-5f; };
    auto unitOrZero = [&](float v) { return near(v, 0.0f) || near(v, 1.0f) || near(v, -1.0f); };
    bool axes = unitOrZero(m.m[0][0]) && unitOrZero(m.m[0][1]) && unitOrZero(m.m[1][0]) && unitOrZero(m.m[1][1]);
    return axes && near(std::fabs(m.m[0][0] * m.m[1][1] - m.m[0][1] * m.m[1][0]), 1.0f);
}

} // namespace

void MemoryImage::FillRect(const Rect& rect, const Color& color, DrawMode mode)
{
    Rect area = rect.Intersection(Rect(0, 0, mWidth, mHeight));
    if (area.IsEmpty() || color.mAlpha <= 0)
        return;
    BlitLoops::FillRect(PixelView{DestBits(), mWidth, mHeight}, area, color, mode, GetPixelFormat());
    PixelsDrawn();
}

void MemoryImage::Blit(Image* source, int x, int y, const Rect& sourceRect, const Color& color, DrawMode mode)
{
    SourcePixels src;
    if (!src.Load(source, this) || !InsideImage(sourceRect, src.view.width, src.view.height) ||
        !InsideImage(Rect(x, y, sourceRect.mWidth, sourceRect.mHeight), mWidth, mHeight))
        return;
    PixelView dest{DestBits(), mWidth, mHeight};
    if (mode == DRAWMODE_NORMAL && color == Color::White && src.IsOpaque())
        BlitLoops::CopyRows(dest, x, y, src.view, sourceRect, false);
    else
        BlitLoops::WithWriter(GetPixelFormat(), mode, color, [&](const auto& write) {
            BlitLoops::BlitRows(dest, x, y, src.view, sourceRect, false, write);
        });
    PixelsDrawn();
}

void MemoryImage::BlitMirror(Image* source, int x, int y, const Rect& sourceRect, const Color& color, DrawMode mode)
{
    SourcePixels src;
    if (!src.Load(source, this) || !InsideImage(sourceRect, src.view.width, src.view.height) ||
        !InsideImage(Rect(x, y, sourceRect.mWidth, sourceRect.mHeight), mWidth, mHeight))
        return;
    PixelView dest{DestBits(), mWidth, mHeight};
    if (mode == DRAWMODE_NORMAL && color == Color::White && src.IsOpaque())
        BlitLoops::CopyRows(dest, x, y, src.view, sourceRect, true);
    else
        BlitLoops::WithWriter(GetPixelFormat(), mode, color, [&](const auto& write) {
            BlitLoops::BlitRows(dest, x, y, src.view, sourceRect, true, write);
        });
    PixelsDrawn();
}

void MemoryImage::BlitStretched(Image* source, const Rect& destRect, const Rect& sourceRect, const Rect& clip,
                                const Color& color, DrawMode mode, bool quick, bool mirror)
{
    SourcePixels src;
    if (destRect.IsEmpty() || !src.Load(source, this) || !InsideImage(sourceRect, src.view.width, src.view.height))
        return;
    PixelView dest{DestBits(), mWidth, mHeight};
    BlitLoops::WithWriter(GetPixelFormat(), mode, color, [&](const auto& write) {
        if (quick)
            BlitLoops::StretchNearest(dest, destRect, clip, src.view, sourceRect, mirror, write);
        else
            BlitLoops::StretchBilinear(dest, destRect, clip, src.view, sourceRect, mirror, write);
    });
    PixelsDrawn();
}

void MemoryImage::BlitMatrix(Image* source, const Matrix3& matrix, const Rect& clip, const Color& color,
                             DrawMode mode, const Rect& sourceRect, bool bilinear)
{
    auto* texture = dynamic_cast<MemoryImage*>(source);
    if (texture == nullptr || texture->mWidth <= 0 || texture->mHeight <= 0 ||
        !InsideImage(sourceRect, texture->mWidth, texture->mHeight))
        return;
    RasterRect rasterClip = RasterClipOf(clip, mWidth, mHeight);
    if (rasterClip.width <= 0 || rasterClip.height <= 0)
        return;

    const float w = static_cast<float>(sourceRect.mWidth);
    const float h = static_cast<float>(sourceRect.mHeight);
    const Vector2 corners[4] = {{0.0f, 0.0f}, {w, 0.0f}, {0.0f, h}, {w, h}};
    Vector2 snap;
    if (MapsPixelGrid(matrix))
    {
        Vector2 origin = matrix * corners[0];
        snap = Vector2(std::floor(origin.x + 0.5f) - origin.x, std::floor(origin.y + 0.5f) - origin.y);
    }
    TriVertex quad[4];
    for (int i = 0; i < 4; ++i)
    {
        // Pixel edges at whole numbers -> pixel centres at whole numbers.
        Vector2 p = matrix * corners[i] + snap;
        quad[i].x = p.x - 0.5f;
        quad[i].y = p.y - 0.5f;
        quad[i].u = (static_cast<float>(sourceRect.mX) + corners[i].x) / static_cast<float>(texture->mWidth);
        quad[i].v = (static_cast<float>(sourceRect.mY) + corners[i].y) / static_cast<float>(texture->mHeight);
    }
    TriangleTexture view = TextureOf(texture);
    uint32_t* bits = DestBits();
    DrawTriangleStrip(quad, 4, &view, RasterColorOf(color), mode, rasterClip, bits, mWidth * 4, GetPixelFormat(),
                      bilinear, false);
    PixelsDrawn();
}

void MemoryImage::BlitTriangles(Image* texture, const TriVertex (*triangles)[3], int count, const Rect& clip,
                                const Color& color, DrawMode mode, float tx, float ty, bool bilinear)
{
    auto* image = dynamic_cast<MemoryImage*>(texture);
    if (image == nullptr || triangles == nullptr || count <= 0)
        return;
    RasterRect rasterClip = RasterClipOf(clip, mWidth, mHeight);
    if (rasterClip.width <= 0 || rasterClip.height <= 0)
        return;
    TriangleTexture view = TextureOf(image);
    uint32_t* bits = DestBits();
    for (int t = 0; t < count; ++t)
    {
        TriVertex vertices[3];
        bool vertexColors = false;
        for (int i = 0; i < 3; ++i)
        {
            vertices[i] = triangles[t][i];
            vertices[i].x += tx;
            vertices[i].y += ty;
            vertexColors |= vertices[i].colour != 0u;
        }
        DrawTriangleStrip(vertices, 3, &view, RasterColorOf(color), mode, rasterClip, bits, mWidth * 4,
                          GetPixelFormat(), bilinear, vertexColors);
    }
    PixelsDrawn();
}

} // namespace Lumo
