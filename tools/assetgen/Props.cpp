// Props: the Toast toaster bar over the field, the Story cocktail glass with
// its umbrella and orange, the fish's water tank, and the gorilla's toaster
// with the flying toast.
#include <cmath>

#include "tools/assetgen/AssetSink.h"
#include "tools/assetgen/Canvas.h"
#include "tools/assetgen/Families.h"
#include "tools/assetgen/Paint.h"

namespace Lumo::AssetGen {

namespace {

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

void MakeProps(AssetSink& sink)
{
    BoardToaster(sink);
    Cocktail(sink);
    Umbrella(sink);
    Orange(sink);
    WaterCooler(sink);
    WaterAnim(sink);
    Toaster(sink);
}

} // namespace Lumo::AssetGen
