#pragma once
// The shared description of an image font: named layers (FontLayer), the
// character map and the default point size, read from a font description
// file or built from one image plus a metrics file. Shared by an ImageFont
// and its copies, counted by AddRef and Release (the last Release deletes
// it); it does not change after loading.
//
// Commands of the description (names compared without regard to case; see
// ExecuteCommand): Define, CreateHorzSpanRectList, SetDefaultPointSize,
// SetCharMap, CreateLayer, CreateLayerFrom, LayerRequireTags,
// LayerExcludeTags, LayerPointRange, LayerSetPointSize, LayerSetHeight,
// LayerSetImage, LayerSetDrawMode, LayerSetColorMult, LayerSetColorAdd,
// LayerSetAscent, LayerSetAscentPadding, LayerSetLineSpacingOffset,
// LayerSetOffset, LayerSetCharWidths, LayerSetSpacing, LayerSetImageMap,
// LayerSetCharOffsets, LayerSetKerningPairs, LayerSetBaseOrder,
// LayerSetCharOrders.
//
// Errors are shown in a fatal-error box beginning "Font Descriptor Error in "
// and the path, then the error, " on Line <n>:" and the command (without an
// application they are only logged); the first failing command stops the
// description and leaves the font not loaded ("Layer Already Exists" is
// shown and the description goes on). Errors of the metrics path are logged.
//
// The rescaled images that the font's layers need at the default point size
// (scale 1, whatever tags are given later) share one budget,
// FontScale::kMaxFontImagePixels: the command that takes them past it
// (SetDefaultPointSize, CreateLayerFrom, LayerSetPointSize, LayerPointRange,
// LayerSetImageMap) fails with "Scaled Layer Images Too Large".
//
// Threads: loaded on one thread (the loading thread), then only read.
#include <array>
#include <atomic>
#include <list>
#include <map>
#include <memory>
#include <string>

#include "fonts/DescParser.h"
#include "fonts/FontLayer.h"

namespace Lumo {

class Image;
class LumoAppBase;

class FontData : public DescParser
{
public:
    FontData();
    ~FontData() override;

    void AddRef();
    // Deletes the FontData when the count reaches 0.
    void Release();

    // Reads the description file with the application (for error boxes and
    // images; may be null: then errors are not shown and no image loads).
    // False only when already loaded; whether the description was read is
    // IsLoaded().
    bool LoadDescription(LumoAppBase* app, const std::string& path);
    // One layer from an image whose glyphs lie side by side and a metrics
    // text file (read from the disk, not the pack): first the space width
    // and the ascent, then pairs of a character and its width. The FontData
    // keeps a counted reference to the image. False (with a log line) when
    // already loaded, when the file cannot be read, on an unreadable first
    // line, or on a negative width or a glyph outside the image.
    bool LoadFromMetricsFile(std::shared_ptr<Image> image, const std::string& path);
    // The same with the metrics text in memory.
    bool LoadFromMetricsText(std::shared_ptr<Image> image, const std::string& text);

    bool IsLoaded() const { return mInitialized; }

    // The layer named by a single value (any case); "Undefined Layer" for an
    // unknown name, false for a list.
    bool FindLayer(const DataElement& element, FontLayer*& layer);
    // A packed 0xAARRGGBB number (alpha 0 read as 255) or a list of four
    // fractions red, green, blue, alpha; channels clamped to 0..255.
    bool ResolveColor(const DataElement& element, Color& color);

    bool ReportError(const std::string& text) override;
    bool ExecuteCommand(ListDataElement& params) override;

    bool mInitialized = false;
    std::atomic<int> mRefCount{0};
    LumoAppBase* mApp = nullptr;
    int mDefaultPointSize = 0;
    std::array<uint8_t, 256> mCharMap{}; // identity when made
    std::list<FontLayer> mFontLayerList;
    std::map<std::string, FontLayer*> mFontLayerMap; // upper-cased names
    std::string mSourceFile;
    std::string mFontErrorHeader;

private:
    FontLayer& AppendLayer(const std::string& name, const FontLayer* copyFrom);
    bool ExecuteLayerCommand(const std::string& command, ListDataElement& params);
    bool ExecuteGlyphCommand(const std::string& command, FontLayer& layer, ListDataElement& params);
    bool SetLayerImage(FontLayer& layer, const DataElement& fileName);
    bool SetImageMap(FontLayer& layer, const DataElement& chars, const DataElement& rects);
    bool CreateHorzSpanRectList(ListDataElement& params);
    bool CreateLayer(ListDataElement& params, bool fromOther);
    // A layer's share of the image budget: the summed glyph width and the
    // tallest glyph (kept so that a new default point size recounts every
    // layer without visiting its glyphs), and what its rescaled image costs.
    struct LayerImageCost
    {
        long long summedWidth = 0;
        long long tallest = 0;
        long long pixels = 0;
    };
    // Pixels of the layer's rescaled image when the font is made at its
    // default point size (counted generously, see ScaledStripBound); 0 when
    // it draws from its own image or does not take part at that size.
    long long DefaultSizeImageCost(const FontLayer& layer, const LayerImageCost& cost) const;
    // Brings the layer's share of the image budget up to date (every layer's
    // for null, after a new default point size); past the budget, "Scaled
    // Layer Images Too Large".
    bool ChargeImageBudget(const FontLayer* layer);

    std::shared_ptr<Image> mMetricsImage; // the metrics path's image, kept alive
    std::map<const FontLayer*, LayerImageCost> mLayerImageCosts; // see ChargeImageBudget
    long long mImagePixels = 0;                                   // their sum
};

} // namespace Lumo
