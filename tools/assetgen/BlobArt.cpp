#include "tools/assetgen/BlobArt.h"

#include <cmath>

namespace Lumo::AssetGen {

Rgb BlobColour(int colour)
{
    static const Rgb kColours[5] = {Bytes(209, 0, 36), Bytes(233, 233, 46), Bytes(24, 230, 49), Bytes(74, 88, 247),
                                    Bytes(217, 14, 253)};
    return kColours[((colour % 5) + 5) % 5];
}

void BlobShapePath(cairo_t* cr, int colour, double cx, double cy, double s)
{
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, s, s);
    cairo_new_sub_path(cr);
    switch (colour)
    {
    case 0: // round
        cairo_arc(cr, 0, 1, 22, 0, 2 * kPi);
        break;
    case 1: // soft rounded square
        RoundedRect(cr, -21, -19, 42, 42, 13);
        break;
    case 2: // drop, point up
        cairo_move_to(cr, 0, -24);
        cairo_curve_to(cr, 6, -14, 21, -4, 21, 8);
        cairo_curve_to(cr, 21, 20, 11, 24, 0, 24);
        cairo_curve_to(cr, -11, 24, -21, 20, -21, 8);
        cairo_curve_to(cr, -21, -4, -6, -14, 0, -24);
        cairo_close_path(cr);
        break;
    case 3: // wide dome
        cairo_move_to(cr, -25, 16);
        cairo_curve_to(cr, -27, -6, -15, -17, 0, -17);
        cairo_curve_to(cr, 15, -17, 27, -6, 25, 16);
        cairo_curve_to(cr, 22, 23, -22, 23, -25, 16);
        cairo_close_path(cr);
        break;
    default: // bean with two ears
        cairo_move_to(cr, -20, -8);
        cairo_line_to(cr, -17, -24);
        cairo_line_to(cr, -6, -15);
        cairo_curve_to(cr, -2, -16, 2, -16, 6, -15);
        cairo_line_to(cr, 17, -24);
        cairo_line_to(cr, 20, -8);
        cairo_curve_to(cr, 25, 4, 22, 23, 0, 23);
        cairo_curve_to(cr, -22, 23, -25, 4, -20, -8);
        cairo_close_path(cr);
        break;
    }
    cairo_restore(cr);
}

namespace {

constexpr double kCx = 28;
constexpr double kCy = 30;
const Rgb kInk = Bytes(30, 16, 40);

void Eye(cairo_t* cr, double x, double y, double rx, double ry)
{
    EllipsePath(cr, x, y, rx, ry);
    SetColour(cr, kInk);
    cairo_fill(cr);
    EllipsePath(cr, x - rx * 0.3, y - ry * 0.4, rx * 0.45, ry * 0.35);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.95);
    cairo_fill(cr);
}

void ClosedEye(cairo_t* cr, double x, double y, double w, bool happy)
{
    cairo_move_to(cr, x - w, y + (happy ? 1.5 : -1));
    cairo_curve_to(cr, x - w * 0.5, y + (happy ? -3 : 2.5), x + w * 0.5, y + (happy ? -3 : 2.5), x + w,
                   y + (happy ? 1.5 : -1));
    SetColour(cr, kInk);
    cairo_set_line_width(cr, 2.2);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
}

void Cheeks(cairo_t* cr, double dx, double y, Rgb colour)
{
    for (double side : {-1.0, 1.0})
    {
        EllipsePath(cr, kCx + side * dx, y, 3.6, 2.2);
        SetColour(cr, Lighten(ShiftHue(colour, -25), 0.35), 0.55);
        cairo_fill(cr);
    }
}

void Face(cairo_t* cr, int colour, double blink)
{
    cairo_save(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    const double eyeY = kCy - 1;
    switch (colour)
    {
    case 0: // cheerful: oval eyes, wide smile
        Eye(cr, kCx - 7, eyeY, 3.2, 4.6 * blink);
        Eye(cr, kCx + 7, eyeY, 3.2, 4.6 * blink);
        cairo_move_to(cr, kCx - 8, kCy + 7);
        cairo_curve_to(cr, kCx - 4, kCy + 13, kCx + 4, kCy + 13, kCx + 8, kCy + 7);
        cairo_close_path(cr);
        FillStroke(cr, Bytes(120, 0, 20), kInk, 1.6);
        Cheeks(cr, 13, kCy + 5, BlobColour(0));
        break;
    case 1: // laughing: happy closed eyes, open mouth
        ClosedEye(cr, kCx - 8, eyeY, 4.2, true);
        ClosedEye(cr, kCx + 8, eyeY, 4.2, true);
        EllipsePath(cr, kCx, kCy + 9, 5, 4.5);
        FillStroke(cr, Bytes(150, 60, 20), kInk, 1.6);
        EllipsePath(cr, kCx, kCy + 11.5, 3, 1.6);
        SetColour(cr, Bytes(255, 120, 100));
        cairo_fill(cr);
        Cheeks(cr, 14, kCy + 5, BlobColour(1));
        break;
    case 2: // content: sleepy half-closed eyes, small smile
        Eye(cr, kCx - 7, eyeY + 3, 3.4, 3.8 * blink);
        Eye(cr, kCx + 7, eyeY + 3, 3.4, 3.8 * blink);
        for (double side : {-1.0, 1.0})
        {
            cairo_move_to(cr, kCx + side * 7 - 4.5, eyeY + 0.5);
            cairo_line_to(cr, kCx + side * 7 + 4.5, eyeY + 0.5);
        }
        SetColour(cr, Darken(BlobColour(2), 0.35));
        cairo_set_line_width(cr, 3);
        cairo_stroke(cr);
        cairo_move_to(cr, kCx - 5, kCy + 10);
        cairo_curve_to(cr, kCx - 2, kCy + 13, kCx + 2, kCy + 13, kCx + 5, kCy + 10);
        SetColour(cr, kInk);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
        break;
    case 3: // surprised: round eyes, "o" mouth
        Eye(cr, kCx - 8, eyeY, 3.8, 4.2 * blink);
        Eye(cr, kCx + 8, eyeY, 3.8, 4.2 * blink);
        EllipsePath(cr, kCx, kCy + 9, 3, 3.6);
        FillStroke(cr, Bytes(20, 20, 90), kInk, 1.4);
        break;
    default: // cheeky cat: eyes and a "w" mouth with a tongue
        Eye(cr, kCx - 7, eyeY + 1, 3, 4.2 * blink);
        Eye(cr, kCx + 7, eyeY + 1, 3, 4.2 * blink);
        EllipsePath(cr, kCx + 1.5, kCy + 10.5, 2.4, 3);
        SetColour(cr, Bytes(255, 110, 150));
        cairo_fill(cr);
        cairo_move_to(cr, kCx - 6, kCy + 7);
        cairo_curve_to(cr, kCx - 4, kCy + 10, kCx - 1, kCy + 10, kCx, kCy + 7.5);
        cairo_curve_to(cr, kCx + 1, kCy + 10, kCx + 4, kCy + 10, kCx + 6, kCy + 7);
        SetColour(cr, kInk);
        cairo_set_line_width(cr, 1.8);
        cairo_stroke(cr);
        break;
    }
    cairo_restore(cr);
}

// A diagonal band of light that sweeps across the body over frames 1-9.
void Shimmer(cairo_t* cr, int frame)
{
    if (frame <= 0)
        return;
    const double x = -20 + frame * 9.0;
    cairo_pattern_t* band = cairo_pattern_create_linear(x - 10, 0, x + 10, 12);
    cairo_pattern_add_color_stop_rgba(band, 0, 1, 1, 1, 0);
    cairo_pattern_add_color_stop_rgba(band, 0.5, 1, 1, 1, 0.55);
    cairo_pattern_add_color_stop_rgba(band, 1, 1, 1, 1, 0);
    cairo_set_source(cr, band);
    cairo_paint(cr);
    cairo_pattern_destroy(band);
}

void ColourBlob(cairo_t* cr, int colour, int frame, bool highlighted)
{
    const Rgb base = highlighted ? Lighten(BlobColour(colour), 0.12) : BlobColour(colour);
    const double squash = frame > 0 ? 1.0 + 0.04 * std::sin(frame * kPi / 5.0) : 1.0;
    GroundShadow(cr, kCx, 53, 19, 4.5, 0.45);
    cairo_save(cr);
    // Squash about the bottom so the blob stays on the ground.
    cairo_translate(cr, kCx, 53);
    cairo_scale(cr, 1.0 / squash, squash);
    cairo_translate(cr, -kCx, -53);
    if (highlighted)
    {
        // A white glow around the selected blob.
        for (const auto& [scale, alpha] : {std::pair{1.17, 0.3}, std::pair{1.11, 0.55}, std::pair{1.06, 1.0}})
        {
            BlobShapePath(cr, colour, kCx, kCy, scale);
            cairo_set_source_rgba(cr, 1, 1, 0.92, alpha);
            cairo_fill(cr);
        }
    }
    BlobShapePath(cr, colour, kCx, kCy, 1.0);
    // Yellow darkens towards amber, not olive.
    const Rgb shade = colour == 1 ? Mix(base, Bytes(214, 128, 10), 0.55) : Darken(base, 0.3);
    FillRadial(cr, kCx - 8, kCy - 10, 32, Lighten(base, 0.45), shade, Darken(shade, 0.4), 1.6);
    // Jelly: a light glow inside the lower edge and a gloss on top.
    cairo_save(cr);
    BlobShapePath(cr, colour, kCx, kCy, 1.0);
    cairo_clip(cr);
    cairo_pattern_t* glow = cairo_pattern_create_radial(kCx + 4, kCy + 26, 2, kCx + 4, kCy + 26, 20);
    AddStop(glow, 0, Lighten(base, 0.6), 0.7);
    AddStop(glow, 1, Lighten(base, 0.6), 0);
    cairo_set_source(cr, glow);
    cairo_paint(cr);
    cairo_pattern_destroy(glow);
    Shimmer(cr, frame);
    cairo_restore(cr);
    Gloss(cr, kCx - 7, kCy - 11, 9, 5.5, highlighted ? 0.95 : 0.8);
    EllipsePath(cr, kCx + 11, kCy - 8, 2, 2);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.8);
    cairo_fill(cr);
    const double blink = (frame == 5) ? 0.15 : 1.0;
    Face(cr, colour, blink);
    cairo_restore(cr);
    if (frame >= 3 && frame <= 7)
        Twinkle(cr, kCx + 14, kCy - 14, 7 - std::abs(frame - 5) * 1.5, Rgb{1, 1, 1}, 0.9);
}

void Wildcard(cairo_t* cr, int frame, bool highlighted)
{
    GroundShadow(cr, kCx, 53, 19, 4.5, 0.45);
    if (highlighted)
        for (const auto& [r, alpha] : {std::pair{25.5, 0.3}, std::pair{24.3, 0.55}, std::pair{23.2, 1.0}})
        {
            cairo_arc(cr, kCx, kCy + 1, r, 0, 2 * kPi);
            cairo_set_source_rgba(cr, 1, 1, 0.92, alpha);
            cairo_fill(cr);
        }
    cairo_save(cr);
    cairo_arc(cr, kCx, kCy + 1, 22, 0, 2 * kPi);
    cairo_clip(cr);
    const double turn = frame * 2 * kPi / 10.0 / 2.0;
    for (int i = 0; i < 10; ++i)
    {
        const double a0 = turn + i * 2 * kPi / 10, a1 = a0 + 2 * kPi / 10 + 0.02;
        cairo_move_to(cr, kCx, kCy + 1);
        cairo_arc(cr, kCx, kCy + 1, 30, a0, a1);
        cairo_close_path(cr);
        SetColour(cr, Lighten(BlobColour(i % 5), highlighted ? 0.25 : 0.15));
        cairo_fill(cr);
    }
    cairo_pattern_t* shade = cairo_pattern_create_radial(kCx - 6, kCy - 8, 3, kCx, kCy + 1, 24);
    cairo_pattern_add_color_stop_rgba(shade, 0, 1, 1, 1, 0.75);
    cairo_pattern_add_color_stop_rgba(shade, 0.45, 1, 1, 1, 0.1);
    cairo_pattern_add_color_stop_rgba(shade, 1, 0.1, 0, 0.2, 0.45);
    cairo_set_source(cr, shade);
    cairo_paint(cr);
    cairo_pattern_destroy(shade);
    cairo_restore(cr);
    cairo_arc(cr, kCx, kCy + 1, 22, 0, 2 * kPi);
    SetColour(cr, Bytes(60, 30, 80));
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
    StarPath(cr, kCx, kCy + 2, 10 + (frame % 2), 4.5, 5, turn * 0.5);
    FillStroke(cr, Rgb{1, 1, 0.85}, Bytes(120, 80, 20), 1.4);
    Gloss(cr, kCx - 7, kCy - 11, 9, 5.5, 0.8);
    Twinkle(cr, kCx + 13 - frame, kCy - 12 + frame * 0.5, 5, Rgb{1, 1, 1}, 0.8);
}

void Bomb(cairo_t* cr, int frame, bool highlighted)
{
    GroundShadow(cr, kCx, 53, 18, 4.5, 0.5);
    const Rgb body = highlighted ? Bytes(90, 90, 130) : Bytes(45, 45, 70);
    cairo_arc(cr, kCx - 1, kCy + 5, 19, 0, 2 * kPi);
    FillRadial(cr, kCx - 8, kCy - 3, 26, Lighten(body, 0.4), Darken(body, 0.5), Bytes(10, 10, 20), 1.6);
    // Metal cap and fuse.
    cairo_save(cr);
    cairo_translate(cr, kCx + 9, kCy - 10);
    cairo_rotate(cr, 0.7);
    RoundedRect(cr, -6, -4, 12, 8, 2);
    FillVertical(cr, -4, 4, Bytes(200, 200, 210), Bytes(110, 110, 130), Bytes(20, 20, 30), 1.2);
    cairo_restore(cr);
    cairo_move_to(cr, kCx + 12, kCy - 14);
    cairo_curve_to(cr, kCx + 15, kCy - 22, kCx + 20, kCy - 20, kCx + 21, kCy - 25);
    SetColour(cr, Bytes(150, 110, 60));
    cairo_set_line_width(cr, 2.5);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
    // Spark at the fuse's tip, flickering over six frames.
    const int f = frame % 6;
    const double size = 6 + (f % 3) * 1.8;
    Twinkle(cr, kCx + 21, kCy - 25, size + 3, Bytes(255, 160, 40), 0.95);
    StarPath(cr, kCx + 21, kCy - 25, size, size * 0.35, 6, f * 0.5);
    FillStroke(cr, Bytes(255, 240, 140), Bytes(255, 120, 0), 1.0);
    Gloss(cr, kCx - 8, kCy - 4, 7, 4.5, 0.6);
    // Angry little eyes, so the bomb reads as a character too.
    for (double side : {-1.0, 1.0})
    {
        EllipsePath(cr, kCx - 1 + side * 6, kCy + 7, 2.6, 3.4);
        cairo_set_source_rgba(cr, 1, 1, 1, 0.95);
        cairo_fill(cr);
        cairo_move_to(cr, kCx - 1 + side * 10, kCy + 1);
        cairo_line_to(cr, kCx - 1 + side * 3, kCy + 3.5);
        cairo_set_source_rgba(cr, 1, 1, 1, 0.9);
        cairo_set_line_width(cr, 1.8);
        cairo_stroke(cr);
    }
}

void SmartBomb(cairo_t* cr, bool highlighted)
{
    // Greys only: the game tints it with the colour it will clear.
    GroundShadow(cr, kCx, 53, 19, 4.5, 0.35);
    cairo_arc(cr, kCx, kCy + 1, 22, 0, 2 * kPi);
    FillRadial(cr, kCx - 7, kCy - 8, 30, Rgb{1, 1, 1}, highlighted ? Rgb{0.8, 0.8, 0.8} : Rgb{0.55, 0.55, 0.55},
               Rgb{0.25, 0.25, 0.25}, 1.6);
    cairo_arc(cr, kCx, kCy + 1, 16, 0, 2 * kPi);
    SetColour(cr, Rgb{0.35, 0.35, 0.35}, 0.5);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    StarPath(cr, kCx, kCy + 2, 14, 6, 8, 0.2);
    FillStroke(cr, Rgb{1, 1, 1}, Rgb{0.3, 0.3, 0.3}, 1.2);
    cairo_arc(cr, kCx, kCy + 2, 4, 0, 2 * kPi);
    SetColour(cr, Rgb{0.45, 0.45, 0.45});
    cairo_fill(cr);
    Gloss(cr, kCx - 7, kCy - 11, 9, 5.5, 0.9);
}

void Skull(cairo_t* cr, bool highlighted)
{
    GroundShadow(cr, kCx, 53, 18, 4.5, 0.5);
    const Rgb bone = highlighted ? Bytes(255, 255, 245) : Bytes(236, 230, 214);
    const Rgb ink = Bytes(40, 20, 50);
    cairo_move_to(cr, kCx - 20, kCy + 2);
    cairo_curve_to(cr, kCx - 22, kCy - 22, kCx + 22, kCy - 22, kCx + 20, kCy + 2);
    cairo_curve_to(cr, kCx + 19, kCy + 10, kCx + 13, kCy + 11, kCx + 12, kCy + 14);
    cairo_line_to(cr, kCx + 11, kCy + 22);
    cairo_curve_to(cr, kCx + 4, kCy + 25, kCx - 4, kCy + 25, kCx - 11, kCy + 22);
    cairo_line_to(cr, kCx - 12, kCy + 14);
    cairo_curve_to(cr, kCx - 13, kCy + 11, kCx - 19, kCy + 10, kCx - 20, kCy + 2);
    cairo_close_path(cr);
    FillRadial(cr, kCx - 6, kCy - 10, 34, Lighten(bone, 0.5), Bytes(170, 150, 170), ink, 1.8);
    for (double side : {-1.0, 1.0})
    {
        EllipsePath(cr, kCx + side * 8, kCy + 1, 6, 6.5);
        SetColour(cr, Bytes(45, 20, 60));
        cairo_fill(cr);
        EllipsePath(cr, kCx + side * 8, kCy + 2, 2.2, 2.2);
        SetColour(cr, Bytes(200, 60, 255), 0.9);
        cairo_fill(cr);
    }
    cairo_move_to(cr, kCx, kCy + 8);
    cairo_line_to(cr, kCx - 3, kCy + 13);
    cairo_line_to(cr, kCx + 3, kCy + 13);
    cairo_close_path(cr);
    SetColour(cr, Bytes(45, 20, 60));
    cairo_fill(cr);
    for (int i = -1; i <= 2; ++i)
    {
        cairo_move_to(cr, kCx + i * 4.5 - 2.2, kCy + 17);
        cairo_line_to(cr, kCx + i * 4.5 - 2.2, kCy + 23);
    }
    SetColour(cr, ink);
    cairo_set_line_width(cr, 1.3);
    cairo_stroke(cr);
    Gloss(cr, kCx - 7, kCy - 11, 8, 4.5, 0.6);
}

void Bread(cairo_t* cr, bool highlighted)
{
    GroundShadow(cr, kCx, 53, 20, 4.5, 0.45);
    const Rgb crust = highlighted ? Bytes(230, 160, 80) : Bytes(196, 120, 48);
    auto slice = [&](double inset) {
        const double l = kCx - 21 + inset, r = kCx + 21 - inset, t = kCy - 20 + inset, b = kCy + 22 - inset;
        cairo_new_sub_path(cr);
        cairo_move_to(cr, l + 3, b);
        cairo_line_to(cr, l + 2, t + 14);
        cairo_curve_to(cr, l - 6, t + 8, l + 2, t - 4, kCx, t);
        cairo_curve_to(cr, r - 2, t - 4, r + 6, t + 8, r - 2, t + 14);
        cairo_line_to(cr, r - 3, b);
        cairo_curve_to(cr, r - 4, b + 2, l + 4, b + 2, l + 3, b);
        cairo_close_path(cr);
    };
    slice(0);
    FillRadial(cr, kCx - 6, kCy - 8, 34, Lighten(crust, 0.2), Darken(crust, 0.25), Bytes(90, 45, 10), 1.6);
    slice(5);
    FillRadial(cr, kCx - 4, kCy - 6, 30, Bytes(255, 246, 214), Bytes(240, 214, 160), Bytes(200, 150, 80), 0.8);
    Random rng(9);
    for (int i = 0; i < 14; ++i)
    {
        EllipsePath(cr, kCx + rng.Range(-11, 11), kCy + rng.Range(-8, 14), rng.Range(0.6, 1.4), rng.Range(0.5, 1.0));
        SetColour(cr, Bytes(215, 180, 120), 0.8);
        cairo_fill(cr);
    }
    // A sleepy face: the bread is a passenger too.
    ClosedEye(cr, kCx - 7, kCy + 2, 3.5, false);
    ClosedEye(cr, kCx + 7, kCy + 2, 3.5, false);
    cairo_move_to(cr, kCx - 3, kCy + 9);
    cairo_curve_to(cr, kCx - 1, kCy + 11, kCx + 1, kCy + 11, kCx + 3, kCy + 9);
    SetColour(cr, kInk);
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
}

} // namespace

void DrawBlob(cairo_t* cr, int type, int frame, bool highlighted)
{
    cairo_save(cr);
    switch (type)
    {
    case 5: Wildcard(cr, frame, highlighted); break;
    case 6: Bomb(cr, frame, highlighted); break;
    case 7: SmartBomb(cr, highlighted); break;
    case 8: Skull(cr, highlighted); break;
    case 9: Bread(cr, highlighted); break;
    default: ColourBlob(cr, type, frame, highlighted); break;
    }
    cairo_restore(cr);
}

} // namespace Lumo::AssetGen
