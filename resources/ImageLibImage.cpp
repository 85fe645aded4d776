#include "resources/ImageLibImage.h"

#include <cassert>
#include <new>

namespace Lumo::ImageLib {

bool Image::Allocate(int width, int height, bool zeroed)
{
    assert(width >= 1 && height >= 1);
    const int64_t count = int64_t{width} * int64_t{height};
    if (count > kMaxImagePixels)
        return false;
    const auto size = static_cast<size_t>(count);
    std::unique_ptr<uint32_t[]> bits(zeroed ? new (std::nothrow) uint32_t[size]()
                                            : new (std::nothrow) uint32_t[size]);
    if (!bits)
        return false;
    mBits = std::move(bits);
    mWidth = width;
    mHeight = height;
    return true;
}

} // namespace Lumo::ImageLib
