#include "tools/assetgen/TextArt.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <utility>

#include "platform/text/TextFont.h"

namespace Lumo::AssetGen {

namespace {

const char* const kFamily = "DejaVu Sans";

// The bitmap font's faces, opened once per style and size.
std::map<std::pair<bool, int>, std::unique_ptr<Platform::TextFont>>& RasterFonts()
{
    static std::map<std::pair<bool, int>, std::unique_ptr<Platform::TextFont>> fonts;
    return fonts;
}

Platform::TextFont* RasterFont(Face face, int pixelSize)
{
    auto& fonts = RasterFonts();
    const auto key = std::make_pair(face == Face::SansBold, pixelSize);
    auto found = fonts.find(key);
    if (found == fonts.end())
    {
        Platform::TextFontSpec spec;
        spec.face = kFamily;
        spec.pixelHeight = pixelSize;
        spec.bold = face == Face::SansBold;
        found = fonts.emplace(key, Platform::TextFont::Open(spec)).first;
    }
    return found->second.get();
}

} // namespace

bool OpenTextFaces()
{
    Platform::TextFont* font = RasterFont(Face::SansBold, 28);
    if (font == nullptr)
    {
        std::fprintf(stderr, "assetgen: no font can be opened (install fonts-dejavu-core)\n");
        return false;
    }
    if (font->GetFamily().find("DejaVu") == std::string::npos)
        std::fprintf(stderr, "assetgen: DejaVu Sans is missing, using %s: the text will look different\n",
                     font->GetFamily().c_str());
    return true;
}

void CloseTextFaces()
{
    RasterFonts().clear();
    cairo_debug_reset_static_data();
}

void UseFace(cairo_t* cr, Face face, double size)
{
    cairo_select_font_face(cr, kFamily, CAIRO_FONT_SLANT_NORMAL,
                           face == Face::SansBold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
}

double TextAdvance(cairo_t* cr, const std::string& text)
{
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text.c_str(), &extents);
    return extents.x_advance;
}

cairo_text_extents_t TextInk(cairo_t* cr, const std::string& text)
{
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text.c_str(), &extents);
    return extents;
}

void TextPath(cairo_t* cr, const std::string& text, double x, double y)
{
    cairo_move_to(cr, x, y);
    cairo_text_path(cr, text.c_str());
}

void DrawWord(cairo_t* cr, const std::string& text, double cx, double cy, double maxWidth, double maxHeight,
              const WordStyle& style)
{
    cairo_save(cr);
    UseFace(cr, style.face, 100);
    const cairo_text_extents_t ink = TextInk(cr, text);
    const double pad = style.outlineWidth + style.shadow;
    const double fitHeight = (maxHeight - 2 * pad) / ink.height;
    const double scale = style.keepHeight ? fitHeight : std::min((maxWidth - 2 * pad) / ink.width, fitHeight);
    const double squeeze = std::min(1.0, (maxWidth - 2 * pad) / (ink.width * scale));
    cairo_translate(cr, cx, 0);
    cairo_scale(cr, squeeze, 1);
    cairo_translate(cr, -cx, 0);
    UseFace(cr, style.face, 100 * scale);
    const cairo_text_extents_t fitted = TextInk(cr, text);
    const double x = cx - fitted.width / 2 - fitted.x_bearing;
    const double y = cy - fitted.height / 2 - fitted.y_bearing;
    const double top = cy - fitted.height / 2;
    const double bottom = cy + fitted.height / 2;

    // Drop shadow, outline, gradient body, gloss on the upper half.
    if (style.shadow > 0)
    {
        TextPath(cr, text, x + style.shadow * 0.6, y + style.shadow);
        cairo_set_line_width(cr, style.outlineWidth * 2);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        SetColour(cr, Rgb{0, 0, 0}, 0.35);
        cairo_stroke_preserve(cr);
        cairo_fill(cr);
    }
    TextPath(cr, text, x, y);
    cairo_set_line_width(cr, style.outlineWidth * 2);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    SetColour(cr, style.outline);
    cairo_stroke(cr);
    TextPath(cr, text, x, y);
    cairo_pattern_t* body = cairo_pattern_create_linear(0, top, 0, bottom);
    AddStop(body, 0, style.top);
    AddStop(body, 1, style.bottom);
    cairo_set_source(cr, body);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(body);
    if (style.gloss > 0)
    {
        cairo_clip(cr);
        cairo_pattern_t* shine = cairo_pattern_create_linear(0, top, 0, top + (bottom - top) * 0.55);
        cairo_pattern_add_color_stop_rgba(shine, 0, 1, 1, 1, style.gloss);
        cairo_pattern_add_color_stop_rgba(shine, 1, 1, 1, 1, 0.05);
        cairo_set_source(cr, shine);
        cairo_rectangle(cr, cx - maxWidth, top - 2, maxWidth * 2, (bottom - top) * 0.5);
        cairo_fill(cr);
        cairo_pattern_destroy(shine);
    }
    cairo_new_path(cr);
    cairo_restore(cr);
}

GlyphBitmap RenderGlyph(Face face, int pixelSize, char character)
{
    GlyphBitmap glyph;
    Platform::TextFont* font = RasterFont(face, pixelSize);
    if (font == nullptr)
        return glyph;
    const std::string text(1, character);
    glyph.advance = font->MeasureString(text);
    // Render with room on both sides (ink may reach past the advance), then
    // keep the columns that hold ink.
    const int margin = pixelSize / 2;
    Platform::CoverageBitmap cell(glyph.advance + 2 * margin, font->GetHeight());
    font->RenderString(text, margin, 0, cell);
    int first = cell.GetWidth(), last = -1;
    for (int x = 0; x < cell.GetWidth(); ++x)
        for (int y = 0; y < cell.GetHeight(); ++y)
            if (cell.At(x, y) != 0)
            {
                first = std::min(first, x);
                last = std::max(last, x);
            }
    if (last < first)
        return glyph;
    glyph.width = last - first + 1;
    glyph.rows = cell.GetHeight();
    glyph.left = first - margin;
    glyph.top = font->GetAscent();
    glyph.coverage.resize(static_cast<size_t>(glyph.width) * glyph.rows);
    for (int y = 0; y < glyph.rows; ++y)
        for (int x = 0; x < glyph.width; ++x)
            glyph.coverage[static_cast<size_t>(y) * glyph.width + x] = cell.At(first + x, y);
    return glyph;
}

FaceMetrics MetricsOf(Face face, int pixelSize)
{
    FaceMetrics metrics;
    if (Platform::TextFont* font = RasterFont(face, pixelSize))
    {
        metrics.ascent = font->GetAscent();
        metrics.descent = font->GetDescent();
    }
    return metrics;
}

} // namespace Lumo::AssetGen
