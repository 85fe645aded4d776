// The island around the field: clouds and beach by day and by night, the
// bamboo border, the Toast toaster bar, and the side-panel props (cocktail
// glass, umbrella, orange, the fish's water tank and the gorilla's toaster).
#include <cmath>
#include <functional>
#include <string>

#include "tools/assetgen/AssetSink.h"
#include "tools/assetgen/Canvas.h"
#include "tools/assetgen/Families.h"
#include "tools/assetgen/Paint.h"

namespace Lumo::AssetGen {

namespace {

struct Palette
{
    const char* suffix;
    Rgb cloud, cloudShade, cloudRim;
    Rgb seaFar, seaNear, foam, wetSand, sand;
    Rgb dune, duneShade, grass, rock;
    bool night;
};

const Palette kDay{"day",
                   Rgb{1, 1, 1},
                   Bytes(196, 214, 240),
                   Rgb{1, 1, 1},
                   Bytes(0, 110, 190),
                   Bytes(30, 200, 215),
                   Rgb{1, 1, 1},
                   Bytes(226, 204, 140),
                   Bytes(252, 238, 167),
                   Bytes(248, 226, 150),
                   Bytes(222, 190, 112),
                   Bytes(80, 170, 60),
                   Bytes(150, 140, 130),
                   false};
const Palette kNight{"night",
                     Bytes(178, 160, 220),
                     Bytes(110, 92, 168),
                     Bytes(240, 230, 255),
                     Bytes(52, 40, 120),
                     Bytes(88, 86, 170),
                     Bytes(210, 200, 250),
                     Bytes(100, 84, 135),
                     Bytes(125, 107, 157),
                     Bytes(120, 102, 152),
                     Bytes(92, 76, 128),
                     Bytes(60, 100, 110),
                     Bytes(90, 84, 120),
                     true};

// One fluffy cloud: overlapping puffs, shaded from below, drawn at x and one
// tile width to either side so the tile repeats seamlessly.
void CloudBank(cairo_t* cr, const Palette& pal, double tileWidth)
{
    struct PuffSpec
    {
        double x, y, r;
    };
    static const PuffSpec kPuffs[] = {{20, 100, 26},  {52, 88, 32},  {88, 96, 28},  {60, 112, 22},
                                      {128, 104, 22}, {156, 84, 30}, {190, 70, 36}, {222, 92, 28},
                                      {176, 110, 20}, {240, 112, 18}, {110, 118, 16}};
    for (double shift : {-tileWidth, 0.0, tileWidth})
    {
        for (const PuffSpec& p : kPuffs)
        {
            const double x = p.x + shift, y = p.y, r = p.r;
            cairo_pattern_t* fill = cairo_pattern_create_linear(0, y - r, 0, y + r);
            AddStop(fill, 0, pal.cloudRim);
            AddStop(fill, 0.45, pal.cloud);
            AddStop(fill, 1, pal.cloudShade);
            cairo_set_source(cr, fill);
            cairo_arc(cr, x, y, r, 0, 2 * kPi);
            cairo_fill(cr);
            cairo_pattern_destroy(fill);
        }
    }
}

void Clouds(AssetSink& sink, const Palette& pal)
{
    Canvas canvas(256, 120);
    cairo_t* cr = canvas.cr();
    if (pal.night)
    {
        Random rng(5);
        for (int i = 0; i < 14; ++i)
            Twinkle(cr, rng.Range(4, 252), rng.Range(4, 60), rng.Range(2, 4.5), Rgb{1, 1, 0.9}, rng.Range(0.5, 1));
    }
    // Shadow band first, then the bank, then a soft glow on the tops.
    Canvas shadow(256, 120);
    cairo_translate(shadow.cr(), 0, 4);
    CloudBank(shadow.cr(), pal, 256);
    shadow.Fade(0.25);
    canvas.Draw(shadow, 0, 0);
    CloudBank(cr, pal, 256);
    sink.AddCanvas(std::string("images/cloud_") + pal.suffix + ".png", canvas);
}

// Sea at the top, a foam line, wet sand, then dry sand that matches the
// ground colour exactly at the bottom. Waves repeat every 128 pixels.
void BeachTile(AssetSink& sink, const Palette& pal)
{
    Canvas canvas(128, 64);
    cairo_t* cr = canvas.cr();
    SetColour(cr, pal.sand);
    cairo_paint(cr);
    auto shore = [](double x, double base, double amp, int waves, double phase) {
        return base + amp * std::sin(2 * kPi * (x / 128.0 * waves + phase));
    };
    auto band = [&](double base, double amp, int waves, double phase) {
        cairo_move_to(cr, 0, 0);
        for (int x = 0; x <= 128; x += 2)
            cairo_line_to(cr, x, shore(x, base, amp, waves, phase));
        cairo_line_to(cr, 128, 0);
        cairo_close_path(cr);
    };
    band(34, 2.5, 2, 0.1);
    SetColour(cr, pal.wetSand);
    cairo_fill(cr);
    band(27, 3, 2, 0.0);
    SetColour(cr, pal.foam, 0.9);
    cairo_fill(cr);
    band(24, 3, 2, 0.0);
    cairo_pattern_t* sea = cairo_pattern_create_linear(0, 0, 0, 26);
    AddStop(sea, 0, pal.seaFar);
    AddStop(sea, 1, pal.seaNear);
    cairo_set_source(cr, sea);
    cairo_fill(cr);
    cairo_pattern_destroy(sea);
    // Glints on the water.
    for (int i = 0; i < 6; ++i)
    {
        const double x = 10 + i * 21.0, y = 4 + (i % 3) * 5.0;
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x + 8, y);
        SetColour(cr, pal.foam, 0.6);
        cairo_set_line_width(cr, 1.2);
        cairo_stroke(cr);
    }
    // A few pebbles and shells on the sand.
    Random rng(11);
    for (int i = 0; i < 5; ++i)
    {
        EllipsePath(cr, rng.Range(4, 124), rng.Range(42, 60), rng.Range(1, 2.2), rng.Range(0.7, 1.4));
        SetColour(cr, Darken(pal.sand, 0.15), 0.7);
        cairo_fill(cr);
    }
    sink.AddCanvas(std::string("images/beach_") + pal.suffix + "_tile.png", canvas);
}

void Starfish(cairo_t* cr, double x, double y, double size, Rgb colour)
{
    StarPath(cr, x, y, size, size * 0.45, 5, 0.2);
    FillRadial(cr, x - 2, y - 2, size, Lighten(colour, 0.3), Darken(colour, 0.2), Darken(colour, 0.5), 1.5);
    for (int i = 0; i < 5; ++i)
    {
        const double a = 0.2 - kPi / 2 + i * 2 * kPi / 5;
        cairo_arc(cr, x + size * 0.5 * std::cos(a), y + size * 0.5 * std::sin(a), 1.2, 0, 2 * kPi);
        SetColour(cr, Lighten(colour, 0.6));
        cairo_fill(cr);
    }
}

// The beach's right end: a dune with grass, a sandcastle, a rock, a starfish.
void BeachRight(AssetSink& sink, const Palette& pal)
{
    Canvas canvas(256, 200);
    cairo_t* cr = canvas.cr();
    // Dune, fading into the ground at the bottom and the left.
    cairo_move_to(cr, 0, 200);
    cairo_curve_to(cr, 40, 150, 90, 60, 170, 50);
    cairo_curve_to(cr, 220, 44, 250, 52, 256, 56);
    cairo_line_to(cr, 256, 200);
    cairo_close_path(cr);
    cairo_pattern_t* dune = cairo_pattern_create_linear(0, 50, 0, 200);
    AddStop(dune, 0, Lighten(pal.dune, 0.15));
    AddStop(dune, 0.6, pal.dune);
    AddStop(dune, 1, pal.sand);
    cairo_set_source(cr, dune);
    cairo_fill(cr);
    cairo_pattern_destroy(dune);
    // Grass tufts on the crest.
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (double gx : {150.0, 196.0, 236.0})
    {
        for (int blade = -3; blade <= 3; ++blade)
        {
            const double baseY = 56 + (gx < 170 ? 2 : 0);
            cairo_move_to(cr, gx + blade * 1.5, baseY);
            cairo_curve_to(cr, gx + blade * 3, baseY - 12, gx + blade * 6, baseY - 20, gx + blade * 8,
                           baseY - 26 + std::abs(blade) * 3);
            SetColour(cr, blade % 2 == 0 ? pal.grass : Lighten(pal.grass, 0.2));
            cairo_set_line_width(cr, 2.2);
            cairo_stroke(cr);
        }
    }
    // Rock.
    cairo_move_to(cr, 196, 150);
    cairo_curve_to(cr, 192, 118, 214, 104, 234, 112);
    cairo_curve_to(cr, 252, 118, 256, 140, 250, 152);
    cairo_close_path(cr);
    FillRadial(cr, 212, 116, 50, Lighten(pal.rock, 0.3), Darken(pal.rock, 0.3), Darken(pal.rock, 0.55), 2);
    // Sandcastle with a flag.
    const Rgb castle = Darken(pal.dune, 0.05);
    const Rgb edge = Darken(pal.dune, 0.4);
    RoundedRect(cr, 84, 112, 70, 40, 4);
    FillVertical(cr, 112, 152, Lighten(castle, 0.1), pal.duneShade, edge, 1.5);
    for (double tx : {80.0, 134.0})
    {
        RoundedRect(cr, tx, 92, 24, 60, 3);
        FillVertical(cr, 92, 152, Lighten(castle, 0.15), pal.duneShade, edge, 1.5);
        for (int k = 0; k < 3; ++k)
        {
            cairo_rectangle(cr, tx + k * 9, 86, 6, 7);
            FillStroke(cr, Lighten(castle, 0.15), edge, 1.2);
        }
    }
    RoundedRect(cr, 111, 130, 16, 22, 8);
    SetColour(cr, Darken(pal.duneShade, 0.3));
    cairo_fill(cr);
    cairo_move_to(cr, 146, 86);
    cairo_line_to(cr, 146, 62);
    SetColour(cr, Bytes(90, 60, 30));
    cairo_set_line_width(cr, 1.8);
    cairo_stroke(cr);
    cairo_move_to(cr, 146, 62);
    cairo_line_to(cr, 164, 67);
    cairo_line_to(cr, 146, 72);
    cairo_close_path(cr);
    FillStroke(cr, pal.night ? Bytes(200, 90, 140) : Bytes(240, 60, 70), Bytes(90, 20, 30), 1.2);
    Starfish(cr, 60, 176, 12, pal.night ? Bytes(190, 110, 150) : Bytes(250, 120, 80));
    // Shells.
    for (auto [sx, sy] : {std::pair{178.0, 178.0}, std::pair{30.0, 190.0}})
    {
        cairo_move_to(cr, sx - 6, sy);
        cairo_curve_to(cr, sx - 6, sy - 9, sx + 6, sy - 9, sx + 6, sy);
        cairo_close_path(cr);
        FillStroke(cr, Lighten(pal.sand, 0.5), Darken(pal.sand, 0.35), 1.2);
    }
    if (pal.night)
    {
        // Moonlight glints.
        Twinkle(cr, 236, 114, 5, Rgb{1, 1, 1}, 0.8);
        Twinkle(cr, 98, 96, 4, Rgb{1, 1, 1}, 0.6);
    }
    sink.AddCanvas(std::string("images/beach_") + pal.suffix + "_right.png", canvas);
}

// A bamboo pole along the x axis from 0 to length, thickness t, with nodes.
void Bamboo(cairo_t* cr, double length, double t, double nodeSpacing, double phase)
{
    const Rgb light = Bytes(236, 214, 120), mid = Bytes(196, 160, 64), dark = Bytes(120, 86, 24);
    cairo_rectangle(cr, 0, 0, length, t);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, t);
    AddStop(p, 0, mid);
    AddStop(p, 0.3, light);
    AddStop(p, 0.65, mid);
    AddStop(p, 1, dark);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    for (double x = phase; x < length; x += nodeSpacing)
    {
        cairo_rectangle(cr, x - 1.5, 0, 3, t);
        SetColour(cr, dark, 0.85);
        cairo_fill(cr);
        cairo_rectangle(cr, x + 1.5, 0, 1.5, t);
        SetColour(cr, light, 0.8);
        cairo_fill(cr);
    }
    cairo_rectangle(cr, 0, 0.5, length, t - 1);
    SetColour(cr, Bytes(70, 44, 10));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

void Border(AssetSink& sink)
{
    Canvas top(424, 24);
    cairo_t* cr = top.cr();
    cairo_save(cr);
    cairo_translate(cr, 0, 3);
    Bamboo(cr, 424, 18, 70, 30);
    cairo_restore(cr);
    // Rope bindings where the side poles meet the top pole.
    for (double x : {8.0, 416.0})
    {
        for (int k = -2; k <= 2; ++k)
        {
            cairo_move_to(cr, x + k * 2.2 - 2, 1);
            cairo_line_to(cr, x + k * 2.2 + 2, 23);
        }
        SetColour(cr, Bytes(110, 70, 30));
        cairo_set_line_width(cr, 1.6);
        cairo_stroke(cr);
    }
    sink.AddCanvas("images/border_top.png", top);

    Canvas left(16, 660);
    cr = left.cr();
    cairo_translate(cr, 16, 0);
    cairo_rotate(cr, kPi / 2);
    Bamboo(cr, 660, 16, 90, 45);
    sink.AddCanvas("images/border_left.png", left);
}

// The Toast toaster bar over the field's bottom row: chrome with a glowing
// slot along its length.
void BoardToaster(AssetSink& sink)
{
    Canvas canvas(392, 60);
    cairo_t* cr = canvas.cr();
    RoundedRect(cr, 1, 1, 390, 58, 12);
    cairo_pattern_t* chrome = cairo_pattern_create_linear(0, 0, 0, 60);
    AddStop(chrome, 0, Bytes(250, 250, 255));
    AddStop(chrome, 0.25, Bytes(190, 196, 210));
    AddStop(chrome, 0.5, Bytes(140, 146, 165));
    AddStop(chrome, 0.8, Bytes(210, 214, 226));
    AddStop(chrome, 1, Bytes(110, 114, 130));
    cairo_set_source(cr, chrome);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(chrome);
    SetColour(cr, Bytes(50, 50, 70));
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    RoundedRect(cr, 14, 14, 364, 16, 8);
    FillVertical(cr, 14, 30, Bytes(40, 20, 10), Bytes(120, 40, 10), Bytes(30, 20, 20), 1.5);
    cairo_pattern_t* heat = cairo_pattern_create_linear(0, 22, 0, 30);
    cairo_pattern_add_color_stop_rgba(heat, 0, 1, 0.5, 0.1, 0);
    cairo_pattern_add_color_stop_rgba(heat, 1, 1, 0.6, 0.1, 0.8);
    cairo_set_source(cr, heat);
    RoundedRect(cr, 16, 16, 360, 13, 6);
    cairo_fill(cr);
    cairo_pattern_destroy(heat);
    for (int i = 0; i < 7; ++i)
    {
        cairo_arc(cr, 28 + i * 56, 44, 4, 0, 2 * kPi);
        FillStroke(cr, Bytes(230, 70, 50), Bytes(80, 20, 20), 1.2);
    }
    cairo_rectangle(cr, 6, 5, 380, 3);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.6);
    cairo_fill(cr);
    sink.AddCanvas("images/board_toaster.png", canvas);
}

// The Story glass, in whites and greys: the game tints its lower part with
// the drink's colour and the rest white, so the bowl is see-through white.
void Cocktail(AssetSink& sink)
{
    Canvas canvas(150, 280);
    cairo_t* cr = canvas.cr();
    auto bowl = [&](double inset) {
        cairo_new_path(cr);
        cairo_move_to(cr, 12 + inset, 6);
        cairo_line_to(cr, 138 - inset, 6);
        cairo_curve_to(cr, 150 - inset, 80, 118 - inset, 120, 128 - inset, 170);
        cairo_curve_to(cr, 134 - inset, 205, 110 - inset, 226 - inset, 75, 228 - inset);
        cairo_curve_to(cr, 40 + inset, 226 - inset, 16 + inset, 205, 22 + inset, 170);
        cairo_curve_to(cr, 32 + inset, 120, 0 + inset, 80, 12 + inset, 6);
        cairo_close_path(cr);
    };
    bowl(0);
    SetColour(cr, Rgb{1, 1, 1}, 0.75);
    cairo_fill_preserve(cr);
    SetColour(cr, Rgb{0.3, 0.3, 0.3});
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    bowl(7);
    SetColour(cr, Rgb{1, 1, 1}, 0.25);
    cairo_fill(cr);
    // Stem and foot.
    cairo_move_to(cr, 66, 226);
    cairo_line_to(cr, 70, 262);
    cairo_curve_to(cr, 40, 266, 28, 272, 30, 276);
    cairo_line_to(cr, 120, 276);
    cairo_curve_to(cr, 122, 272, 110, 266, 80, 262);
    cairo_line_to(cr, 84, 226);
    cairo_close_path(cr);
    FillStroke(cr, Rgb{0.95, 0.95, 0.95}, Rgb{0.3, 0.3, 0.3}, 2.5);
    // Reflections.
    cairo_move_to(cr, 30, 20);
    cairo_curve_to(cr, 26, 70, 44, 110, 38, 170);
    cairo_set_line_width(cr, 7);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.9);
    cairo_stroke(cr);
    cairo_move_to(cr, 118, 30);
    cairo_curve_to(cr, 122, 60, 112, 90, 114, 110);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    // Rim.
    EllipsePath(cr, 75, 7, 63, 4);
    SetColour(cr, Rgb{0.3, 0.3, 0.3});
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
    // A straw.
    cairo_move_to(cr, 96, 150);
    cairo_line_to(cr, 116, -4);
    cairo_set_line_width(cr, 6);
    SetColour(cr, Rgb{0.55, 0.55, 0.55});
    cairo_stroke_preserve(cr);
    cairo_set_line_width(cr, 3.5);
    SetColour(cr, Rgb{1, 1, 1});
    cairo_stroke(cr);
    sink.AddCanvas("images/cocktail.png", canvas);
}

void Umbrella(AssetSink& sink)
{
    Canvas canvas(72, 72);
    cairo_t* cr = canvas.cr();
    cairo_translate(cr, 36, 36);
    cairo_rotate(cr, -0.45);
    cairo_move_to(cr, 0, -6);
    cairo_line_to(cr, 2, 34);
    SetColour(cr, Bytes(120, 80, 40));
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
    const Rgb colours[] = {Bytes(255, 80, 110), Bytes(255, 220, 60), Bytes(70, 200, 230), Bytes(140, 230, 90)};
    for (int i = 0; i < 8; ++i)
    {
        const double a0 = kPi + i * kPi / 8, a1 = a0 + kPi / 8;
        cairo_move_to(cr, 0, -6);
        cairo_line_to(cr, 32 * std::cos(a0), -6 + 20 * std::sin(a0));
        cairo_curve_to(cr, 32 * std::cos((a0 + a1) / 2), -2 + 20 * std::sin((a0 + a1) / 2) * 0.7,
                       32 * std::cos(a1), -6 + 20 * std::sin(a1), 32 * std::cos(a1), -6 + 20 * std::sin(a1));
        cairo_close_path(cr);
        FillStroke(cr, colours[i % 4], Bytes(80, 30, 40), 1.3);
    }
    cairo_arc(cr, 0, -27, 2.5, 0, 2 * kPi);
    FillStroke(cr, Bytes(255, 255, 255), Bytes(80, 30, 40), 1);
    sink.AddCanvas("images/umbrella.png", canvas);
}

void Orange(AssetSink& sink)
{
    Canvas canvas(56, 56);
    cairo_t* cr = canvas.cr();
    const double cx = 28, cy = 30;
    cairo_arc(cr, cx, cy, 24, kPi, 2 * kPi);
    cairo_close_path(cr);
    FillStroke(cr, Bytes(255, 150, 20), Bytes(150, 60, 0), 2);
    cairo_arc(cr, cx, cy, 20, kPi, 2 * kPi);
    cairo_close_path(cr);
    FillRadial(cr, cx, cy, 20, Bytes(255, 240, 160), Bytes(255, 170, 40), Bytes(255, 240, 200), 1.5);
    for (int i = 1; i < 6; ++i)
    {
        const double a = kPi + i * kPi / 6;
        cairo_move_to(cr, cx, cy);
        cairo_line_to(cr, cx + 19 * std::cos(a), cy + 19 * std::sin(a));
    }
    cairo_set_source_rgba(cr, 1, 0.97, 0.85, 0.9);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    // The notch that sits on the glass rim.
    cairo_rectangle(cr, cx - 1.5, cy - 2, 3, 6);
    SetColour(cr, Bytes(150, 60, 0));
    cairo_fill(cr);
    sink.AddCanvas("images/orange.png", canvas);
}

// The goldfish's tank. The water (drawn by the game under this image) fills a
// rectangle 6 pixels in from the sides, from 24 pixels below the top to 6
// above the bottom: the glass is clear there, with a lid and a base around it.
void WaterCooler(AssetSink& sink)
{
    const int w = 200, h = 360;
    Canvas canvas(w, h);
    cairo_t* cr = canvas.cr();
    RoundedRect(cr, 3, 14, w - 6, h - 17, 10);
    SetColour(cr, Bytes(200, 235, 255), 0.18);
    cairo_fill_preserve(cr);
    SetColour(cr, Bytes(40, 70, 110));
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    // Glass reflections.
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, 18, 40);
    cairo_line_to(cr, 18, 300);
    cairo_set_line_width(cr, 6);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.45);
    cairo_stroke(cr);
    cairo_move_to(cr, 30, 40);
    cairo_line_to(cr, 30, 120);
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
    cairo_move_to(cr, 182, 60);
    cairo_line_to(cr, 182, 180);
    cairo_set_line_width(cr, 3);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.3);
    cairo_stroke(cr);
    // Lid.
    RoundedRect(cr, 0, 0, w, 24, 8);
    FillVertical(cr, 0, 24, Bytes(120, 200, 240), Bytes(30, 110, 170), Bytes(20, 50, 90), 2);
    RoundedRect(cr, 70, 4, 60, 8, 4);
    SetColour(cr, Bytes(20, 60, 100), 0.6);
    cairo_fill(cr);
    // Base.
    RoundedRect(cr, 0, h - 8, w, 8, 3);
    FillVertical(cr, h - 8, h, Bytes(120, 200, 240), Bytes(30, 110, 170), Bytes(20, 50, 90), 1.5);
    // A little plant in the corner.
    for (int leaf = 0; leaf < 4; ++leaf)
    {
        const double x = 160 + leaf * 6;
        cairo_move_to(cr, x, h - 22);
        cairo_curve_to(cr, x - 10, h - 60, x + 8, h - 80, x - 2 + leaf * 2, h - 100 + leaf * 12);
        SetColour(cr, Bytes(40, 170, 90), 0.85);
        cairo_set_line_width(cr, 4);
        cairo_stroke(cr);
    }
    sink.AddCanvas("images/water_cooler.png", canvas);

    // The mask is tinted with the ground colour: sand on the tank's floor.
    Canvas mask(w, h);
    cr = mask.cr();
    cairo_move_to(cr, 6, h - 6);
    cairo_line_to(cr, 6, h - 20);
    cairo_curve_to(cr, 50, h - 30, 90, h - 14, 130, h - 22);
    cairo_curve_to(cr, 160, h - 28, 180, h - 26, w - 6, h - 18);
    cairo_line_to(cr, w - 6, h - 6);
    cairo_close_path(cr);
    FillVertical(cr, h - 30, h - 6, Rgb{1, 1, 1}, Rgb{0.82, 0.82, 0.82}, Rgb{0.7, 0.7, 0.7}, 0);
    Random rng(3);
    for (int i = 0; i < 10; ++i)
    {
        EllipsePath(cr, rng.Range(14, 186), rng.Range(h - 16, h - 9), rng.Range(1.5, 3), rng.Range(1, 2));
        SetColour(cr, Rgb{0.7, 0.7, 0.7});
        cairo_fill(cr);
    }
    sink.AddCanvas("images/watercooler_mask.png", mask);
}

// 16 frames of the water's surface: white crests that the game tints blue.
void WaterAnim(AssetSink& sink)
{
    auto sheet = PaintSheet(47, 12, 1, 16, [](cairo_t* cr, int, int frame) {
        const double phase = frame / 16.0;
        cairo_move_to(cr, 0, 12);
        for (int x = 0; x <= 47; ++x)
            cairo_line_to(cr, x, 7 + 3 * std::sin(2 * kPi * (x / 47.0 - phase)));
        cairo_line_to(cr, 47, 12);
        cairo_close_path(cr);
        SetColour(cr, Rgb{1, 1, 1});
        cairo_fill(cr);
        cairo_move_to(cr, 0, 7 + 3 * std::sin(2 * kPi * -phase));
        for (int x = 0; x <= 47; ++x)
            cairo_line_to(cr, x, 7 + 3 * std::sin(2 * kPi * (x / 47.0 - phase)));
        cairo_set_source_rgba(cr, 1, 1, 1, 1);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
    });
    sink.AddCanvas("images/water_anim.png", *sheet);
}

void ToastSlice(cairo_t* cr, double cx, double cy, double size, double angle, double browned)
{
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, angle);
    cairo_scale(cr, size / 44.0, size / 44.0);
    auto slice = [&](double inset) {
        cairo_new_path(cr);
        cairo_move_to(cr, -18 + inset, 20 - inset);
        cairo_line_to(cr, -18 + inset, -6);
        cairo_curve_to(cr, -26 + inset, -12, -18 + inset, -24 + inset, 0, -22 + inset);
        cairo_curve_to(cr, 18 - inset, -24 + inset, 26 - inset, -12, 18 - inset, -6);
        cairo_line_to(cr, 18 - inset, 20 - inset);
        cairo_close_path(cr);
    };
    slice(0);
    FillStroke(cr, Mix(Bytes(200, 130, 50), Bytes(140, 70, 20), browned), Bytes(80, 40, 10), 2);
    slice(4);
    FillRadial(cr, -4, -6, 28, Mix(Bytes(255, 230, 170), Bytes(230, 160, 70), browned),
               Mix(Bytes(240, 200, 120), Bytes(200, 120, 40), browned), Bytes(0, 0, 0), 0);
    cairo_restore(cr);
}

void Toaster(AssetSink& sink)
{
    const int w = 220, h = 160;
    Canvas canvas(w, h);
    cairo_t* cr = canvas.cr();
    // Body: the gorilla stands on its top (40 pixels below the image top).
    RoundedRect(cr, 8, 40, w - 16, h - 52, 30);
    cairo_pattern_t* chrome = cairo_pattern_create_linear(8, 0, w - 8, 0);
    AddStop(chrome, 0, Bytes(150, 156, 175));
    AddStop(chrome, 0.15, Bytes(245, 247, 255));
    AddStop(chrome, 0.35, Bytes(190, 196, 215));
    AddStop(chrome, 0.7, Bytes(230, 234, 245));
    AddStop(chrome, 1, Bytes(120, 124, 145));
    cairo_set_source(cr, chrome);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(chrome);
    SetColour(cr, Bytes(50, 52, 70));
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    for (double sx : {76.0, 144.0})
    {
        RoundedRect(cr, sx - 26, 43, 52, 8, 4);
        FillVertical(cr, 43, 51, Bytes(30, 20, 20), Bytes(150, 60, 20), Bytes(30, 20, 20), 1);
    }
    // Display for the moves left (the game writes the number at y 114).
    RoundedRect(cr, 70, 96, 80, 30, 8);
    FillVertical(cr, 96, 126, Bytes(40, 40, 60), Bytes(20, 20, 35), Bytes(90, 94, 110), 2);
    // Lever and dial.
    RoundedRect(cr, w - 12, 62, 10, 34, 4);
    FillVertical(cr, 62, 96, Bytes(70, 70, 90), Bytes(30, 30, 45), Bytes(20, 20, 30), 1.5);
    cairo_arc(cr, 34, 110, 11, 0, 2 * kPi);
    FillRadial(cr, 30, 106, 14, Bytes(255, 120, 100), Bytes(170, 30, 30), Bytes(60, 10, 10), 2);
    // Feet.
    for (double fx : {30.0, w - 48.0})
    {
        RoundedRect(cr, fx, h - 14, 18, 12, 4);
        FillVertical(cr, h - 14, h - 2, Bytes(70, 70, 90), Bytes(30, 30, 40), Bytes(20, 20, 30), 1.5);
    }
    sink.AddCanvas("images/toaster.png", canvas);

    auto anim = PaintSheet(56, 56, 8, 1, [](cairo_t* c, int frame, int) {
        ToastSlice(c, 28, 28, 46, frame * kPi / 4, 0.8);
    });
    sink.AddCanvas("images/toast_anim.png", *anim);
}

} // namespace

void MakeScenery(AssetSink& sink)
{
    for (const Palette* pal : {&kDay, &kNight})
    {
        Clouds(sink, *pal);
        BeachTile(sink, *pal);
        BeachRight(sink, *pal);
    }
    Border(sink);
    BoardToaster(sink);
    Cocktail(sink);
    Umbrella(sink);
    Orange(sink);
    WaterCooler(sink);
    WaterAnim(sink);
    Toaster(sink);
}

} // namespace Lumo::AssetGen
