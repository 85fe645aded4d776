#include "tools/assetgen/Canvas.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <cstring>
#include <vector>

namespace Lumo::AssetGen {

Canvas::Canvas(int width, int height) : mWidth(width), mHeight(height)
{
    assert(width >= 1 && height >= 1);
    mSurface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    mCr = cairo_create(mSurface);
    cairo_set_antialias(mCr, CAIRO_ANTIALIAS_BEST);
}

Canvas::~Canvas()
{
    cairo_destroy(mCr);
    cairo_surface_destroy(mSurface);
}

namespace {

// One horizontal box pass over premultiplied 8-bit channels, from src into
// dst, along rows (stepX = 4 bytes) or columns (stepX = stride).
void BoxPass(const uint8_t* src, uint8_t* dst, int count, int lines, int step, int lineStep, int radius)
{
    const int window = 2 * radius + 1;
    for (int line = 0; line < lines; ++line)
    {
        const uint8_t* s = src + static_cast<ptrdiff_t>(line) * lineStep;
        uint8_t* d = dst + static_cast<ptrdiff_t>(line) * lineStep;
        for (int c = 0; c < 4; ++c)
        {
            int sum = 0;
            for (int i = -radius; i <= radius; ++i)
                if (i >= 0 && i < count)
                    sum += s[static_cast<ptrdiff_t>(i) * step + c];
            for (int i = 0; i < count; ++i)
            {
                d[static_cast<ptrdiff_t>(i) * step + c] = static_cast<uint8_t>((sum + window / 2) / window);
                const int out = i - radius;
                const int in = i + radius + 1;
                if (out >= 0)
                    sum -= s[static_cast<ptrdiff_t>(out) * step + c];
                if (in < count)
                    sum += s[static_cast<ptrdiff_t>(in) * step + c];
            }
        }
    }
}

} // namespace

void Canvas::Blur(int radius)
{
    if (radius < 1)
        return;
    cairo_surface_flush(mSurface);
    uint8_t* data = cairo_image_surface_get_data(mSurface);
    const int stride = cairo_image_surface_get_stride(mSurface);
    std::vector<uint8_t> temp(static_cast<size_t>(stride) * mHeight);
    for (int pass = 0; pass < 3; ++pass)
    {
        BoxPass(data, temp.data(), mWidth, mHeight, 4, stride, radius);
        BoxPass(temp.data(), data, mHeight, mWidth, stride, 4, radius);
    }
    cairo_surface_mark_dirty(mSurface);
}

void Canvas::Fade(double a)
{
    cairo_save(mCr);
    cairo_set_operator(mCr, CAIRO_OPERATOR_DEST_IN);
    cairo_set_source_rgba(mCr, 0, 0, 0, a);
    cairo_paint(mCr);
    cairo_restore(mCr);
}

void Canvas::Draw(const Canvas& other, double x, double y, double alpha)
{
    cairo_save(mCr);
    cairo_set_source_surface(mCr, other.mSurface, x, y);
    cairo_paint_with_alpha(mCr, alpha);
    cairo_restore(mCr);
}

std::unique_ptr<ImageLib::Image> Canvas::ToImage() const
{
    cairo_surface_flush(mSurface);
    auto image = std::make_unique<ImageLib::Image>();
    if (!image->Allocate(mWidth, mHeight))
        return image;
    const uint8_t* data = cairo_image_surface_get_data(mSurface);
    const int stride = cairo_image_surface_get_stride(mSurface);
    uint32_t* out = image->GetBits();
    for (int y = 0; y < mHeight; ++y)
    {
        const auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
        for (int x = 0; x < mWidth; ++x)
        {
            const uint32_t p = row[x];
            const uint32_t a = p >> 24;
            uint32_t pixel = 0;
            if (a != 0)
            {
                auto un = [a](uint32_t c) { return std::min<uint32_t>(255, (c * 255 + a / 2) / a); };
                pixel = (a << 24) | (un((p >> 16) & 0xFF) << 16) | (un((p >> 8) & 0xFF) << 8) | un(p & 0xFF);
            }
            *out++ = pixel;
        }
    }
    return image;
}

std::unique_ptr<Canvas> PaintSheet(int celWidth, int celHeight, int columns, int rows, const CelPainter& paint)
{
    auto sheet = std::make_unique<Canvas>(celWidth * columns, celHeight * rows);
    cairo_t* cr = sheet->cr();
    for (int row = 0; row < rows; ++row)
    {
        for (int column = 0; column < columns; ++column)
        {
            cairo_save(cr);
            cairo_translate(cr, column * celWidth, row * celHeight);
            cairo_rectangle(cr, 0, 0, celWidth, celHeight);
            cairo_clip(cr);
            cairo_new_path(cr);
            paint(cr, column, row);
            cairo_restore(cr);
        }
    }
    return sheet;
}

} // namespace Lumo::AssetGen
