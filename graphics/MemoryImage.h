#pragma once
// An image with 32-bit 0xAARRGGBB pixels in memory, drawn in software. The
// pixels are width x height words, row-major, without gaps. An image may
// instead hold its pixels as a palette of at most 256 colours with 8-bit
// indices (Palletize); GetBits rebuilds the 32-bit pixels from it, so a
// palettised image still draws.
//
// As a destination a MemoryImage is 0x8888: drawing composites over its own
// alpha, so what is drawn into a blank image keeps its transparency. The
// blending rules are in graphics/PixelOps.h.
//
// Threads: an image is used by one thread at a time (the loading thread makes
// and fills images that the main thread draws later).
#include <cstdint>
#include <memory>
#include <vector>

#include "graphics/AnimationInfo.h"
#include "graphics/Image.h"
#include "graphics/raster/PixelFormatCode.h"

namespace Lumo {

class ImageRegistry;

class MemoryImage : public Image
{
public:
    // An empty (0 x 0) image, registered with the application's set of images
    // when a registry is given.
    explicit MemoryImage(ImageRegistry* registry = nullptr);
    // A copy of the whole image: pixels (or palette), size, cel grid, flags and
    // animation; registered with the same registry.
    MemoryImage(const MemoryImage& other);
    ~MemoryImage() override;

    // A blank image of that size: every pixel 0 (transparent black). Sizes
    // below 0 count as 0.
    void Create(int width, int height);
    // The 32-bit pixels, created on demand (from the palette, or blank);
    // null for a 0 x 0 image. Changing them: call BitsChanged afterwards.
    uint32_t* GetBits();
    // Resizes the image to width x height and copies the 0xAARRGGBB pixels
    // from bits (width x height words; null leaves them blank). commit: bring
    // the alpha flags up to date now; otherwise at the next CheckAlpha.
    void SetBits(const uint32_t* bits, int width, int height, bool commit = true);

    // Brings mHasTrans and mHasAlpha up to date by scanning the pixels when a
    // re-check is due and the flags are not forced.
    void CheckAlpha();
    // The pixels were changed: derived data (the palette) is dropped and the
    // alpha flags are tested again.
    virtual void BitsChanged();
    // Converts the image to a palette of its distinct colours with 8-bit
    // indices, freeing the 32-bit pixels, when it has at most 256 of them.
    // False (and unchanged) otherwise or for an empty image; true when it
    // already is palettised.
    bool Palletize();
    bool IsPalettized() const { return !mColorIndices.empty(); }
    // The palette (256 entries, unused ones 0) and the indices; null when the
    // image is not palettised.
    const uint32_t* GetColorTable() const { return IsPalettized() ? mColorTable.data() : nullptr; }
    const uint8_t* GetColorIndices() const { return IsPalettized() ? mColorIndices.data() : nullptr; }
    // Frees the 32-bit pixels when another form holds them (the palette; a
    // palettise-later image is palettised first). Otherwise nothing changes.
    virtual void PurgeBits();
    // True when 32-bit pixels are currently allocated.
    bool HasBits() const { return !mBits.empty(); }

    // The pixel format that drawing into this image writes.
    virtual PixelFormatCode GetPixelFormat() const { return PIXEL_FORMAT_8888; }

    // Drawing primitives (see Image.h).
    void FillRect(const Rect& rect, const Color& color, DrawMode mode) override;
    void Blit(Image* source, int x, int y, const Rect& sourceRect, const Color& color, DrawMode mode) override;
    void BlitMirror(Image* source, int x, int y, const Rect& sourceRect, const Color& color, DrawMode mode) override;
    void BlitStretched(Image* source, const Rect& destRect, const Rect& sourceRect, const Rect& clip,
                       const Color& color, DrawMode mode, bool quick, bool mirror) override;
    void BlitMatrix(Image* source, const Matrix3& matrix, const Rect& clip, const Color& color, DrawMode mode,
                    const Rect& sourceRect, bool bilinear) override;
    void BlitTriangles(Image* texture, const TriVertex (*triangles)[3], int count, const Rect& clip,
                       const Color& color, DrawMode mode, float tx, float ty, bool bilinear) override;

    // Flags that the loaders and the resource manager read and set.
    bool mHasTrans = false;        // some pixel has alpha 0
    bool mHasAlpha = false;        // some pixel has alpha 1..254
    bool mForceAlphaFlags = false; // CheckAlpha leaves the two flags as they are
    bool mAlphaCheckDue = true;    // the pixels changed since the last scan
    bool mPurgeBits = false;       // free the 32-bit pixels once another form holds them
    bool mWantPalettize = false;   // palettise later (PurgeBits does it)
    bool mWantDisplaySurface = false; // asks for a display surface
    void* mD3DTexture = nullptr;   // 3D texture: always null here (no 3D acceleration)
    uint32_t mImageFlags = 0;      // 1 minimal subdivision, 4 A4R4G4B4, 8 A8R8G8B8
    std::unique_ptr<AnimationInfo> mAnimationInfo; // owned; null when not animated

protected:
    // Drawing wrote into the pixels: the palette is stale, the alpha flags are
    // re-checked when next needed.
    void PixelsDrawn();
    // The destination pixels for drawing (created on demand).
    uint32_t* DestBits();

private:
    ImageRegistry* mRegistry = nullptr;
    std::vector<uint32_t> mBits;
    std::vector<uint32_t> mColorTable;   // 256 entries when palettised
    std::vector<uint8_t> mColorIndices;  // width x height when palettised
};

} // namespace Lumo
