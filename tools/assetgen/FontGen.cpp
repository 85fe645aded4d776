// The game's bitmap font: every printable ASCII character rasterised white on
// transparent into "images/Tumbrix28.png", described by
// "images/Tumbrix28.txt" in the font description language (one layer, its
// ascent and height, and per character its advance, image rectangle and draw
// offset). '{' and '}' are an empty and a ticked check box.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/assetgen/AssetSink.h"
#include "tools/assetgen/Canvas.h"
#include "tools/assetgen/Families.h"
#include "tools/assetgen/TextArt.h"

namespace Lumo::AssetGen {

namespace {

constexpr int kPixelSize = 28;
constexpr int kAtlasWidth = 512;
constexpr int kPad = 1; // clear pixels around each glyph, so scaled draws do not bleed

struct PlacedGlyph
{
    char character;
    int x, y, w, h;     // rectangle in the atlas
    int offsetX;        // pen to the rectangle's left edge
    int advance;
};

// Writes 8-bit coverage as premultiplied white into the surface.
void BlitCoverage(Canvas& atlas, const GlyphBitmap& glyph, int x, int y)
{
    cairo_surface_flush(atlas.Surface());
    uint8_t* data = cairo_image_surface_get_data(atlas.Surface());
    const int stride = cairo_image_surface_get_stride(atlas.Surface());
    for (int row = 0; row < glyph.rows; ++row)
    {
        if (y + row < 0 || y + row >= atlas.Height())
            continue;
        auto* out = reinterpret_cast<uint32_t*>(data + static_cast<ptrdiff_t>(y + row) * stride) + x;
        for (int col = 0; col < glyph.width; ++col)
        {
            const uint32_t a = glyph.coverage[static_cast<size_t>(row) * glyph.width + col];
            out[col] = (a << 24) | (a << 16) | (a << 8) | a;
        }
    }
    cairo_surface_mark_dirty(atlas.Surface());
}

// The option box: empty for '{', ticked for '}'. Drawn with its bottom on
// the baseline.
void CheckBox(cairo_t* cr, double x, double baseline, bool ticked)
{
    RoundedRect(cr, x + 2.5, baseline - 19.5, 19, 19, 4);
    cairo_set_source_rgba(cr, 1, 1, 1, 1);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    if (ticked)
    {
        cairo_move_to(cr, x + 6, baseline - 10);
        cairo_line_to(cr, x + 11, baseline - 4);
        cairo_line_to(cr, x + 23, baseline - 23);
        cairo_set_line_width(cr, 4);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke(cr);
    }
}

// Quotes one character for a list in the description language.
std::string Quoted(char c)
{
    if (c == '\'')
        return "\"'\"";
    if (c == '\\')
        return "'\\\\'";
    return std::string("'") + c + "'";
}

std::string Describe(const std::vector<PlacedGlyph>& glyphs, const FaceMetrics& metrics, int lineHeight)
{
    std::string text;
    text += "# Tumbrix28: the game's font, DejaVu Sans Bold at 28 pixels, white on clear.\n";
    text += "# '{' and '}' are drawn as an empty and a ticked check box.\n";
    text += "SetDefaultPointSize 28;\n";
    text += "CreateLayer Main;\n";
    text += "LayerSetImage Main 'Tumbrix28.png';\n";
    text += "LayerSetPointSize Main 28;\n";
    text += "LayerSetAscent Main " + std::to_string(metrics.ascent) + ";\n";
    text += "LayerSetHeight Main " + std::to_string(lineHeight) + ";\n";
    std::string chars = "Define Chars (", widths, rects, offsets;
    for (size_t i = 0; i < glyphs.size(); ++i)
    {
        const PlacedGlyph& g = glyphs[i];
        const std::string sep = i == 0 ? "" : (i % 16 == 0 ? ",\n  " : ", ");
        chars += sep + Quoted(g.character);
        widths += sep + std::to_string(g.advance);
        char rect[64];
        std::snprintf(rect, sizeof rect, "(%d, %d, %d, %d)", g.x, g.y, g.w, g.h);
        rects += std::string(i == 0 ? "" : (i % 8 == 0 ? ",\n  " : ", ")) + rect;
        // Rectangles start kPad above the line's top: the offset lifts them.
        offsets += std::string(i == 0 ? "" : (i % 12 == 0 ? ",\n  " : ", ")) + "(" + std::to_string(g.offsetX) +
                   ", " + std::to_string(-kPad) + ")";
    }
    text += chars + ");\n";
    text += "LayerSetCharWidths Main Chars (" + widths + ");\n";
    text += "LayerSetImageMap Main Chars (" + rects + ");\n";
    text += "LayerSetCharOffsets Main Chars (" + offsets + ");\n";
    return text;
}

} // namespace

void MakeFont(AssetSink& sink)
{
    const FaceMetrics metrics = MetricsOf(Face::SansBold, kPixelSize);
    const int lineHeight = metrics.ascent + metrics.descent;
    const int rowHeight = lineHeight + 2 * kPad;

    // Lay the glyphs out in rows first, to know the atlas height.
    std::vector<GlyphBitmap> bitmaps;
    std::vector<PlacedGlyph> placed;
    int x = 0, y = 0;
    for (int c = 32; c <= 126; ++c)
    {
        GlyphBitmap glyph = RenderGlyph(Face::SansBold, kPixelSize, static_cast<char>(c));
        if (c == '{' || c == '}')
        {
            glyph = GlyphBitmap{};
            glyph.width = 26;
            glyph.advance = 28;
        }
        const int w = glyph.width + 2 * kPad;
        if (x + w > kAtlasWidth)
            x = 0, y += rowHeight;
        placed.push_back(PlacedGlyph{static_cast<char>(c), x, y, w, rowHeight, glyph.left - kPad, glyph.advance});
        bitmaps.push_back(std::move(glyph));
        x += w;
    }
    Canvas atlas(kAtlasWidth, y + rowHeight);
    for (size_t i = 0; i < placed.size(); ++i)
    {
        const PlacedGlyph& g = placed[i];
        const int baseline = g.y + kPad + metrics.ascent;
        if (g.character == '{' || g.character == '}')
            CheckBox(atlas.cr(), g.x + kPad, baseline, g.character == '}');
        else if (bitmaps[i].width > 0)
            BlitCoverage(atlas, bitmaps[i], g.x + kPad, baseline - bitmaps[i].top);
    }
    sink.AddCanvas("images/Tumbrix28.png", atlas);
    const std::string text = Describe(placed, metrics, lineHeight);
    sink.AddFile("images/Tumbrix28.txt", std::vector<uint8_t>(text.begin(), text.end()));
}

} // namespace Lumo::AssetGen
