#include "platform/modules/j2kcodec/J2kImageConvert.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace Lumo::Platform {

namespace {

// Components beyond these make no part of the picture.
constexpr uint32_t kPictureComponents = 4;

uint32_t PictureComponents(const opj_image_t& image)
{
    return image.comps == nullptr ? 0 : std::min<uint32_t>(image.numcomps, kPictureComponents);
}

uint64_t CeilDiv(uint64_t value, uint64_t divisor)
{
    return (value + divisor - 1) / divisor;
}

// Where one component's samples lie on the image grid at a resolution level:
// sample (i, j) sits at grid point ((x0 + i) * dx, (y0 + j) * dy).
struct Placement
{
    uint64_t dx = 1;
    uint64_t dy = 1;
    uint64_t x0 = 0;
    uint64_t y0 = 0;
    uint64_t width = 0;
    uint64_t height = 0;
};

Placement Place(const opj_image_t& image, const opj_image_comp_t& component, uint32_t level)
{
    Placement place;
    place.dx = uint64_t{component.dx} << level;
    place.dy = uint64_t{component.dy} << level;
    place.x0 = CeilDiv(image.x0, place.dx);
    place.y0 = CeilDiv(image.y0, place.dy);
    place.width = CeilDiv(image.x1, place.dx) - place.x0;
    place.height = CeilDiv(image.y1, place.dy) - place.y0;
    return place;
}

// The index of the finest component, when every other picture component's
// steps are whole multiples of its steps.
std::optional<uint32_t> FinestComponent(const opj_image_t& image)
{
    const uint32_t count = PictureComponents(image);
    if (count == 0)
        return std::nullopt;
    uint32_t finest = 0;
    for (uint32_t c = 0; c < count; ++c)
    {
        const opj_image_comp_t& component = image.comps[c];
        if (component.dx == 0 || component.dy == 0)
            return std::nullopt;
        if (component.dx < image.comps[finest].dx ||
            (component.dx == image.comps[finest].dx && component.dy < image.comps[finest].dy))
            finest = c;
    }
    for (uint32_t c = 0; c < count; ++c)
        if (image.comps[c].dx % image.comps[finest].dx != 0 || image.comps[c].dy % image.comps[finest].dy != 0)
            return std::nullopt;
    return finest;
}

// For each picture column (or row), the index of the sample of a coarser
// component that covers it: the sample whose cell on the image grid holds the
// picture sample's grid point, the nearest one at the image's edges.
std::vector<uint32_t> SampleIndices(uint64_t pictureStart, uint64_t count, uint64_t ratio, uint64_t start,
                                    uint64_t samples)
{
    std::vector<uint32_t> indices(count);
    for (uint64_t i = 0; i < count; ++i)
    {
        const uint64_t cell = (pictureStart + i) / ratio;
        indices[i] = static_cast<uint32_t>(std::clamp(cell, start, start + samples - 1) - start);
    }
    return indices;
}

// Samples of one component as 8-bit values at the picture's pixel positions.
class ComponentReader
{
public:
    ComponentReader(const opj_image_comp_t& component, const Placement& own, const Placement& finest)
        : mComponent(component),
          mColumns(SampleIndices(finest.x0, finest.width, own.dx / finest.dx, own.x0, own.width)),
          mRows(SampleIndices(finest.y0, finest.height, own.dy / finest.dy, own.y0, own.height))
    {
        const uint32_t precision = std::clamp<uint32_t>(component.prec, 1, 31);
        mMax = (int64_t{1} << precision) - 1;
        mOffset = component.sgnd ? int64_t{1} << (precision - 1) : 0;
    }

    uint32_t At(uint32_t x, uint32_t y) const
    {
        const size_t index = size_t{mRows[y]} * mComponent.w + mColumns[x];
        const int64_t value = std::clamp<int64_t>(int64_t{mComponent.data[index]} + mOffset, 0, mMax);
        return static_cast<uint32_t>((value * 255 + mMax / 2) / mMax);
    }

private:
    const opj_image_comp_t& mComponent;
    std::vector<uint32_t> mColumns;
    std::vector<uint32_t> mRows;
    int64_t mMax;
    int64_t mOffset;
};

uint32_t Clamp8(int32_t value)
{
    return static_cast<uint32_t>(std::clamp(value, 0, 255));
}

// Full-range YCbCr (sYCC) to 0x00RRGGBB, in 16.16 fixed point.
uint32_t YccToRgb(uint32_t y, uint32_t cb, uint32_t cr)
{
    const int32_t u = static_cast<int32_t>(cb) - 128;
    const int32_t v = static_cast<int32_t>(cr) - 128;
    const int32_t luma = static_cast<int32_t>(y) << 16;
    const uint32_t r = Clamp8((luma + 91881 * v + 32768) >> 16);
    const uint32_t g = Clamp8((luma - 22554 * u - 46802 * v + 32768) >> 16);
    const uint32_t b = Clamp8((luma + 116130 * u + 32768) >> 16);
    return (r << 16) | (g << 8) | b;
}

} // namespace

std::optional<J2kGrid> J2kPictureGrid(const opj_image_t& image, uint32_t level)
{
    const std::optional<uint32_t> finest = FinestComponent(image);
    if (!finest || level > 31 || image.x1 <= image.x0 || image.y1 <= image.y0)
        return std::nullopt;
    for (uint32_t c = 0; c < PictureComponents(image); ++c)
    {
        const Placement place = Place(image, image.comps[c], level);
        if (place.width == 0 || place.height == 0)
            return std::nullopt;
    }
    const Placement place = Place(image, image.comps[*finest], level);
    return J2kGrid{static_cast<uint32_t>(place.width), static_cast<uint32_t>(place.height)};
}

bool J2kImageToArgb(const opj_image_t& image, uint32_t level, uint8_t* buffer, int64_t size, int64_t pitch)
{
    const std::optional<J2kGrid> grid = J2kPictureGrid(image, level);
    if (!grid || pitch < int64_t{grid->width} * 4 || size < pitch * grid->height)
        return false;
    const uint32_t count = PictureComponents(image);
    const Placement finest = Place(image, image.comps[*FinestComponent(image)], level);
    std::vector<ComponentReader> readers;
    readers.reserve(count);
    for (uint32_t c = 0; c < count; ++c)
    {
        const opj_image_comp_t& component = image.comps[c];
        const Placement own = Place(image, component, level);
        if (component.data == nullptr || component.w != own.width || component.h != own.height)
            return false;
        readers.emplace_back(component, own, finest);
    }
    const ComponentReader& first = readers[0];
    const ComponentReader& second = readers[count > 1 ? 1 : 0];
    const ComponentReader& third = readers[count > 2 ? 2 : 0];
    const bool ycc = count >= 3 && image.color_space == OPJ_CLRSPC_SYCC;
    for (uint32_t y = 0; y < grid->height; ++y)
    {
        auto* row = buffer + y * pitch;
        for (uint32_t x = 0; x < grid->width; ++x)
        {
            uint32_t pixel;
            if (count <= 2)
                pixel = first.At(x, y) * 0x010101u | (count == 2 ? second.At(x, y) << 24 : 0xFF000000u);
            else
            {
                const uint32_t a = first.At(x, y), b = second.At(x, y), c = third.At(x, y);
                pixel = (ycc ? YccToRgb(a, b, c) : (a << 16 | b << 8 | c)) |
                        (count == 4 ? readers[3].At(x, y) << 24 : 0xFF000000u);
            }
            std::memcpy(row + size_t{x} * 4, &pixel, sizeof(pixel));
        }
    }
    return true;
}

} // namespace Lumo::Platform
