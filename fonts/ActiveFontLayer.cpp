#include "fonts/ActiveFontLayer.h"

#include "app/LumoAppBase.h"
#include "fonts/FontData.h"
#include "graphics/DDImage.h"

namespace Lumo {

ActiveFontLayer::ActiveFontLayer(const ActiveFontLayer& other)
    : mBaseFontLayer(other.mBaseFontLayer), mScaledCharImageRects(other.mScaledCharImageRects),
      mScaledImage(other.mScaledImage)
{
    if (!other.mOwnedImage)
        return;
    LumoAppBase* app = mBaseFontLayer != nullptr ? mBaseFontLayer->mFontData->mApp : nullptr;
    MemoryImage* source = other.mOwnedImage.get();
    std::unique_ptr<MemoryImage> copy;
    if (app != nullptr)
        copy.reset(app->DuplicateImage(source));
    if (!copy)
        copy = std::make_unique<MemoryImage>(*source);
    OwnImage(std::move(copy));
}

ActiveFontLayer::~ActiveFontLayer() = default;

void ActiveFontLayer::UseImage(Image* image)
{
    mOwnedImage.reset();
    mScaledImage = image;
}

void ActiveFontLayer::OwnImage(std::unique_ptr<MemoryImage> image)
{
    mOwnedImage = std::move(image);
    mScaledImage = mOwnedImage.get();
}

} // namespace Lumo
