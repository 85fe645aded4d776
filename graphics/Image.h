#pragma once
// The base of every image: a size, a grid of cels and the drawing primitives
// that Graphics calls on its destination. The base image has no pixels: its
// primitives draw nothing (a Graphics made without an image draws into one),
// and as a source it draws nothing. MemoryImage holds 32-bit pixels and draws
// in software.
//
// The primitives take destination pixel coordinates: Graphics has already
// applied its translation. Blit and BlitMirror expect a source rectangle that
// lies inside the source and a destination area that lies inside the
// destination (Graphics clips them); the stretched, matrix and triangle blits
// take the clip rectangle, which must lie inside the destination, and touch
// only pixels inside it.
//
// The colour of a blit is its tint: opaque white draws the source as it is;
// any other colour multiplies each channel of the source, alpha included.
#include <string>

#include "graphics/Color.h"
#include "graphics/DrawMode.h"
#include "graphics/Matrix3.h"
#include "graphics/Rect.h"
#include "graphics/raster/TriVertex.h"

namespace Lumo {

class Image
{
public:
    Image() = default;
    Image(const Image& other) = default;
    Image& operator=(const Image&) = delete;
    virtual ~Image() = default;

    int GetWidth() const { return mWidth; }
    int GetHeight() const { return mHeight; }
    // Width of one cel: width / cel columns (the whole width with a grid of 0 columns).
    int GetCelWidth() const { return mCelColumns > 0 ? mWidth / mCelColumns : mWidth; }
    int GetCelHeight() const { return mCelRows > 0 ? mHeight / mCelRows : mHeight; }
    // The rectangle of cel (column, row) in the image.
    Rect GetCelRect(int column, int row) const;
    // Cel n of the grid: column n % cel columns, row n / cel columns. An empty
    // rectangle when n lies outside the grid (negative included).
    Rect GetCelRectByIndex(int n) const;

    // --- Drawing primitives (see the header comment for the coordinates). ---

    // Fills the rectangle (already clipped) with the colour: normal mode blends
    // by the colour's alpha, additive mode adds.
    virtual void FillRect(const Rect& rect, const Color& color, DrawMode mode);
    // The source rectangle of the image drawn with its top-left at (x, y).
    virtual void Blit(Image* source, int x, int y, const Rect& sourceRect, const Color& color, DrawMode mode);
    // The same, mirrored left to right: the source rectangle's right column
    // lands at x.
    virtual void BlitMirror(Image* source, int x, int y, const Rect& sourceRect, const Color& color, DrawMode mode);
    // The source rectangle stretched into destRect, drawn only inside clip.
    // quick: nearest source pixel; otherwise bilinear between the four nearest
    // source pixels (edges of the source rectangle clamped). A destination of
    // the source's own size samples 1:1 either way.
    virtual void BlitStretched(Image* source, const Rect& destRect, const Rect& sourceRect, const Rect& clip,
                               const Color& color, DrawMode mode, bool quick, bool mirror);
    // The source rectangle transformed by matrix through the software
    // rasteriser. The matrix maps source coordinates, measured in pixels from
    // the source rectangle's top-left corner (pixel edges at whole numbers), to
    // destination coordinates (pixel edges at whole numbers). The rasteriser
    // draws every mode normally and writes nothing in the clip's last column
    // and row.
    virtual void BlitMatrix(Image* source, const Matrix3& matrix, const Rect& clip, const Color& color, DrawMode mode,
                            const Rect& sourceRect, bool bilinear);
    // Textured triangles: count triangles of three vertices each (x, y in
    // destination pixels, translated by tx, ty; u, v fractions of the texture).
    virtual void BlitTriangles(Image* texture, const TriVertex (*triangles)[3], int count, const Rect& clip,
                               const Color& color, DrawMode mode, float tx, float ty, bool bilinear);

    int mWidth = 0;
    int mHeight = 0;
    int mCelRows = 1;    // cels stacked vertically
    int mCelColumns = 1; // cels side by side
    std::string mFilePath; // the file the image was read from, when it was
};

} // namespace Lumo
