#include "graphics/MemoryImage.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "graphics/ImageRegistry.h"

namespace Lumo {

MemoryImage::MemoryImage(ImageRegistry* registry) : mRegistry(registry)
{
    if (mRegistry != nullptr)
        mRegistry->Add(this);
}

MemoryImage::MemoryImage(const MemoryImage& other)
    : Image(other), mHasTrans(other.mHasTrans), mHasAlpha(other.mHasAlpha), mForceAlphaFlags(other.mForceAlphaFlags),
      mAlphaCheckDue(other.mAlphaCheckDue), mPurgeBits(other.mPurgeBits), mWantPalettize(other.mWantPalettize),
      mWantDisplaySurface(other.mWantDisplaySurface), mImageFlags(other.mImageFlags), mRegistry(other.mRegistry),
      mBits(other.mBits), mColorTable(other.mColorTable), mColorIndices(other.mColorIndices)
{
    if (other.mAnimationInfo != nullptr)
        mAnimationInfo = std::make_unique<AnimationInfo>(*other.mAnimationInfo);
    if (mRegistry != nullptr)
        mRegistry->Add(this);
}

MemoryImage::~MemoryImage()
{
    if (mRegistry != nullptr)
        mRegistry->Remove(this);
}

void MemoryImage::Create(int width, int height)
{
    mWidth = std::max(width, 0);
    mHeight = std::max(height, 0);
    mBits.assign(static_cast<size_t>(mWidth) * static_cast<size_t>(mHeight), 0u);
    mColorTable.clear();
    mColorIndices.clear();
    mHasTrans = !mBits.empty();
    mHasAlpha = false;
    mAlphaCheckDue = false;
}

uint32_t* MemoryImage::GetBits()
{
    size_t count = static_cast<size_t>(std::max(mWidth, 0)) * static_cast<size_t>(std::max(mHeight, 0));
    if (count == 0)
        return nullptr;
    if (mBits.size() != count)
    {
        if (IsPalettized() && mColorIndices.size() == count)
        {
            mBits.resize(count);
            for (size_t i = 0; i < count; ++i)
                mBits[i] = mColorTable[mColorIndices[i]];
        }
        else
        {
            mBits.assign(count, 0u);
            mAlphaCheckDue = true;
        }
    }
    return mBits.data();
}

uint32_t* MemoryImage::DestBits()
{
    uint32_t* bits = GetBits();
    // Drawing changes the pixels: the palette no longer matches them.
    mColorTable.clear();
    mColorIndices.clear();
    return bits;
}

void MemoryImage::PixelsDrawn()
{
    mColorTable.clear();
    mColorIndices.clear();
    mAlphaCheckDue = true;
}

void MemoryImage::SetBits(const uint32_t* bits, int width, int height, bool commit)
{
    Create(width, height);
    if (bits != nullptr && !mBits.empty())
        std::memcpy(mBits.data(), bits, mBits.size() * sizeof(uint32_t));
    mAlphaCheckDue = true;
    if (commit)
        CheckAlpha();
}

void MemoryImage::CheckAlpha()
{
    if (!mAlphaCheckDue || mForceAlphaFlags)
        return;
    mAlphaCheckDue = false;
    bool hasTrans = false;
    bool hasAlpha = false;
    const uint32_t* bits = GetBits();
    size_t count = static_cast<size_t>(mWidth) * static_cast<size_t>(mHeight);
    for (size_t i = 0; i < count && !(hasTrans && hasAlpha); ++i)
    {
        uint32_t alpha = bits[i] >> 24;
        hasTrans |= alpha == 0;
        hasAlpha |= alpha != 0 && alpha != 255;
    }
    mHasTrans = hasTrans;
    mHasAlpha = hasAlpha;
}

void MemoryImage::BitsChanged()
{
    GetBits();
    mColorTable.clear();
    mColorIndices.clear();
    mD3DTexture = nullptr;
    mAlphaCheckDue = true;
    CheckAlpha();
}

bool MemoryImage::Palletize()
{
    if (IsPalettized())
        return true;
    const uint32_t* bits = GetBits();
    if (bits == nullptr)
        return false;
    CheckAlpha();
    size_t count = mBits.size();
    std::unordered_map<uint32_t, uint8_t> indexOf;
    std::vector<uint32_t> table;
    std::vector<uint8_t> indices(count);
    // Neighbouring pixels mostly repeat: the last colour skips the look-up.
    uint32_t lastColor = 0;
    uint8_t lastIndex = 0;
    bool haveLast = false;
    for (size_t i = 0; i < count; ++i)
    {
        if (haveLast && bits[i] == lastColor)
        {
            indices[i] = lastIndex;
            continue;
        }
        auto found = indexOf.find(bits[i]);
        if (found == indexOf.end())
        {
            if (table.size() == 256)
                return false;
            found = indexOf.emplace(bits[i], static_cast<uint8_t>(table.size())).first;
            table.push_back(bits[i]);
        }
        indices[i] = found->second;
        lastColor = bits[i];
        lastIndex = found->second;
        haveLast = true;
    }
    table.resize(256, 0u);
    mColorTable = std::move(table);
    mColorIndices = std::move(indices);
    mBits.clear();
    mBits.shrink_to_fit();
    return true;
}

void MemoryImage::PurgeBits()
{
    if (mWantPalettize)
    {
        mWantPalettize = false;
        Palletize();
    }
    if (IsPalettized())
    {
        mBits.clear();
        mBits.shrink_to_fit();
    }
}

} // namespace Lumo
