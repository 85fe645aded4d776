#pragma once
// A cairo ARGB32 drawing surface of a fixed size, and the conversion of what
// was drawn into an ImageLib image (straight, not premultiplied, alpha).
#include <cairo.h>

#include <functional>
#include <memory>

#include "resources/ImageLibImage.h"

namespace Lumo::AssetGen {

class Canvas
{
public:
    // A transparent width x height surface (both >= 1).
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_t* cr() const { return mCr; }
    cairo_surface_t* Surface() const { return mSurface; }
    int Width() const { return mWidth; }
    int Height() const { return mHeight; }

    // Box-blurs the whole surface (three passes, roughly Gaussian) with the
    // given radius in pixels; used for glows and soft shadows.
    void Blur(int radius);
    // Multiplies every pixel's alpha (and, premultiplied, its colour) by a.
    void Fade(double a);
    // Draws another canvas onto this one at (x, y) with the given alpha.
    void Draw(const Canvas& other, double x, double y, double alpha = 1.0);

    [[nodiscard]] std::unique_ptr<ImageLib::Image> ToImage() const;

private:
    int mWidth;
    int mHeight;
    cairo_surface_t* mSurface;
    cairo_t* mCr;
};

// Paints one cel of a sheet; the context is translated so that the cel's
// top-left is (0, 0) and clipped to the cel, and restored afterwards.
using CelPainter = std::function<void(cairo_t* cr, int column, int row)>;

// A sheet of columns x rows cels of celWidth x celHeight.
std::unique_ptr<Canvas> PaintSheet(int celWidth, int celHeight, int columns, int rows, const CelPainter& paint);

} // namespace Lumo::AssetGen
