#pragma once
// An image that can live on a display surface. Here the surface is a memory
// surface over the image's own 32-bit pixels (DDSurface), built on demand; the
// image keeps a lock count and its locked surface description, so a locked
// surface can be unlocked and locked again. The display's screen image is a
// DDImage drawn as 0x888 (its alpha byte is not used); every other DDImage
// draws like a MemoryImage (0x8888).
#include <memory>

#include "graphics/DDSurface.h"
#include "graphics/MemoryImage.h"

namespace Lumo {

class DDImage : public MemoryImage
{
public:
    explicit DDImage(ImageRegistry* registry = nullptr);
    // A copy of the whole image (pixels, grid, flags, animation); the copy has
    // no surface yet and is not a screen image.
    explicit DDImage(const MemoryImage& other);
    DDImage(const DDImage& other);
    ~DDImage() override;

    // The display surface, built on demand; null for an empty image.
    DDSurface* GetSurface();
    // Counted lock of the surface: the first lock locks it and keeps its
    // description; later ones only count. False when it cannot be locked.
    [[nodiscard]] bool LockSurface();
    // Undoes one LockSurface; the last one unlocks the surface.
    void UnlockSurface();
    int GetLockCount() const { return mLockCount; }
    // The description kept by the first lock (empty while not locked).
    const SurfaceDesc& GetLockedSurfaceDesc() const { return mLockedSurfaceDesc; }

    // The surface now holds the pixels (something drew through its device
    // context): data derived from the memory copy is dropped. The surface lies
    // over the pixels, so they are kept.
    void FreeMemoryData();
    // Keeps the pixels while a surface lies over them.
    void PurgeBits() override;

    // Marks this image as the display's screen image (drawn as 0x888).
    void SetScreenImage(bool isScreen) { mIsScreen = isScreen; }
    bool IsScreenImage() const { return mIsScreen; }
    PixelFormatCode GetPixelFormat() const override { return mIsScreen ? PIXEL_FORMAT_888 : PIXEL_FORMAT_8888; }

private:
    std::unique_ptr<DDSurface> mSurface;
    int mLockCount = 0;
    SurfaceDesc mLockedSurfaceDesc;
    bool mIsScreen = false;
};

} // namespace Lumo
