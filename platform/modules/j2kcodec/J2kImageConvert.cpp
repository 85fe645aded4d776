#include "platform/modules/j2kcodec/J2kImageConvert.h"

#include <algorithm>
#include <cstring>

namespace Lumo::Platform {

namespace {

// Samples of one component as 8-bit values at the output's pixel positions.
class ComponentReader
{
public:
    ComponentReader(const opj_image_comp_t& component, uint32_t width, uint32_t height)
        : mComponent(component), mWidth(width), mHeight(height)
    {
        const uint32_t precision = std::clamp<uint32_t>(component.prec, 1, 31);
        mMax = (int64_t{1} << precision) - 1;
        mOffset = component.sgnd ? int64_t{1} << (precision - 1) : 0;
    }

    bool IsUsable() const { return mComponent.data != nullptr && mComponent.w > 0 && mComponent.h > 0; }

    uint32_t At(uint32_t x, uint32_t y) const
    {
        const uint64_t cx = std::min<uint64_t>(uint64_t{x} * mComponent.w / mWidth, mComponent.w - 1);
        const uint64_t cy = std::min<uint64_t>(uint64_t{y} * mComponent.h / mHeight, mComponent.h - 1);
        const int64_t value = std::clamp<int64_t>(int64_t{mComponent.data[cy * mComponent.w + cx]} + mOffset, 0, mMax);
        return static_cast<uint32_t>((value * 255 + mMax / 2) / mMax);
    }

private:
    const opj_image_comp_t& mComponent;
    uint32_t mWidth;
    uint32_t mHeight;
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

bool J2kImageToArgb(const opj_image_t& image, uint8_t* buffer, int64_t size, int64_t pitch)
{
    if (image.numcomps == 0 || image.comps == nullptr)
        return false;
    const uint32_t width = image.comps[0].w;
    const uint32_t height = image.comps[0].h;
    if (width == 0 || height == 0 || pitch < int64_t{width} * 4 || size < pitch * height)
        return false;
    const uint32_t count = std::min<uint32_t>(image.numcomps, 4);
    const ComponentReader first(image.comps[0], width, height);
    const ComponentReader second(image.comps[count > 1 ? 1 : 0], width, height);
    const ComponentReader third(image.comps[count > 2 ? 2 : 0], width, height);
    const ComponentReader fourth(image.comps[count > 3 ? 3 : 0], width, height);
    if (!first.IsUsable() || !second.IsUsable() || !third.IsUsable() || !fourth.IsUsable())
        return false;
    const bool ycc = count >= 3 && image.color_space == OPJ_CLRSPC_SYCC;
    for (uint32_t y = 0; y < height; ++y)
    {
        auto* row = reinterpret_cast<uint32_t*>(buffer + y * pitch);
        for (uint32_t x = 0; x < width; ++x)
        {
            uint32_t pixel;
            if (count <= 2)
                pixel = first.At(x, y) * 0x010101u | (count == 2 ? second.At(x, y) << 24 : 0xFF000000u);
            else
            {
                const uint32_t a = first.At(x, y), b = second.At(x, y), c = third.At(x, y);
                pixel = (ycc ? YccToRgb(a, b, c) : (a << 16 | b << 8 | c)) |
                        (count == 4 ? fourth.At(x, y) << 24 : 0xFF000000u);
            }
            std::memcpy(row + x, &pixel, sizeof(pixel));
        }
    }
    return true;
}

} // namespace Lumo::Platform
