#pragma once
// A system font for SysFont: a face found by name through fontconfig (a face
// that is not installed falls back to fontconfig's closest match, DejaVu Sans
// on a plain system), sized in pixels and rasterised by FreeType with
// greyscale antialiasing.
//
// Text is bytes in the Windows-1252 code page, one character per byte (what
// the framework's narrow strings hold). Widths are the sum of the characters'
// integer advances; there is no kerning. Bold and italic use the face's own
// bold and italic styles when installed, else they are synthesised (outlines
// emboldened or slanted); underline is a bar under the baseline.
//
// Threads: any thread; every call takes the process-wide text lock (FreeType
// and fontconfig are not thread-safe).
#include <memory>
#include <string>

#include "platform/text/CoverageBitmap.h"

namespace Lumo::Platform {

struct TextFontSpec
{
    std::string face;     // family name, e.g. "Arial Unicode MS"
    int pixelHeight = 16; // character (em) height in pixels, 1..kMaxPixelHeight
    bool bold = false;    // weight 700 instead of 400
    bool italic = false;
    bool underline = false;
};

class TextFont
{
public:
    static constexpr int kMaxPixelHeight = 1024;

    // Opens the best installed match for the requested face (pixel heights are clamped
    // to 1..kMaxPixelHeight). Null, with one log line, only when no font can
    // be opened at all.
    [[nodiscard]] static std::unique_ptr<TextFont> Open(const TextFontSpec& spec);
    ~TextFont();
    TextFont(const TextFont&) = delete;
    TextFont& operator=(const TextFont&) = delete;

    const TextFontSpec& GetSpec() const;
    // The font file that was opened and its family name (for diagnostics).
    const std::string& GetFilePath() const;
    const std::string& GetFamily() const;

    // Pixels above the baseline, below it, and their sum.
    int GetAscent() const;
    int GetDescent() const;
    int GetHeight() const;

    // Sum of the integer advances of the characters, in pixels.
    int MeasureString(const std::string& text);
    // Renders the text's coverage with the top of its character cell at
    // (x, y) (the baseline at y + ascent) into the bitmap; overlapping ink
    // keeps the larger coverage. What falls outside the bitmap is dropped.
    void RenderString(const std::string& text, int x, int y, CoverageBitmap& coverage);

private:
    struct Impl;
    explicit TextFont(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> mImpl;
};

} // namespace Lumo::Platform
