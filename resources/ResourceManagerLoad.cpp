// ResourceManager: loading image, sound and font records.
#include "resources/ResourceManager.h"

#include <algorithm>

#include "app/Common.h"
#include "app/LumoAppBase.h"
#include "audio/SoundManager.h"
#include "fonts/FontData.h"
#include "fonts/ImageFont.h"
#include "fonts/SysFont.h"
#include "graphics/DDImage.h"
#include "graphics/MemoryImage.h"
#include "resources/ImageLib.h"

namespace Lumo {

bool ResourceManager::LoadImageRes(ImageRes& record)
{
    if (mApp == nullptr)
        return Fail(FormatString("Failed to load image: %s", record.mPath.c_str()));
    ImageLib::gAlphaOnlyColor = record.mAlphaColor;
    bool created = false;
    SharedImageHandle handle = mApp->AcquireSharedImage(record.mPath, record.mVariant, &created);
    ImageLib::gAlphaOnlyColor = 0xFFFFFF;
    if (handle.GetImage() == nullptr)
        return Fail(FormatString("Failed to load image: %s", record.mPath.c_str()));

    auto* image = dynamic_cast<MemoryImage*>(handle.GetImage());
    if (image != nullptr)
    {
        // The alpha goes into the image once, when it is made; an image whose
        // alpha failed before stays shared without it, so it is tried again.
        if (created || record.mAlphaPending)
        {
            record.mAlphaPending = true;
            if (!record.mAlphaImage.empty() && !ApplyAlphaImage(record, image))
                return false;
            if (!record.mAlphaGridImage.empty() && !ApplyAlphaGrid(record, image))
                return false;
            record.mAlphaPending = false;
        }
        ApplyImageSettings(record, image);
    }
    record.mImage = handle;
    OnResourceLoaded(&record);
    return true;
}

void ResourceManager::ApplyImageSettings(ImageRes& record, MemoryImage* image)
{
    image->CheckAlpha();
    image->mPurgeBits = record.mPurgeBits;
    if (record.mDDSurface)
    {
        image->CheckAlpha();
        if (!image->mHasAlpha)
        {
            image->mWantDisplaySurface = true;
            image->mPurgeBits = true;
        }
    }
    if (record.mPalletize)
    {
        if (image->mD3DTexture == nullptr)
            (void)image->Palletize();
        else
            image->mWantPalettize = true;
    }
    if (record.mA4R4G4B4)
        image->mImageFlags |= 4;
    if (record.mA8R8G8B8)
        image->mImageFlags |= 8;
    if (record.mMinimizeSubdivisions)
        image->mImageFlags |= 1;
    if (record.mAnimInfo.mAnimType != ANIMATION_NONE)
        image->mAnimationInfo = std::make_unique<AnimationInfo>(record.mAnimInfo);
    image->mCelRows = record.mRows;
    image->mCelColumns = record.mCols;
    if (image->mPurgeBits)
        image->PurgeBits();
}

// The low byte of each alpha-image pixel becomes the alpha of the pixel at
// the same place.
bool ResourceManager::ApplyAlphaImage(ImageRes& record, MemoryImage* image)
{
    std::unique_ptr<ImageLib::Image> alpha = ImageLib::ReadImageFile(record.mAlphaImage, true);
    if (!alpha)
        return Fail(FormatString("Failed to load image: %s", record.mAlphaImage.c_str()));
    if (alpha->GetWidth() != image->GetWidth() || alpha->GetHeight() != image->GetHeight())
        return Fail(FormatString("AlphaImage size mismatch between %s and %s", record.mPath.c_str(),
                                 record.mAlphaImage.c_str()));
    uint32_t* bits = image->GetBits();
    const uint32_t* source = alpha->GetBits();
    const size_t count = static_cast<size_t>(image->GetWidth()) * static_cast<size_t>(image->GetHeight());
    for (size_t i = 0; bits != nullptr && i < count; ++i)
        bits[i] = (bits[i] & 0x00FFFFFF) | ((source[i] & 0xFF) << 24);
    image->BitsChanged();
    return true;
}

// The alpha image is one cel; it gives the alpha of every cel of the grid.
bool ResourceManager::ApplyAlphaGrid(ImageRes& record, MemoryImage* image)
{
    std::unique_ptr<ImageLib::Image> alpha = ImageLib::ReadImageFile(record.mAlphaGridImage, true);
    if (!alpha)
        return Fail(FormatString("Failed to load image: %s", record.mAlphaGridImage.c_str()));
    const int rows = std::max(record.mRows, 1);
    const int cols = std::max(record.mCols, 1);
    const int celWidth = image->GetWidth() / cols;
    const int celHeight = image->GetHeight() / rows;
    if (alpha->GetWidth() != celWidth || alpha->GetHeight() != celHeight)
        return Fail(FormatString("GridAlphaImage size mismatch between %s and %s", record.mPath.c_str(),
                                 record.mAlphaGridImage.c_str()));
    uint32_t* bits = image->GetBits();
    const uint32_t* source = alpha->GetBits();
    const int width = image->GetWidth();
    for (int row = 0; bits != nullptr && row < rows; ++row)
        for (int col = 0; col < cols; ++col)
            for (int y = 0; y < celHeight; ++y)
            {
                uint32_t* line = bits + static_cast<size_t>(row * celHeight + y) * width + col * celWidth;
                const uint32_t* alphaLine = source + static_cast<size_t>(y) * celWidth;
                for (int x = 0; x < celWidth; ++x)
                    line[x] = (line[x] & 0x00FFFFFF) | ((alphaLine[x] & 0xFF) << 24);
            }
    image->BitsChanged();
    return true;
}

bool ResourceManager::LoadSoundRes(SoundRes& record)
{
    SoundManager* sounds = mApp != nullptr ? mApp->mSoundManager : nullptr;
    if (sounds == nullptr)
        return Fail(FormatString("Failed to load sound: %s", record.mPath.c_str()));
    const int id = sounds->FindFreeSoundId();
    if (id < 0)
        return Fail("Out of free sound ids");
    if (!sounds->LoadSound(static_cast<unsigned>(id), record.mPath))
        return Fail(FormatString("Failed to load sound: %s", record.mPath.c_str()));
    if (record.mVolume >= 0.0)
        (void)sounds->SetDefaultVolume(static_cast<unsigned>(id), record.mVolume);
    if (record.mPanning != 0)
        (void)sounds->SetDefaultPan(static_cast<unsigned>(id), record.mPanning);
    record.mSoundId = id;
    OnResourceLoaded(&record);
    return true;
}

bool ResourceManager::LoadFontRes(FontRes& record)
{
    std::shared_ptr<Image> fontImage;
    std::unique_ptr<Font> font = MakeFont(record, fontImage);
    if (!font || !FinishImageFont(record, *font))
        return false;
    record.mFont = std::move(font);
    record.mImage = std::move(fontImage);
    OnResourceLoaded(&record);
    return true;
}

// A system font, an image font from an image and a metrics file, a clone of
// a loaded font, or an image font from a description file. Null (error
// recorded) when it cannot be made.
std::unique_ptr<Font> ResourceManager::MakeFont(FontRes& record, std::shared_ptr<Image>& fontImage)
{
    if (record.mSysFont)
    {
        // The 9x family gets bold drawn twice instead of a bold face.
        const bool simulateBold = record.mBold && IsWindows9x();
        auto font = std::make_unique<SysFont>(record.mPath, record.mSize, record.mBold && !simulateBold,
                                              record.mItalic, record.mUnderline);
        font->mSimulateBold = simulateBold;
        font->mDrawShadow = record.mShadow;
        return font;
    }
    if (!record.mImagePath.empty())
    {
        if (mApp != nullptr)
            fontImage.reset(mApp->LoadImageFile(record.mImagePath));
        if (!fontImage)
        {
            Fail(FormatString("Failed to load image: %s", record.mImagePath.c_str()));
            return nullptr;
        }
        return std::make_unique<ImageFont>(fontImage, record.mPath);
    }
    if (record.mPath.compare(0, 5, "!ref:") == 0)
    {
        const std::string id = record.mPath.substr(5);
        Font* source = FindLoadedFont(id);
        if (source == nullptr)
        {
            Fail("Ref font not found: " + id);
            return nullptr;
        }
        return std::unique_ptr<Font>(source->Clone());
    }
    return std::make_unique<ImageFont>(mApp, record.mPath);
}

// An image font must have loaded; it then gets the record's tags.
bool ResourceManager::FinishImageFont(FontRes& record, Font& font)
{
    auto* imageFont = dynamic_cast<ImageFont*>(&font);
    if (imageFont == nullptr)
        return true;
    if (imageFont->GetFontData() == nullptr || !imageFont->GetFontData()->IsLoaded())
        return Fail(FormatString("Failed to load font: %s", record.mPath.c_str()));
    const char* separators = ", \r\n\t";
    size_t pos = record.mTags.find_first_not_of(separators);
    while (pos != std::string::npos)
    {
        const size_t end = record.mTags.find_first_of(separators, pos);
        (void)imageFont->AddTag(record.mTags.substr(pos, end == std::string::npos ? end : end - pos));
        pos = record.mTags.find_first_not_of(separators, end);
    }
    imageFont->EnsureActiveLayers();
    return true;
}

} // namespace Lumo
