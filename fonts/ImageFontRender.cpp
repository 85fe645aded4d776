// Active layers, measuring and drawing of image fonts.
#include <algorithm>
#include <climits>

#include "app/Common.h"
#include "fonts/FontData.h"
#include "fonts/FontScale.h"
#include "fonts/GlyphDrawQueue.h"
#include "fonts/ImageFont.h"
#include "graphics/Graphics.h"
#include "graphics/MemoryImage.h"
#include "platform/DebugOutput.h"

namespace Lumo {

using FontScale::Scaled;

namespace {

int ClampToInt(long long value)
{
    return static_cast<int>(std::clamp<long long>(value, INT_MIN / 2, INT_MAX / 2));
}

int Channel(int value)
{
    return std::clamp(value, 0, 255);
}

// The layer's colour applied to the given one: mult x colour / 255 + add.
Color LayerColor(const FontLayer& layer, const Color& color)
{
    auto mix = [](int mult, int given, int add) { return Channel(Channel(mult) * Channel(given) / 255 + add); };
    const Color& m = layer.mColorMult;
    const Color& a = layer.mColorAdd;
    return Color(mix(m.mRed, color.mRed, a.mRed), mix(m.mGreen, color.mGreen, a.mGreen),
                 mix(m.mBlue, color.mBlue, a.mBlue), mix(m.mAlpha, color.mAlpha, a.mAlpha));
}

} // namespace

double ImageFont::ScaleFactor(const FontLayer& layer) const
{
    return FontScale::Factor(layer.mPointSize, mPointSize, mScale);
}

bool ImageFont::LayerTakesPart(const FontLayer& layer) const
{
    if (mPointSize < layer.mMinPointSize)
        return false;
    if (layer.mMaxPointSize != -1 && mPointSize > layer.mMaxPointSize)
        return false;
    for (const std::string& required : layer.mRequiredTags)
        if (std::find(mTagVector.begin(), mTagVector.end(), required) == mTagVector.end())
            return false;
    for (const std::string& tag : mTagVector)
        if (std::find(layer.mExcludedTags.begin(), layer.mExcludedTags.end(), tag) != layer.mExcludedTags.end())
            return false;
    return true;
}

void ImageFont::BuildActiveLayers()
{
    if (!mFontData->IsLoaded())
        return;
    mActiveLayerList.clear();
    mAscent = 0;
    mAscentPadding = 0;
    mHeight = 0;
    mLineSpacingOffset = 0;
    // The rescaled images of all layers share one budget; a layer that does
    // not fit keeps its scaled glyph rectangles but gets an empty image.
    long long pixelsLeft = FontScale::kMaxFontImagePixels;
    int leftOut = 0;
    for (FontLayer& layer : mFontData->mFontLayerList)
    {
        if (!LayerTakesPart(layer))
            continue;
        ActiveFontLayer& active = mActiveLayerList.emplace_back(&layer);
        if (!FontScale::NeedsRescale(layer.mPointSize, mPointSize, mScale))
        {
            active.UseImage(layer.mImage.GetImage());
            for (size_t i = 0; i < 256; ++i)
                active.mScaledCharImageRects[i] = layer.mCharData[i].mImageRect;
            continue;
        }
        const double factor = ScaleFactor(layer);
        const long long cost = FontScale::BudgetCost(FontScale::ScaledStripOf(layer.mCharData, factor));
        const bool fits = cost <= pixelsLeft;
        if (fits)
            pixelsLeft -= cost;
        else
            ++leftOut;
        BuildScaledImage(active, layer, factor, fits);
    }
    if (leftOut > 0)
        Platform::Log("FONT", FormatString("the rescaled font would need more than %lld pixels; %d of its layers "
                                           "are not drawn",
                                           FontScale::kMaxFontImagePixels, leftOut));
    UpdateMetrics();
}

void ImageFont::BuildScaledImage(ActiveFontLayer& active, const FontLayer& layer, double factor, bool makeImage)
{
    long long runningX = 0;
    int tallest = 0;
    for (size_t i = 0; i < 256; ++i)
    {
        const Rect& source = layer.mCharData[i].mImageRect;
        const int width = std::max(0, Scaled(source.mWidth, factor));
        const int height = std::max(0, Scaled(source.mHeight, factor));
        active.mScaledCharImageRects[i] = Rect(static_cast<int>(runningX), 0, width, height);
        runningX += width;
        tallest = std::max(tallest, height);
    }
    auto image = std::make_unique<MemoryImage>();
    if (!makeImage)
    {
        active.OwnImage(std::move(image));
        return;
    }
    image->Create(static_cast<int>(runningX), tallest);
    Image* layerImage = layer.mImage.GetImage();
    if (layerImage != nullptr && image->GetBits() != nullptr)
    {
        Graphics g(image.get());
        for (size_t i = 0; i < 256; ++i)
            if (!active.mScaledCharImageRects[i].IsEmpty() && !layer.mCharData[i].mImageRect.IsEmpty())
                g.DrawImagePartStretched(layerImage, active.mScaledCharImageRects[i], layer.mCharData[i].mImageRect);
    }
    if (mForceScaledImagesWhite && image->GetBits() != nullptr)
    {
        uint32_t* bits = image->GetBits();
        const size_t count = static_cast<size_t>(image->GetWidth()) * static_cast<size_t>(image->GetHeight());
        for (size_t i = 0; i < count; ++i)
            bits[i] |= 0x00FFFFFFu;
        image->BitsChanged();
    }
    (void)image->Palletize();
    active.OwnImage(std::move(image));
}

void ImageFont::UpdateMetrics()
{
    bool first = true;
    for (const ActiveFontLayer& active : mActiveLayerList)
    {
        const FontLayer& layer = *active.mBaseFontLayer;
        const double factor = ScaleFactor(layer);
        const int height = Scaled(layer.mHeight != 0 ? layer.mHeight : layer.mDefaultHeight, factor);
        const int padding = Scaled(layer.mAscentPadding, factor);
        const int spacingOffset = Scaled(layer.mLineSpacingOffset, factor);
        mAscent = std::max(mAscent, Scaled(layer.mAscent, factor));
        mHeight = std::max(mHeight, height);
        mAscentPadding = first ? padding : std::min(mAscentPadding, padding);
        mLineSpacingOffset = first ? spacingOffset : std::max(mLineSpacingOffset, spacingOffset);
        first = false;
    }
}

int ImageFont::GetKernedCharWidth(char character, char previous)
{
    EnsureActiveLayers();
    const uint8_t c = mFontData->mCharMap[static_cast<uint8_t>(character)];
    const uint8_t p = previous == 0 ? 0 : mFontData->mCharMap[static_cast<uint8_t>(previous)];
    int widest = 0;
    for (const ActiveFontLayer& active : mActiveLayerList)
    {
        const FontLayer& layer = *active.mBaseFontLayer;
        const double factor = ScaleFactor(layer);
        int width = Scaled(layer.mCharData[c].mWidth, factor);
        if (p != 0)
            width += Scaled(static_cast<long long>(layer.mCharData[p].mKerningOffsets[c]) + layer.mSpacing, factor);
        widest = std::max(widest, width);
    }
    return widest;
}

int ImageFont::GetCharWidth(char character)
{
    return GetKernedCharWidth(character, 0);
}

int ImageFont::GetStringWidth(const std::string& text)
{
    long long width = 0;
    char previous = 0;
    for (char c : text)
    {
        width += GetKernedCharWidth(c, previous);
        previous = c;
    }
    return static_cast<int>(std::min<long long>(width, INT_MAX));
}

void ImageFont::DrawString(Graphics* g, int x, int y, const std::string& text, const Color& color,
                           const Rect& clipRect)
{
    RenderString(g, x, y, text, color, clipRect, nullptr, nullptr);
}

void ImageFont::RenderString(Graphics* g, int x, int y, const std::string& text, const Color& color,
                             const Rect& clipRect, std::vector<Rect>* rects, int* width)
{
    (void)clipRect; // the Graphics clips
    GlyphDrawQueue& queue = GlyphDrawQueue::Get();
    CriticalSectionGuard guard(queue.GetLock());
    queue.Clear();
    if (rects != nullptr)
        rects->clear();
    if (!mFontData->IsLoaded() || g == nullptr)
    {
        if (width != nullptr)
            *width = 0;
        return;
    }
    EnsureActiveLayers();
    const bool tinting = g->GetImageTinting();
    g->SetImageTinting(true);

    long long penX = x;
    long long rightEdge = x;
    bool full = false;
    for (size_t i = 0; i < text.size() && !full; ++i)
    {
        const uint8_t c = mFontData->mCharMap[static_cast<uint8_t>(text[i])];
        const uint8_t n = i + 1 < text.size() ? mFontData->mCharMap[static_cast<uint8_t>(text[i + 1])] : 0;
        for (const ActiveFontLayer& active : mActiveLayerList)
        {
            if (queue.IsFull())
            {
                full = true; // the rest of the string is neither queued nor advanced
                break;
            }
            const FontLayer& layer = *active.mBaseFontLayer;
            const GlyphInfo& glyph = layer.mCharData[c];
            const double factor = ScaleFactor(layer);
            GlyphDrawCommand command;
            command.mImage = active.GetImage();
            command.mDestX = ClampToInt(penX + Scaled(static_cast<long long>(glyph.mOffset.mX) + layer.mOffset.mX, factor));
            command.mDestY = ClampToInt(static_cast<long long>(y) -
                                        Scaled(static_cast<long long>(layer.mAscent) - glyph.mOffset.mY - layer.mOffset.mY, factor));
            command.mSrcRect = active.mScaledCharImageRects[c];
            command.mDrawMode = layer.mDrawMode;
            command.mColor = LayerColor(layer, color);
            const long long advance = Scaled(glyph.mWidth, factor);
            const long long kerning =
                n != 0 ? Scaled(static_cast<long long>(glyph.mKerningOffsets[n]) + layer.mSpacing, factor) : 0;
            queue.Queue(command, GlyphDrawQueue::BucketFor(static_cast<long long>(glyph.mOrder) + layer.mBaseOrder));
            if (rects != nullptr)
                rects->emplace_back(command.mDestX, command.mDestY, command.mSrcRect.mWidth, command.mSrcRect.mHeight);
            rightEdge = std::max(rightEdge, penX + advance + kerning);
        }
        if (!full)
            penX = rightEdge;
    }
    if (width != nullptr)
        *width = ClampToInt(rightEdge - x);

    const Color savedColor = g->GetColor();
    queue.DrawAll(g);
    g->SetColor(savedColor);
    g->SetImageTinting(tinting);
}

} // namespace Lumo
