// The commands of a font description.
#include <functional>
#include <map>
#include <optional>

#include "app/Common.h"
#include "app/LumoAppBase.h"
#include "fonts/FontData.h"
#include "graphics/MemoryImage.h"

namespace Lumo {

namespace {

constexpr const char* kInvalidType = "Invalid Paramater Type";

// Parameters after the command word, by upper-cased command.
const std::map<std::string, size_t>& LayerCommandCounts()
{
    static const std::map<std::string, size_t> counts = {
        {"LAYERREQUIRETAGS", 2},     {"LAYEREXCLUDETAGS", 2},      {"LAYERPOINTRANGE", 3},
        {"LAYERSETPOINTSIZE", 2},    {"LAYERSETHEIGHT", 2},        {"LAYERSETIMAGE", 2},
        {"LAYERSETDRAWMODE", 2},     {"LAYERSETCOLORMULT", 2},     {"LAYERSETCOLORADD", 2},
        {"LAYERSETASCENT", 2},       {"LAYERSETASCENTPADDING", 2}, {"LAYERSETLINESPACINGOFFSET", 2},
        {"LAYERSETOFFSET", 2},       {"LAYERSETCHARWIDTHS", 3},    {"LAYERSETSPACING", 2},
        {"LAYERSETIMAGEMAP", 3},     {"LAYERSETCHAROFFSETS", 3},   {"LAYERSETKERNINGPAIRS", 3},
        {"LAYERSETBASEORDER", 2},    {"LAYERSETCHARORDERS", 3},
    };
    return counts;
}

// A single value whose own text is a number (a define name is not resolved).
bool ReadInt(const DataElement& element, int& value)
{
    value = 0;
    return !element.mIsList && StringToInt(static_cast<const SingleDataElement&>(element).mString, value);
}

// An already expanded list of exactly N numbers.
template <size_t N>
std::optional<std::array<int, N>> IntsOf(const DataElement& element)
{
    if (!element.mIsList)
        return std::nullopt;
    const auto& list = static_cast<const ListDataElement&>(element);
    if (list.Size() != N)
        return std::nullopt;
    std::array<int, N> values{};
    for (size_t i = 0; i < N; ++i)
        if (!ReadInt(list.At(i), values[i]))
            return std::nullopt;
    return values;
}

enum class EntryResult
{
    Done,         // every entry applied
    BadForm,      // the well-formed entries applied, some were not
    SizeMismatch, // nothing applied
    Stopped,      // an entry failed and reported its error
};

// Applies apply(key, value) to each entry whose key has keyLength characters
// and whose value is present. A malformed entry is reported before a size
// mismatch would be.
template <class Value>
EntryResult ApplyEntries(const std::vector<std::string>& keys, size_t keyLength,
                         const std::vector<std::optional<Value>>& values,
                         const std::function<bool(const std::string&, const Value&)>& apply)
{
    bool badForm = false;
    for (const std::string& key : keys)
        badForm = badForm || key.size() != keyLength;
    for (const auto& value : values)
        badForm = badForm || !value.has_value();
    if (keys.size() != values.size())
        return badForm ? EntryResult::BadForm : EntryResult::SizeMismatch;
    for (size_t i = 0; i < keys.size(); ++i)
        if (keys[i].size() == keyLength && values[i].has_value() && !apply(keys[i], *values[i]))
            return EntryResult::Stopped;
    return badForm ? EntryResult::BadForm : EntryResult::Done;
}

template <class Value>
std::vector<std::optional<Value>> AllPresent(const std::vector<Value>& values)
{
    return std::vector<std::optional<Value>>(values.begin(), values.end());
}

uint8_t ByteOf(const std::string& key, size_t index)
{
    return static_cast<uint8_t>(key[index]);
}

} // namespace

bool FontData::ExecuteCommand(ListDataElement& params)
{
    const std::string command = ToUpperCase(static_cast<const SingleDataElement&>(params.At(0)).mString);
    const size_t count = params.Size() - 1;
    if (command == "DEFINE")
        return HandleDefineCommand(params);
    if (command == "CREATEHORZSPANRECTLIST")
        return count != 3 ? ReportError("Invalid Number of Parameters") : CreateHorzSpanRectList(params);
    if (command == "SETDEFAULTPOINTSIZE")
    {
        if (count != 1)
            return ReportError("Invalid Number of Parameters");
        if (!ReadInt(params.At(1), mDefaultPointSize))
            return ReportError(kInvalidType);
        return ChargeImageBudget(nullptr);
    }
    if (command == "SETCHARMAP")
    {
        if (count != 2)
            return ReportError("Invalid Number of Parameters");
        std::vector<std::string> from, to;
        if (!ResolveStringList(params.At(1), from) || !ResolveStringList(params.At(2), to))
            return ReportError(kInvalidType);
        std::vector<std::optional<uint8_t>> targets;
        for (const std::string& target : to)
            targets.push_back(target.size() == 1 ? std::optional<uint8_t>(ByteOf(target, 0)) : std::nullopt);
        const EntryResult result = ApplyEntries<uint8_t>(from, 1, targets, [&](const std::string& key, const uint8_t& value) {
            mCharMap[ByteOf(key, 0)] = value;
            return true;
        });
        if (result == EntryResult::SizeMismatch)
            return ReportError("List Size Mismatch");
        return result == EntryResult::Done ? true : ReportError(kInvalidType);
    }
    if (command == "CREATELAYER" || command == "CREATELAYERFROM")
    {
        const bool fromOther = command == "CREATELAYERFROM";
        if (count != (fromOther ? 2u : 1u))
            return ReportError("Invalid Number of Parameters");
        return CreateLayer(params, fromOther);
    }
    auto known = LayerCommandCounts().find(command);
    if (known == LayerCommandCounts().end())
        return ReportError("Unknown Command");
    if (count != known->second)
        return ReportError("Invalid Number of Parameters");
    return ExecuteLayerCommand(command, params);
}

bool FontData::CreateLayer(ListDataElement& params, bool fromOther)
{
    const DataElement& name = params.At(1);
    if (name.mIsList)
        return ReportError(kInvalidType);
    FontLayer* source = nullptr;
    if (fromOther && !FindLayer(params.At(2), source))
        return ReportError(kInvalidType);
    const std::string& text = static_cast<const SingleDataElement&>(name).mString;
    if (mFontLayerMap.count(ToUpperCase(text)) != 0)
    {
        // Reported; nothing is added and the description goes on.
        ReportError("Layer Already Exists");
        return true;
    }
    return ChargeImageBudget(&AppendLayer(text, source));
}

bool FontData::CreateHorzSpanRectList(ListDataElement& params)
{
    const DataElement& name = params.At(1);
    std::vector<int> rect, widths;
    if (name.mIsList || !ResolveIntList(params.At(2), rect) || rect.size() != 4 ||
        !ResolveIntList(params.At(3), widths))
        return ReportError(kInvalidType);
    if (widths.size() * 5 > static_cast<size_t>(kMaxListElements))
        return ReportError("List Too Large");
    auto list = std::make_unique<ListDataElement>();
    long long x = rect[0];
    for (int width : widths)
    {
        auto entry = std::make_unique<ListDataElement>();
        for (long long value : {x, static_cast<long long>(rect[1]), static_cast<long long>(width),
                                static_cast<long long>(rect[3])})
            entry->Append(std::make_unique<SingleDataElement>(FormatString("%lld", value)));
        list->Append(std::move(entry));
        x += width;
    }
    return SetDefine(static_cast<const SingleDataElement&>(name).mString, std::move(list));
}

bool FontData::ExecuteLayerCommand(const std::string& command, ListDataElement& params)
{
    FontLayer* layer = nullptr;
    if (!FindLayer(params.At(1), layer))
        return ReportError(kInvalidType);
    if (params.Size() == 4)
        return ExecuteGlyphCommand(command, *layer, params);

    const DataElement& value = params.At(2);
    if (command == "LAYERREQUIRETAGS" || command == "LAYEREXCLUDETAGS")
    {
        std::vector<std::string> tags;
        if (!ResolveStringList(value, tags))
            return ReportError(kInvalidType);
        auto& target = command == "LAYERREQUIRETAGS" ? layer->mRequiredTags : layer->mExcludedTags;
        for (const std::string& tag : tags)
            target.push_back(ToUpperCase(tag));
        return true;
    }
    if (command == "LAYERSETIMAGE")
        return SetLayerImage(*layer, value);
    if (command == "LAYERSETCOLORMULT" || command == "LAYERSETCOLORADD")
    {
        Color color;
        if (!ResolveColor(value, color))
            return ReportError(kInvalidType);
        (command == "LAYERSETCOLORMULT" ? layer->mColorMult : layer->mColorAdd) = color;
        return true;
    }
    if (command == "LAYERSETOFFSET")
    {
        std::vector<int> offset;
        if (!ResolveIntList(value, offset) || offset.size() != 2)
            return ReportError(kInvalidType);
        layer->mOffset = Point(offset[0], offset[1]);
        return true;
    }
    int number = 0;
    if (!ReadInt(value, number))
        return ReportError(kInvalidType);
    if (command == "LAYERSETDRAWMODE")
    {
        if (number != 0 && number != 1)
            return ReportError(kInvalidType);
        layer->mDrawMode = number;
    }
    else if (command == "LAYERSETPOINTSIZE")
    {
        layer->mPointSize = number;
        return ChargeImageBudget(layer);
    }
    else if (command == "LAYERSETHEIGHT")
        layer->mHeight = number;
    else if (command == "LAYERSETASCENT")
        layer->mAscent = number;
    else if (command == "LAYERSETASCENTPADDING")
        layer->mAscentPadding = number;
    else if (command == "LAYERSETLINESPACINGOFFSET")
        layer->mLineSpacingOffset = number;
    else if (command == "LAYERSETSPACING")
        layer->mSpacing = number;
    else if (command == "LAYERSETBASEORDER")
        layer->mBaseOrder = number;
    return true;
}

bool FontData::ExecuteGlyphCommand(const std::string& command, FontLayer& layer, ListDataElement& params)
{
    if (command == "LAYERPOINTRANGE")
    {
        int minimum = 0, maximum = 0;
        if (!ReadInt(params.At(2), minimum) || !ReadInt(params.At(3), maximum))
            return ReportError(kInvalidType);
        layer.mMinPointSize = minimum;
        layer.mMaxPointSize = maximum;
        return ChargeImageBudget(&layer);
    }
    if (command == "LAYERSETIMAGEMAP")
        return SetImageMap(layer, params.At(2), params.At(3)) && ChargeImageBudget(&layer);

    std::vector<std::string> keys;
    if (!ResolveStringList(params.At(2), keys))
        return ReportError(kInvalidType);
    EntryResult result = EntryResult::Done;
    if (command == "LAYERSETCHAROFFSETS")
    {
        ListDataElement offsets;
        if (!ResolveList(params.At(3), offsets))
            return ReportError(kInvalidType);
        std::vector<std::optional<std::array<int, 2>>> values;
        for (const auto& element : offsets.mElements)
            values.push_back(IntsOf<2>(*element));
        result = ApplyEntries<std::array<int, 2>>(keys, 1, values, [&](const std::string& key, const std::array<int, 2>& v) {
            layer.mCharData[ByteOf(key, 0)].mOffset = Point(v[0], v[1]);
            return true;
        });
    }
    else
    {
        std::vector<int> numbers;
        if (!ResolveIntList(params.At(3), numbers))
            return ReportError(kInvalidType);
        const bool pairs = command == "LAYERSETKERNINGPAIRS";
        result = ApplyEntries<int>(keys, pairs ? 2 : 1, AllPresent(numbers), [&](const std::string& key, const int& v) {
            GlyphInfo& glyph = layer.mCharData[ByteOf(key, 0)];
            if (pairs)
                glyph.mKerningOffsets[ByteOf(key, 1)] = static_cast<int8_t>(static_cast<uint8_t>(v & 0xFF));
            else if (command == "LAYERSETCHARWIDTHS")
                glyph.mWidth = v;
            else
                glyph.mOrder = v;
            return true;
        });
    }
    if (result == EntryResult::SizeMismatch)
        return ReportError("List Size Mismatch");
    return result == EntryResult::Done ? true : ReportError(kInvalidType);
}

bool FontData::SetLayerImage(FontLayer& layer, const DataElement& fileName)
{
    std::string file;
    if (!ResolveString(fileName, file))
        return ReportError(kInvalidType);
    const std::string path = ResolveRelativePath(file, GetPathDirectory(mSourceFile, false));
    bool created = false;
    SharedImageHandle image;
    if (mApp != nullptr)
        image = mApp->AcquireSharedImage(path, "", &created);
    if (!image)
        return ReportError("Failed to Load Image");
    if (created)
        if (auto* memory = dynamic_cast<MemoryImage*>(image.GetImage()))
            (void)memory->Palletize();
    layer.mImage = image;
    return true;
}

bool FontData::SetImageMap(FontLayer& layer, const DataElement& chars, const DataElement& rects)
{
    std::vector<std::string> keys;
    ListDataElement rectList;
    if (!ResolveStringList(chars, keys) || !ResolveList(rects, rectList))
        return ReportError(kInvalidType);
    Image* image = layer.mImage.GetImage();
    if (image == nullptr)
        return ReportError("Layer image not set");
    std::vector<std::optional<std::array<int, 4>>> values;
    for (const auto& element : rectList.mElements)
        values.push_back(IntsOf<4>(*element));
    const long long imageWidth = image->GetWidth();
    const long long imageHeight = image->GetHeight();
    const EntryResult result = ApplyEntries<std::array<int, 4>>(keys, 1, values, [&](const std::string& key, const std::array<int, 4>& r) {
        const long long x = r[0], y = r[1], w = r[2], h = r[3];
        if (x < 0 || y < 0 || w < 0 || h < 0 || x + w > imageWidth || y + h > imageHeight)
            return ReportError("Image rectangle out of bounds");
        layer.mCharData[ByteOf(key, 0)].mImageRect = Rect(r[0], r[1], r[2], r[3]);
        return true;
    });
    if (result == EntryResult::Stopped)
        return false;
    if (result == EntryResult::SizeMismatch)
        return ReportError("List Size Mismatch");
    long long tallest = 0;
    for (const GlyphInfo& glyph : layer.mCharData)
        tallest = std::max(tallest, static_cast<long long>(glyph.mImageRect.mHeight) + glyph.mOffset.mY);
    layer.mDefaultHeight = static_cast<int>(std::min<long long>(tallest, 1 << 30));
    return result == EntryResult::Done ? true : ReportError(kInvalidType);
}

} // namespace Lumo
