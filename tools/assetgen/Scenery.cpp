// The island around the field: clouds and beach by day and by night, and the
// bamboo border of the field.
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
}

} // namespace Lumo::AssetGen
