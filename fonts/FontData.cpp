#include "fonts/FontData.h"

#include <algorithm>
#include <cmath>

#include "app/Common.h"
#include "app/LumoAppBase.h"
#include "fonts/FontScale.h"
#include "platform/DebugOutput.h"

namespace Lumo {

FontData::FontData()
{
    for (int i = 0; i < 256; ++i)
        mCharMap[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
}

FontData::~FontData() = default;

void FontData::AddRef()
{
    ++mRefCount;
}

void FontData::Release()
{
    if (--mRefCount <= 0)
        delete this;
}

bool FontData::LoadDescription(LumoAppBase* app, const std::string& path)
{
    if (mInitialized)
        return false;
    mApp = app;
    mCurrentLine.clear();
    mFontErrorHeader = "Font Descriptor Error in " + path + "\r\n";
    mSourceFile = path;
    mInitialized = ReadDescriptionFile(path);
    return true;
}

bool FontData::FindLayer(const DataElement& element, FontLayer*& layer)
{
    layer = nullptr;
    if (element.mIsList)
        return false;
    auto found = mFontLayerMap.find(ToUpperCase(static_cast<const SingleDataElement&>(element).mString));
    if (found == mFontLayerMap.end())
        return ReportError("Undefined Layer");
    layer = found->second;
    return true;
}

bool FontData::ResolveColor(const DataElement& element, Color& color)
{
    if (!element.mIsList)
    {
        int packed = 0;
        if (!StringToInt(static_cast<const SingleDataElement&>(element).mString, packed))
            return false;
        color = Color(packed);
        return true;
    }
    std::vector<double> fractions;
    if (!ResolveDoubleList(element, fractions) || fractions.size() < 4)
        return false;
    auto channel = [](double fraction) {
        const double value = std::clamp(fraction * 255.0, 0.0, 255.0);
        return static_cast<int>(value);
    };
    color = Color(channel(fractions[0]), channel(fractions[1]), channel(fractions[2]), channel(fractions[3]));
    return true;
}

bool FontData::ReportError(const std::string& text)
{
    if (mApp == nullptr)
    {
        Platform::Log("FONT", mSourceFile + ": " + text);
        return false;
    }
    std::string message = mFontErrorHeader + text;
    if (!mCurrentLine.empty())
        message += " on Line " + FormatString("%d:\r\n\r\n", mCurrentLineNum) + mCurrentLine;
    mApp->ShowFatalError(message);
    return false;
}

long long FontData::DefaultSizeImageCost(const FontLayer& layer, const LayerImageCost& cost) const
{
    const int pointSize = mDefaultPointSize;
    if (pointSize < layer.mMinPointSize || (layer.mMaxPointSize != -1 && pointSize > layer.mMaxPointSize))
        return 0;
    if (!FontScale::NeedsRescale(layer.mPointSize, pointSize, 1.0))
        return 0;
    const double factor = FontScale::Factor(layer.mPointSize, pointSize, 1.0);
    return FontScale::BudgetCost(FontScale::ScaledStripBound(cost.summedWidth, cost.tallest, factor));
}

bool FontData::ChargeImageBudget(const FontLayer* layer)
{
    auto recount = [this](const FontLayer& one, LayerImageCost& cost) {
        mImagePixels -= cost.pixels;
        cost.pixels = DefaultSizeImageCost(one, cost);
        mImagePixels += cost.pixels;
    };
    if (layer != nullptr)
    {
        LayerImageCost& cost = mLayerImageCosts[layer];
        cost.summedWidth = 0;
        cost.tallest = 0;
        for (const GlyphInfo& glyph : layer->mCharData)
        {
            cost.summedWidth += std::max(0, glyph.mImageRect.mWidth);
            cost.tallest = std::max<long long>(cost.tallest, glyph.mImageRect.mHeight);
        }
        recount(*layer, cost);
    }
    else
    {
        for (auto& [each, cost] : mLayerImageCosts)
            recount(*each, cost);
    }
    if (mImagePixels > FontScale::kMaxFontImagePixels)
        return ReportError("Scaled Layer Images Too Large");
    return true;
}

FontLayer& FontData::AppendLayer(const std::string& name, const FontLayer* copyFrom)
{
    if (copyFrom != nullptr)
        mFontLayerList.push_back(*copyFrom);
    else
        mFontLayerList.emplace_back(this);
    FontLayer& layer = mFontLayerList.back();
    mFontLayerMap[ToUpperCase(name)] = &layer;
    return layer;
}

} // namespace Lumo
