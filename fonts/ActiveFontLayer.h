#pragma once
// A font layer as one ImageFont draws it at its current point size, scale
// and tags: the layer's own image, or a rescaled copy this layer owns, and
// the 256 glyph rectangles in that image.
#include <array>
#include <memory>

#include "graphics/MemoryImage.h"
#include "graphics/Rect.h"

namespace Lumo {

class FontLayer;

class ActiveFontLayer
{
public:
    explicit ActiveFontLayer(FontLayer* baseLayer) : mBaseFontLayer(baseLayer) {}
    // A copy owns its own duplicate of an owned (rescaled) image.
    ActiveFontLayer(const ActiveFontLayer& other);
    ActiveFontLayer& operator=(const ActiveFontLayer&) = delete;
    virtual ~ActiveFontLayer();

    // The image glyphs are drawn from: the base layer's (not owned) or the
    // rescaled one (owned); may be null.
    Image* GetImage() const { return mScaledImage; }
    bool OwnsImage() const { return mOwnedImage != nullptr; }
    void UseImage(Image* image);
    void OwnImage(std::unique_ptr<MemoryImage> image);

    FontLayer* mBaseFontLayer;
    std::array<Rect, 256> mScaledCharImageRects{};

private:
    Image* mScaledImage = nullptr;
    std::unique_ptr<MemoryImage> mOwnedImage;
};

} // namespace Lumo
