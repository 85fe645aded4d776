#include "fonts/ImageFont.h"

#include <algorithm>

#include "app/Common.h"
#include "fonts/FontData.h"

namespace Lumo {

ImageFont::ImageFont(LumoAppBase* app, const std::string& descriptionPath) : mFontData(new FontData())
{
    mFontData->AddRef();
    (void)mFontData->LoadDescription(app, descriptionPath);
    mPointSize = mFontData->mDefaultPointSize;
    BuildActiveLayers();
    mActiveListValid = true;
}

ImageFont::ImageFont(std::shared_ptr<Image> image, const std::string& metricsPath) : mFontData(new FontData())
{
    mFontData->AddRef();
    (void)mFontData->LoadFromMetricsFile(std::move(image), metricsPath);
    mPointSize = mFontData->mDefaultPointSize;
    BuildActiveLayers();
    mActiveListValid = true;
}

ImageFont::ImageFont(const ImageFont& other)
    : Font(other), mFontData(other.mFontData), mPointSize(other.mPointSize), mTagVector(other.mTagVector),
      mActiveListValid(other.mActiveListValid),
      mActiveLayerList(other.mActiveListValid ? other.mActiveLayerList : std::list<ActiveFontLayer>()),
      mScale(other.mScale), mForceScaledImagesWhite(other.mForceScaledImagesWhite)
{
    mFontData->AddRef();
}

ImageFont::~ImageFont()
{
    // The active layers point into the FontData's layers: drop them first.
    mActiveLayerList.clear();
    mFontData->Release();
}

Font* ImageFont::Clone()
{
    return new ImageFont(*this);
}

void ImageFont::SetPointSize(int pointSize)
{
    mPointSize = pointSize;
    mActiveListValid = false;
}

void ImageFont::SetScale(double scale)
{
    mScale = scale;
    mActiveListValid = false;
}

int ImageFont::GetDefaultPointSize() const
{
    return mFontData->mDefaultPointSize;
}

bool ImageFont::AddTag(const std::string& tag)
{
    if (HasTag(tag))
        return false;
    mTagVector.push_back(ToUpperCase(tag));
    mActiveListValid = false;
    return true;
}

bool ImageFont::RemoveTag(const std::string& tag)
{
    auto found = std::find(mTagVector.begin(), mTagVector.end(), ToUpperCase(tag));
    if (found == mTagVector.end())
        return false;
    mTagVector.erase(found);
    mActiveListValid = false;
    return true;
}

bool ImageFont::HasTag(const std::string& tag) const
{
    return std::find(mTagVector.begin(), mTagVector.end(), tag) != mTagVector.end();
}

std::string ImageFont::GetDefineText(const std::string& name)
{
    const DataElement* define = mFontData->LookupDefine(name);
    return define != nullptr ? DescParser::FormatElement(*define) : std::string();
}

void ImageFont::EnsureActiveLayers()
{
    if (mActiveListValid)
        return;
    BuildActiveLayers();
    mActiveListValid = true;
}

} // namespace Lumo
