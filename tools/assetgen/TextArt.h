#pragma once
// Text for the images: DejaVu Sans through cairo's own font support for
// outlined banner words and labels, and rasterised glyph by glyph (through the
// platform's system-font layer) for the game's bitmap font. Only one thread
// draws text.
#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tools/assetgen/Paint.h"

namespace Lumo::AssetGen {

enum class Face
{
    Sans,
    SansBold,
};

// Opens the bitmap font's face; false (with a message) when no font can be
// opened at all. A missing DejaVu Sans only warns.
[[nodiscard]] bool OpenTextFaces();
// Releases the faces and cairo's font caches (after all drawing is done).
void CloseTextFaces();

// Selects the face at the given pixel size on the context.
void UseFace(cairo_t* cr, Face face, double size);
// Width in pixels of the text in the selected face (advance, not ink).
double TextAdvance(cairo_t* cr, const std::string& text);
// Ink box of the text in the selected face: x and y bearing, width, height.
cairo_text_extents_t TextInk(cairo_t* cr, const std::string& text);
// Appends the outline of the text with its baseline origin at (x, y).
void TextPath(cairo_t* cr, const std::string& text, double x, double y);

// Cartoon word art: the text centred on cx with its ink vertically centred on
// cy, fitting maxWidth x maxHeight, filled with a top-to-bottom gradient,
// outlined, with a drop shadow and a glossy band.
struct WordStyle
{
    Rgb top;
    Rgb bottom;
    Rgb outline = Bytes(40, 20, 60);
    double outlineWidth = 6;
    double shadow = 4;
    double gloss = 0.45;
    Face face = Face::SansBold;
    // Fill the height and squeeze the width to fit (instead of one scale).
    bool keepHeight = false;
};
void DrawWord(cairo_t* cr, const std::string& text, double cx, double cy, double maxWidth, double maxHeight,
              const WordStyle& style);

// One rasterised glyph of the bitmap font: 8-bit coverage, rows top down.
struct GlyphBitmap
{
    int width = 0;
    int rows = 0;
    int left = 0;    // pen to the bitmap's left edge
    int top = 0;     // baseline to the bitmap's top edge (up is positive)
    int advance = 0; // pen advance in whole pixels
    std::vector<uint8_t> coverage;
};
struct FaceMetrics
{
    int ascent = 0;  // baseline to the top of the line
    int descent = 0; // baseline to the bottom of the line (positive)
};
GlyphBitmap RenderGlyph(Face face, int pixelSize, char character);
FaceMetrics MetricsOf(Face face, int pixelSize);

} // namespace Lumo::AssetGen
