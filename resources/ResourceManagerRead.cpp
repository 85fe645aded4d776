// ResourceManager: reading resource files into records.
#include "resources/ResourceManager.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "app/Common.h"
#include "app/LumoAppBase.h"

namespace Lumo {

namespace {

// Cel grids and animations: rows and cols are 1..kMaxCelsPerSide; delays
// (milliseconds) are cut to 0..kMaxDelay and delay and frame lists to
// kMaxListEntries, so an animation's total time always fits an int.
constexpr int kMaxCelsPerSide = 4096;
constexpr int kMaxDelay = 60000;
constexpr size_t kMaxListEntries = 4096;

// A decimal number at the start of the text (after blanks, with a sign), as
// scanf's "%d" reads it; values beyond int are held at its limits. False,
// and value unchanged, when there is none.
bool ScanInt(const char* start, int& value)
{
    char* end = nullptr;
    const long long read = std::strtoll(start, &end, 10);
    if (end == start)
        return false;
    value = static_cast<int>(std::clamp<long long>(read, INT_MIN, INT_MAX));
    return true;
}

bool ScanInt(const std::string& text, int& value)
{
    return ScanInt(text.c_str(), value);
}

// A hexadecimal number as "%x" reads it (an optional "0x" in front).
bool ScanHex(const std::string& text, uint32_t& value)
{
    const char* start = text.c_str();
    char* end = nullptr;
    const unsigned long long read = std::strtoull(start, &end, 16);
    if (end == start)
        return false;
    value = static_cast<uint32_t>(std::min<unsigned long long>(read, UINT32_MAX));
    return true;
}

// A finite decimal number as "%lf" reads it.
bool ScanDouble(const std::string& text, double& value)
{
    const char* start = text.c_str();
    char* end = nullptr;
    const double read = std::strtod(start, &end);
    if (end == start || !std::isfinite(read))
        return false;
    value = read;
    return true;
}

int ClampDelay(int delay)
{
    return std::clamp(delay, 0, kMaxDelay);
}

using Attributes = std::map<std::string, std::string>;

bool Has(const Attributes& attributes, const char* name)
{
    return attributes.count(name) != 0;
}

std::string Get(const Attributes& attributes, const char* name)
{
    auto found = attributes.find(name);
    return found == attributes.end() ? std::string() : found->second;
}

} // namespace

void ResourceManager::ParseIntList(const std::string& text, std::vector<int>& list)
{
    list.clear();
    size_t pos = 0;
    for (;;)
    {
        int value = 0;
        (void)ScanInt(text.c_str() + pos, value);
        list.push_back(value);
        const size_t comma = text.find(',', pos);
        if (comma == std::string::npos)
            return;
        pos = comma + 1;
    }
}

bool ResourceManager::ParseResourcesFile(const std::string& path)
{
    ClearError();
    auto reader = std::make_unique<XmlTokenReader>();
    if (!reader->OpenFile(path))
        return Fail("Failed to open resource file: " + path);
    mXMLReader = std::move(reader);
    return ParseWithReader();
}

bool ResourceManager::ParseResourcesText(const std::string& bytes, const std::string& name)
{
    ClearError();
    mXMLReader = std::make_unique<XmlTokenReader>();
    mXMLReader->OpenBuffer(bytes, name);
    return ParseWithReader();
}

// The reader is deleted afterwards, so later errors carry no line number.
bool ResourceManager::ParseWithReader()
{
    const bool ok = ReadManifest();
    mXMLReader.reset();
    mCurResGroupList = nullptr;
    return ok;
}

// The reader stopped (end of file or its own error) where more was expected.
bool ResourceManager::FailOnReaderStop()
{
    if (mHasFailed)
        return false;
    return Fail(mXMLReader->HasFailed() ? mXMLReader->GetErrorText() : std::string("Unexpected End of File"));
}

// <ResourceManifest> holding <Resources id="group"> sections; instructions
// and comments may stand anywhere between elements.
bool ResourceManager::ReadManifest()
{
    XmlToken token;
    for (;;)
    {
        if (!mXMLReader->ReadToken(token))
            return FailOnReaderStop();
        if (token.mType == XML_TOKEN_TEXT)
            return Fail("Element Not Expected '" + token.mValue + "'");
        if (token.mType != XML_TOKEN_START)
            continue;
        if (token.mValue != "ResourceManifest")
            return Fail("Expecting ResourceManifest tag");
        break;
    }
    for (;;)
    {
        if (!mXMLReader->ReadToken(token))
            return FailOnReaderStop();
        if (token.mType == XML_TOKEN_END)
            return true;
        if (token.mType == XML_TOKEN_TEXT)
            return Fail("Element Not Expected '" + token.mValue + "'");
        if (token.mType != XML_TOKEN_START)
            continue;
        if (token.mValue != "Resources")
            return Fail("Invalid Section '" + token.mValue + "'");
        if (!ReadGroupSection(token))
            return false;
    }
}

bool ResourceManager::ReadGroupSection(const XmlToken& token)
{
    const std::string group = Get(token.mAttributes, "id");
    if (group.empty())
        return Fail("No id specified.");
    mCurResGroup = group;
    mCurResGroupList = &mResGroupMap[group];
    if (!ReadResourcesSection())
        return FailOnReaderStop();
    return true;
}

bool ResourceManager::ReadResourcesSection()
{
    if (!mXMLReader)
        return false;
    XmlToken token;
    for (;;)
    {
        if (!mXMLReader->ReadToken(token))
            return false;
        if (token.mType == XML_TOKEN_END)
            return true;
        if (token.mType == XML_TOKEN_TEXT)
            return Fail("Element Not Expected '" + token.mValue + "'");
        if (token.mType != XML_TOKEN_START)
            continue;
        bool ok = false;
        if (token.mValue == "Image")
            ok = ReadImageElement(token);
        else if (token.mValue == "Sound")
            ok = ReadSoundElement(token);
        else if (token.mValue == "Font")
            ok = ReadFontElement(token);
        else if (token.mValue == "SetDefaults")
            ok = ReadSetDefaultsElement(token);
        else
            return Fail("Invalid Section '" + token.mValue + "'");
        if (!ok || !mXMLReader->ReadToken(token))
            return false;
        if (token.mType != XML_TOKEN_END)
            return Fail("Unexpected element found.");
    }
}

ResourceManager::BaseRes* ResourceManager::ReadCommonAttributes(const XmlToken& token,
                                                                std::unique_ptr<BaseRes> record, ResMap& map)
{
    const std::string path = Get(token.mAttributes, "path");
    if (path.empty())
    {
        Fail("No path specified.");
        return nullptr;
    }
    record->mXMLAttributes = token.mAttributes;
    record->mFromProgram = path == "!program";
    record->mPath = path[0] == '!' ? path : mDefaultPath + path;
    const auto id = token.mAttributes.find("id");
    record->mId = mDefaultIdPrefix + (id != token.mAttributes.end() ? id->second
                                                                     : GetPathFileName(record->mPath, true));
    record->mResGroup = mCurResGroup;

    auto [slot, inserted] = map.try_emplace(record->mId);
    if (inserted)
    {
        slot->second = std::move(record);
        if (mCurResGroupList != nullptr)
            mCurResGroupList->push_back(slot->second.get());
        return slot->second.get();
    }
    Fail("Resource already defined.");
    if (!mAllowAlreadyDefinedResources)
        return nullptr;
    ClearError();
    BaseRes* existing = slot->second.get();
    existing->mPath = record->mPath;
    existing->mXMLAttributes = record->mXMLAttributes;
    existing->mFromProgram = record->mFromProgram;
    return existing;
}

bool ResourceManager::ReadImageElement(const XmlToken& token)
{
    BaseRes* base = ReadCommonAttributes(token, std::make_unique<ImageRes>(), mImageMap);
    if (base == nullptr)
        return false;
    auto& record = static_cast<ImageRes&>(*base);
    ReadImageAttributes(record);
    return ReadImageGrid(record) && ReadImageAnimation(record);
}

void ResourceManager::ReadImageAttributes(ImageRes& record)
{
    const Attributes& attributes = record.mXMLAttributes;
    record.mAlphaImage = Has(attributes, "alphaimage") ? mDefaultPath + Get(attributes, "alphaimage") : "";
    record.mAlphaGridImage = Has(attributes, "alphagrid") ? mDefaultPath + Get(attributes, "alphagrid") : "";
    record.mVariant = Get(attributes, "variant");
    record.mPalletize = !Has(attributes, "nopal");
    record.mA4R4G4B4 = Has(attributes, "a4r4g4b4");
    record.mA8R8G8B8 = Has(attributes, "a8r8g8b8");
    record.mDDSurface = Has(attributes, "ddsurface");
    const bool is3D = mApp != nullptr && mApp->Is3DEnabled();
    record.mPurgeBits = Has(attributes, "nobits") || Has(attributes, is3D ? "nobits3d" : "nobits2d");
    record.mMinimizeSubdivisions = Has(attributes, "minsubdivide");
    // The colour only: alpha bits would leak into the alpha of the pixels.
    uint32_t color = 0xFFFFFF;
    if (Has(attributes, "alphacolor"))
        (void)ScanHex(Get(attributes, "alphacolor"), color);
    record.mAlphaColor = color & 0xFFFFFF;
}

// The cel grid divides the image (and the alpha grid): 0 or less is refused.
bool ResourceManager::ReadImageGrid(ImageRes& record)
{
    int rows = 1;
    int cols = 1;
    if (Has(record.mXMLAttributes, "rows"))
        (void)ScanInt(Get(record.mXMLAttributes, "rows"), rows);
    if (Has(record.mXMLAttributes, "cols"))
        (void)ScanInt(Get(record.mXMLAttributes, "cols"), cols);
    record.mRows = 1;
    record.mCols = 1;
    if (rows < 1 || cols < 1 || rows > kMaxCelsPerSide || cols > kMaxCelsPerSide)
        return Fail("Invalid rows or cols.");
    record.mRows = rows;
    record.mCols = cols;
    return true;
}

bool ResourceManager::ReadImageAnimation(ImageRes& record)
{
    const Attributes& attributes = record.mXMLAttributes;
    record.mAnimInfo = AnimationInfo();
    if (!Has(attributes, "anim"))
        return true;
    const std::string word = ToLowerCase(Get(attributes, "anim"));
    AnimationType type = ANIMATION_NONE;
    if (word == "once")
        type = ANIMATION_ONCE;
    else if (word == "pingpong")
        type = ANIMATION_PING_PONG;
    else if (word == "loop")
        type = ANIMATION_LOOP;
    else if (word != "none")
        return Fail("Invalid animation type.");
    AnimationInfo& info = record.mAnimInfo;
    info.mAnimType = type;
    if (type == ANIMATION_NONE)
        return true;

    int beginDelay = 0;
    int endDelay = 0;
    if (Has(attributes, "framedelay"))
        (void)ScanInt(Get(attributes, "framedelay"), info.mFrameDelay);
    (void)ScanInt(Get(attributes, "begindelay"), beginDelay);
    (void)ScanInt(Get(attributes, "enddelay"), endDelay);
    info.mFrameDelay = ClampDelay(info.mFrameDelay);
    if (Has(attributes, "perframedelay"))
        ParseIntList(Get(attributes, "perframedelay"), info.mPerFrameDelay);
    if (Has(attributes, "framemap"))
        ParseIntList(Get(attributes, "framemap"), info.mFrameMap);
    if (info.mPerFrameDelay.size() > kMaxListEntries)
        info.mPerFrameDelay.resize(kMaxListEntries);
    if (info.mFrameMap.size() > kMaxListEntries)
        info.mFrameMap.resize(kMaxListEntries);
    std::transform(info.mPerFrameDelay.begin(), info.mPerFrameDelay.end(), info.mPerFrameDelay.begin(), ClampDelay);
    info.Prepare(std::max(record.mRows, record.mCols), ClampDelay(beginDelay), ClampDelay(endDelay));
    return true;
}

bool ResourceManager::ReadSoundElement(const XmlToken& token)
{
    BaseRes* base = ReadCommonAttributes(token, std::make_unique<SoundRes>(mApp), mSoundMap);
    if (base == nullptr)
        return false;
    auto& record = static_cast<SoundRes&>(*base);
    record.mVolume = -1.0;
    record.mPanning = 0;
    if (Has(record.mXMLAttributes, "volume"))
        (void)ScanDouble(Get(record.mXMLAttributes, "volume"), record.mVolume);
    if (Has(record.mXMLAttributes, "pan"))
        (void)ScanInt(Get(record.mXMLAttributes, "pan"), record.mPanning);
    return true;
}

bool ResourceManager::ReadFontElement(const XmlToken& token)
{
    BaseRes* base = ReadCommonAttributes(token, std::make_unique<FontRes>(), mFontMap);
    if (base == nullptr)
        return false;
    auto& record = static_cast<FontRes&>(*base);
    const Attributes& attributes = record.mXMLAttributes;
    record.mImagePath = Get(attributes, "image");
    record.mTags = Get(attributes, "tags");
    record.mSize = -1;
    if (Has(attributes, "size"))
        (void)ScanInt(Get(attributes, "size"), record.mSize);
    record.mSysFont = record.mPath.compare(0, 5, "!sys:") == 0;
    record.mBold = record.mItalic = record.mShadow = record.mUnderline = false;
    if (!record.mSysFont)
        return true;
    record.mPath = record.mPath.substr(5);
    if (record.mSize <= 0)
        return Fail("SysFont needs point size");
    record.mBold = Has(attributes, "bold");
    record.mItalic = Has(attributes, "italic");
    record.mShadow = Has(attributes, "shadow");
    record.mUnderline = Has(attributes, "underline");
    return true;
}

// An empty path (also "/" or "\") clears the default path rather than
// making every later path start at the root.
bool ResourceManager::ReadSetDefaultsElement(const XmlToken& token)
{
    const Attributes& attributes = token.mAttributes;
    if (Has(attributes, "path"))
    {
        const std::string folder = RemoveTrailingSlash(Get(attributes, "path"));
        mDefaultPath = folder.empty() ? std::string() : folder + "/";
    }
    if (Has(attributes, "idprefix"))
        mDefaultIdPrefix = Get(attributes, "idprefix");
    return true;
}

} // namespace Lumo
