#pragma once
// A font whose glyphs are rectangles cut out of images (the game's bitmap
// fonts). What it draws is a shared FontData; which of its layers take part
// depends on the font's point size, scale and tags. Layers drawn for another
// point size are rescaled once per change into images the font owns; those
// images share one budget of FontScale::kMaxFontImagePixels, and a layer
// that does not fit is measured but not drawn.
//
// Measuring: a character's width is the largest over the active layers of
// its scaled glyph width plus, after a previous character, the scaled
// kerning offset and layer spacing; a string's width is the sum. Drawing
// (y is the baseline) queues one glyph per layer per character into the
// process-wide GlyphDrawQueue and draws it in draw order, tinted by the
// colour through each layer's colour mult and add. The clip rectangle is
// not used (the Graphics clips). A font whose description did not load
// measures everything as 0 and draws nothing.
//
// Threads: a font is used by one thread at a time; drawing holds the queue's
// process-wide lock.
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "fonts/ActiveFontLayer.h"
#include "fonts/Font.h"

namespace Lumo {

class FontData;
class FontLayer;
class LumoAppBase;

class ImageFont : public Font
{
public:
    // From a font description file; never fails: a description that cannot
    // be read gives a font without layers (GetFontData()->IsLoaded() false).
    ImageFont(LumoAppBase* app, const std::string& descriptionPath);
    // From an image of side-by-side glyphs and a metrics file (the FontData
    // keeps a counted reference to the image).
    ImageFont(std::shared_ptr<Image> image, const std::string& metricsPath);
    // Shares the FontData; copies the size, scale, tags and active layers.
    ImageFont(const ImageFont& other);
    ImageFont& operator=(const ImageFont&) = delete;
    ~ImageFont() override;

    int GetCharWidth(char character) override;
    int GetKernedCharWidth(char character, char previous) override;
    int GetStringWidth(const std::string& text) override;
    void DrawString(Graphics* g, int x, int y, const std::string& text, const Color& color,
                    const Rect& clipRect) override;
    Font* Clone() override;

    virtual void BuildActiveLayers();
    // Draws the text; with rects, each queued glyph's destination rectangle
    // is appended; with width, the drawn width is stored.
    virtual void RenderString(Graphics* g, int x, int y, const std::string& text, const Color& color,
                              const Rect& clipRect, std::vector<Rect>* rects, int* width);
    virtual void SetPointSize(int pointSize);
    virtual int GetPointSize() const { return mPointSize; }
    virtual void SetScale(double scale);
    virtual int GetDefaultPointSize() const;
    // Appends the upper-cased tag; false when HasTag finds the text as given.
    virtual bool AddTag(const std::string& tag);
    // Removes the first tag equal to the upper-cased text; false when none.
    virtual bool RemoveTag(const std::string& tag);
    // Exact comparison with the stored (upper-cased) tags.
    virtual bool HasTag(const std::string& tag) const;
    // The description's define of that name as text ("(a, b)" for a list),
    // or "" when undefined.
    virtual std::string GetDefineText(const std::string& name);
    virtual void EnsureActiveLayers();

    FontData* GetFontData() const { return mFontData; }
    const std::list<ActiveFontLayer>& GetActiveLayers() const { return mActiveLayerList; }

    FontData* mFontData;
    int mPointSize = 0;
    std::vector<std::string> mTagVector;
    bool mActiveListValid = false;
    std::list<ActiveFontLayer> mActiveLayerList;
    double mScale = 1.0;
    bool mForceScaledImagesWhite = false;

private:
    bool LayerTakesPart(const FontLayer& layer) const;
    double ScaleFactor(const FontLayer& layer) const;
    // The layer's glyph rectangles at the factor and, with makeImage, the
    // rescaled image they lie in (else an empty one).
    void BuildScaledImage(ActiveFontLayer& active, const FontLayer& layer, double factor, bool makeImage);
    void UpdateMetrics();
};

} // namespace Lumo
