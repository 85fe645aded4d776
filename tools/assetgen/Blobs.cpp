// The blob sheets and the small pieces that go with them: tiles,
// tile_highlight, the game cursors, the cancel bubble, particles and icons.
#include <cmath>

#include "tools/assetgen/AssetSink.h"
#include "tools/assetgen/BlobArt.h"
#include "tools/assetgen/Canvas.h"
#include "tools/assetgen/Families.h"
#include "tools/assetgen/Paint.h"

namespace Lumo::AssetGen {

namespace {

constexpr int kCelW = 56;
constexpr int kCelH = 60;

void Tiles(AssetSink& sink)
{
    // Column = blob type, row = animation frame. Bombs animate over rows 0-5
    // (repeated below); skull, bread and smart bomb use row 0 only but fill
    // every row so any frame shows them.
    auto sheet = PaintSheet(kCelW, kCelH, 10, 10, [](cairo_t* cr, int type, int row) {
        const int frame = type == 6 ? row % 6 : row;
        DrawBlob(cr, type, frame, false);
    });
    sink.AddCanvas("images/tiles.png", *sheet);
    auto highlight = PaintSheet(kCelW, kCelH, 6, 1, [](cairo_t* cr, int type, int) { DrawBlob(cr, type, 0, true); });
    sink.AddCanvas("images/tile_highlight.png", *highlight);
}

// A ring of eight beads turning by a frame, plus corner brackets: the active
// cursor is white (the game tints it with the chain's colour).
void CursorOn(cairo_t* cr, int frame)
{
    const double cx = 32, cy = 32;
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int i = 0; i < 4; ++i)
    {
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_rotate(cr, i * kPi / 2);
        const double d = 27 - std::sin(frame * kPi / 4) * 1.5;
        cairo_move_to(cr, -d, -d + 9);
        cairo_line_to(cr, -d, -d);
        cairo_line_to(cr, -d + 9, -d);
        cairo_set_line_width(cr, 6);
        SetColour(cr, Rgb{0.2, 0.2, 0.2}, 0.8);
        cairo_stroke_preserve(cr);
        cairo_set_line_width(cr, 3.5);
        SetColour(cr, Rgb{1, 1, 1});
        cairo_stroke(cr);
        cairo_restore(cr);
    }
    for (int i = 0; i < 8; ++i)
    {
        const double a = i * kPi / 4 + frame * kPi / 16;
        const double x = cx + 21 * std::cos(a), y = cy + 21 * std::sin(a);
        cairo_arc(cr, x, y, i % 2 == 0 ? 3.2 : 2.2, 0, 2 * kPi);
        FillStroke(cr, Rgb{1, 1, 1}, Rgb{0.35, 0.35, 0.35}, 1.0);
    }
}

// The idle game cursor: a golden turning ring with a soft glow.
void CursorOff(cairo_t* cr, int frame)
{
    const double cx = 32, cy = 32;
    cairo_pattern_t* glow = cairo_pattern_create_radial(cx, cy, 14, cx, cy, 30);
    cairo_pattern_add_color_stop_rgba(glow, 0, 1, 0.9, 0.4, 0);
    cairo_pattern_add_color_stop_rgba(glow, 0.5, 1, 0.9, 0.4, 0.35);
    cairo_pattern_add_color_stop_rgba(glow, 1, 1, 0.9, 0.4, 0);
    cairo_set_source(cr, glow);
    cairo_paint(cr);
    cairo_pattern_destroy(glow);
    for (int i = 0; i < 12; ++i)
    {
        const double a0 = i * kPi / 6 + frame * kPi / 24;
        cairo_arc(cr, cx, cy, 22, a0, a0 + kPi / 9);
        cairo_set_line_width(cr, 5);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        SetColour(cr, Bytes(90, 50, 10), 0.7);
        cairo_stroke(cr);
        cairo_arc(cr, cx, cy, 22, a0, a0 + kPi / 9);
        cairo_set_line_width(cr, 3);
        SetColour(cr, i % 2 == 0 ? Bytes(255, 230, 90) : Bytes(255, 255, 220));
        cairo_stroke(cr);
    }
    Twinkle(cr, cx + 22 * std::cos(frame * kPi / 4), cy + 22 * std::sin(frame * kPi / 4), 6, Rgb{1, 1, 0.8}, 0.9);
}

void Cursors(AssetSink& sink)
{
    auto on = PaintSheet(64, 64, 1, 8, [](cairo_t* cr, int, int row) { CursorOn(cr, row); });
    sink.AddCanvas("images/cursor_on.png", *on);
    auto off = PaintSheet(64, 64, 1, 8, [](cairo_t* cr, int, int row) { CursorOff(cr, row); });
    sink.AddCanvas("images/cursor_off.png", *off);
}

void Particle(AssetSink& sink)
{
    Canvas canvas(12, 12);
    cairo_t* cr = canvas.cr();
    cairo_pattern_t* dot = cairo_pattern_create_radial(6, 6, 0, 6, 6, 6);
    cairo_pattern_add_color_stop_rgba(dot, 0, 1, 1, 1, 1);
    cairo_pattern_add_color_stop_rgba(dot, 0.45, 1, 1, 1, 0.75);
    cairo_pattern_add_color_stop_rgba(dot, 1, 1, 1, 1, 0);
    cairo_set_source(cr, dot);
    cairo_paint(cr);
    cairo_pattern_destroy(dot);
    sink.AddCanvas("images/blob_particle.png", canvas);
}

void SpeechBubble(AssetSink& sink)
{
    Canvas canvas(64, 56);
    cairo_t* cr = canvas.cr();
    cairo_new_path(cr);
    RoundedRect(cr, 3, 3, 58, 38, 16);
    cairo_move_to(cr, 22, 40);
    cairo_line_to(cr, 30, 53);
    cairo_line_to(cr, 36, 40);
    cairo_close_path(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    FillStroke(cr, Rgb{1, 1, 1}, Bytes(40, 30, 70), 2.5);
    RoundedRect(cr, 5, 5, 54, 34, 14);
    SetColour(cr, Rgb{1, 1, 1});
    cairo_fill(cr);
    Gloss(cr, 22, 11, 14, 4, 0.0);
    sink.AddCanvas("images/blob_speech.png", canvas);
}

void Exclamations(AssetSink& sink)
{
    auto sheet = PaintSheet(24, 32, 5, 1, [](cairo_t* cr, int colour, int) {
        const Rgb c = BlobColour(colour);
        cairo_move_to(cr, 7, 3);
        cairo_line_to(cr, 17, 3);
        cairo_line_to(cr, 14.5, 20);
        cairo_line_to(cr, 9.5, 20);
        cairo_close_path(cr);
        FillVertical(cr, 3, 20, Lighten(c, 0.35), c, Bytes(30, 16, 40), 2);
        cairo_arc(cr, 12, 26, 3.6, 0, 2 * kPi);
        FillStroke(cr, c, Bytes(30, 16, 40), 2);
    });
    sink.AddCanvas("images/blob_exclamation.png", *sheet);
}

void Icons(AssetSink& sink)
{
    for (const auto& [type, name] : {std::pair{6, "images/bomb_icon.png"}, std::pair{8, "images/skull_icon.png"}})
    {
        Canvas canvas(32, 32);
        cairo_t* cr = canvas.cr();
        cairo_scale(cr, 32.0 / 56.0, 32.0 / 56.0);
        cairo_translate(cr, 0, -4);
        DrawBlob(cr, type, 2, false);
        sink.AddCanvas(name, canvas);
    }
}

} // namespace

void MakeBlobs(AssetSink& sink)
{
    Tiles(sink);
    Cursors(sink);
    Particle(sink);
    SpeechBubble(sink);
    Exclamations(sink);
    Icons(sink);
}

} // namespace Lumo::AssetGen
