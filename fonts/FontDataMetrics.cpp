// An image font from one image and a metrics text file.
#include <algorithm>
#include <cstdio>
#include <memory>

#include "app/Common.h"
#include "app/LumoAppBase.h"
#include "fonts/FontData.h"
#include "graphics/Image.h"
#include "platform/DebugOutput.h"
#include "platform/FileSystem.h"

namespace Lumo {

namespace {

constexpr long long kNumberLimit = 1LL << 40;

// Reads the metrics text the way "%d" and "%1s" read a stream.
class MetricsScanner
{
public:
    explicit MetricsScanner(const std::string& text) : mText(text) {}

    // An optionally signed decimal number after white space.
    bool ReadNumber(long long& value)
    {
        SkipSpace();
        size_t pos = mPos;
        bool negative = false;
        if (pos < mText.size() && (mText[pos] == '-' || mText[pos] == '+'))
            negative = mText[pos++] == '-';
        const size_t digitsStart = pos;
        long long magnitude = 0;
        while (pos < mText.size() && mText[pos] >= '0' && mText[pos] <= '9')
        {
            magnitude = std::min(kNumberLimit, magnitude * 10 + (mText[pos] - '0'));
            ++pos;
        }
        if (pos == digitsStart)
            return false;
        mPos = pos;
        value = negative ? -magnitude : magnitude;
        return true;
    }

    // The next character that is not white space.
    bool ReadCharacter(uint8_t& character)
    {
        SkipSpace();
        if (mPos >= mText.size())
            return false;
        character = static_cast<uint8_t>(mText[mPos++]);
        return true;
    }

private:
    void SkipSpace()
    {
        while (mPos < mText.size() && (mText[mPos] == ' ' || (mText[mPos] >= '\t' && mText[mPos] <= '\r')))
            ++mPos;
    }

    const std::string& mText;
    size_t mPos = 0;
};

struct FileCloser
{
    void operator()(FILE* file) const { std::fclose(file); }
};

bool Fail(const std::string& source, const std::string& text)
{
    Platform::Log("FONT", source + ": " + text);
    return false;
}

} // namespace

bool FontData::LoadFromMetricsFile(std::shared_ptr<Image> image, const std::string& path)
{
    if (mInitialized)
        return false;
    std::unique_ptr<FILE, FileCloser> file(Platform::OpenFile(path, "r"));
    if (!file)
        return Fail(path, "cannot open the metrics file");
    std::string text;
    char buffer[4096];
    size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        text.append(buffer, read);
    mSourceFile = path;
    return LoadFromMetricsText(std::move(image), text);
}

bool FontData::LoadFromMetricsText(std::shared_ptr<Image> image, const std::string& text)
{
    if (mInitialized || !image || mFontLayerMap.count("") != 0)
        return false;
    // No description names this font's application: errors are logged, and
    // images are duplicated through the process's application.
    mApp = gAppBase;
    mMetricsImage = std::move(image);
    FontLayer& layer = AppendLayer("", nullptr);
    layer.mImage = mMetricsImage.get();
    const int imageWidth = mMetricsImage->GetWidth();
    const int imageHeight = mMetricsImage->GetHeight();
    layer.mDefaultHeight = imageHeight;
    layer.mAscent = imageHeight;

    MetricsScanner scanner(text);
    long long spaceWidth = 0, ascent = 0;
    if (!scanner.ReadNumber(spaceWidth) || !scanner.ReadNumber(ascent))
        return Fail(mSourceFile, "the first line must give the space width and the ascent");
    // The space has no glyph in the image, so only its sign and size are checked.
    if (spaceWidth < 0 || spaceWidth > (1LL << 30))
        return Fail(mSourceFile, "bad space width");
    layer.mCharData[' '].mWidth = static_cast<int>(spaceWidth);
    layer.mAscent = static_cast<int>(std::clamp(ascent, -(1LL << 30), 1LL << 30));

    long long x = 0;
    uint8_t character = 0;
    long long width = 0;
    while (scanner.ReadCharacter(character) && scanner.ReadNumber(width))
    {
        if (width < 0 || x + width > imageWidth)
            return Fail(mSourceFile, FormatString("the glyph of character %d lies outside the image", character));
        GlyphInfo& glyph = layer.mCharData[character];
        glyph.mImageRect = Rect(static_cast<int>(x), 0, static_cast<int>(width), imageHeight);
        glyph.mWidth = static_cast<int>(width);
        x += width;
    }

    // A letter without a glyph of its own draws the other case.
    for (int upper = 'A'; upper <= 'Z'; ++upper)
    {
        const int lower = upper - 'A' + 'a';
        if (layer.mCharData[upper].mWidth == 0 && layer.mCharData[lower].mWidth != 0)
            mCharMap[upper] = static_cast<uint8_t>(lower);
        else if (layer.mCharData[lower].mWidth == 0 && layer.mCharData[upper].mWidth != 0)
            mCharMap[lower] = static_cast<uint8_t>(upper);
    }
    mInitialized = true;
    return true;
}

} // namespace Lumo
