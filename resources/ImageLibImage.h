#pragma once
// The result of every image-file reader and the input of the writers: a plain
// array of 32-bit pixels, nothing tied to the display.
#include <cstdint>
#include <memory>

namespace Lumo::ImageLib {

// Largest image the readers accept: 16M pixels (4096 x 4096, 64 MB of
// pixels), far above any screen-sized asset. Larger sizes in a file header are
// refused as bad data instead of being allocated.
inline constexpr int64_t kMaxImagePixels = int64_t{1} << 24;

// Width x height pixels, each 0xAARRGGBB (alpha in bits 24-31, red 16-23,
// green 8-15, blue 0-7), rows top to bottom with no gap between them.
// An empty image (the default) has 0 x 0 pixels and no pixel array.
class Image
{
public:
    Image() = default;
    virtual ~Image() = default;
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    int GetWidth() const { return mWidth; }
    int GetHeight() const { return mHeight; }
    // Null for an empty image; else width x height pixels owned by the image.
    uint32_t* GetBits() { return mBits.get(); }
    const uint32_t* GetBits() const { return mBits.get(); }

    // Replaces the pixels with a new array of width x height pixels (both >= 1)
    // whose contents are undefined until written, or zero when zeroed is set.
    // False, and the image unchanged, when the size is over kMaxImagePixels or
    // the memory cannot be had.
    [[nodiscard]] bool Allocate(int width, int height, bool zeroed = false);

private:
    struct FreeDeleter
    {
        void operator()(uint32_t* bits) const;
    };

    int mWidth = 0;
    int mHeight = 0;
    std::unique_ptr<uint32_t, FreeDeleter> mBits;
};

} // namespace Lumo::ImageLib
