#include "graphics/Image.h"

namespace Lumo {

Rect Image::GetCelRect(int column, int row) const
{
    int celWidth = GetCelWidth();
    int celHeight = GetCelHeight();
    return Rect(column * celWidth, row * celHeight, celWidth, celHeight);
}

Rect Image::GetCelRectByIndex(int n) const
{
    int columns = mCelColumns > 0 ? mCelColumns : 1;
    int rows = mCelRows > 0 ? mCelRows : 1;
    if (n < 0 || n >= columns * rows)
        return Rect();
    return GetCelRect(n % columns, n / columns);
}

void Image::FillRect(const Rect&, const Color&, DrawMode) {}
void Image::Blit(Image*, int, int, const Rect&, const Color&, DrawMode) {}
void Image::BlitMirror(Image*, int, int, const Rect&, const Color&, DrawMode) {}
void Image::BlitStretched(Image*, const Rect&, const Rect&, const Rect&, const Color&, DrawMode, bool, bool) {}
void Image::BlitMatrix(Image*, const Matrix3&, const Rect&, const Color&, DrawMode, const Rect&, bool) {}
void Image::BlitTriangles(Image*, const TriVertex (*)[3], int, const Rect&, const Color&, DrawMode, float, float, bool) {}

} // namespace Lumo
