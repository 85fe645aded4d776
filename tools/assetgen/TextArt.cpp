#include "tools/assetgen/TextArt.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <cairo-ft.h>

#include <algorithm>
#include <cstdio>

namespace Lumo::AssetGen {

namespace {

const char* const kFontFolders[] = {
    "/usr/share/fonts/truetype/dejavu/",
    "/usr/share/fonts/dejavu/",
    "/usr/share/fonts/TTF/",
    "/usr/local/share/fonts/",
};

struct FaceSlot
{
    const char* file;
    FT_Face ft = nullptr;  // owned by cairo's font face
    FT_Face raw = nullptr; // our own, for the bitmap font (sizes change freely)
    cairo_font_face_t* cairo = nullptr;
};

FT_Library gLibrary = nullptr;
FaceSlot gFaces[] = {{"DejaVuSans.ttf"}, {"DejaVuSans-Bold.ttf"}};
const cairo_user_data_key_t kFaceKey{};

FaceSlot& SlotOf(Face face)
{
    return gFaces[face == Face::Sans ? 0 : 1];
}

bool OpenFace(FaceSlot& slot)
{
    for (const char* folder : kFontFolders)
    {
        const std::string path = std::string(folder) + slot.file;
        if (FT_New_Face(gLibrary, path.c_str(), 0, &slot.ft) == 0)
        {
            if (FT_New_Face(gLibrary, path.c_str(), 0, &slot.raw) != 0)
                slot.raw = nullptr;
            slot.cairo = cairo_ft_font_face_create_for_ft_face(slot.ft, 0);
            // cairo may keep the face past our reference: it closes the FreeType
            // face when it lets go of it.
            cairo_font_face_set_user_data(slot.cairo, &kFaceKey, slot.ft,
                                          [](void* face) { FT_Done_Face(static_cast<FT_Face>(face)); });
            return true;
        }
    }
    std::fprintf(stderr, "assetgen: font %s not found (install fonts-dejavu-core)\n", slot.file);
    return false;
}

} // namespace

bool OpenTextFaces()
{
    if (FT_Init_FreeType(&gLibrary) != 0)
        return false;
    for (FaceSlot& slot : gFaces)
        if (!OpenFace(slot) || slot.raw == nullptr)
            return false;
    return true;
}

void CloseTextFaces()
{
    for (FaceSlot& slot : gFaces)
    {
        if (slot.cairo != nullptr)
            cairo_font_face_destroy(slot.cairo);
        if (slot.raw != nullptr)
            FT_Done_Face(slot.raw);
        slot.raw = nullptr;
        slot.cairo = nullptr;
        slot.ft = nullptr;
    }
    cairo_debug_reset_static_data();
    if (gLibrary != nullptr)
        FT_Done_FreeType(gLibrary);
    gLibrary = nullptr;
}

void UseFace(cairo_t* cr, Face face, double size)
{
    cairo_set_font_face(cr, SlotOf(face).cairo);
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

GlyphBitmap RenderGlyph(Face face, int pixelSize, char32_t character)
{
    GlyphBitmap glyph;
    FT_Face ft = SlotOf(face).raw;
    FT_Set_Pixel_Sizes(ft, 0, static_cast<FT_UInt>(pixelSize));
    if (FT_Load_Char(ft, character, FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT) != 0)
        return glyph;
    const FT_GlyphSlot slot = ft->glyph;
    glyph.width = static_cast<int>(slot->bitmap.width);
    glyph.rows = static_cast<int>(slot->bitmap.rows);
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    glyph.coverage.resize(static_cast<size_t>(glyph.width) * glyph.rows);
    for (int y = 0; y < glyph.rows; ++y)
        std::copy_n(slot->bitmap.buffer + static_cast<ptrdiff_t>(y) * slot->bitmap.pitch, glyph.width,
                    glyph.coverage.begin() + static_cast<ptrdiff_t>(y) * glyph.width);
    return glyph;
}

FaceMetrics MetricsOf(Face face, int pixelSize)
{
    FT_Face ft = SlotOf(face).raw;
    FT_Set_Pixel_Sizes(ft, 0, static_cast<FT_UInt>(pixelSize));
    FaceMetrics metrics;
    metrics.ascent = static_cast<int>((ft->size->metrics.ascender + 63) >> 6);
    metrics.descent = static_cast<int>((-ft->size->metrics.descender + 63) >> 6);
    return metrics;
}

} // namespace Lumo::AssetGen
