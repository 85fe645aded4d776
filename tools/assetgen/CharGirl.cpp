// Zidazod: a chatty teenage islander with a ponytail, sunglasses pushed up
// and her phone always at hand.
#include <cmath>

#include "tools/assetgen/Characters.h"

namespace Lumo::AssetGen {

namespace {

const Rgb kInk = Bytes(40, 24, 30);
const Rgb kSkin = Bytes(255, 214, 178);
const Rgb kHair = Bytes(120, 62, 28);
const Rgb kShirt = Bytes(255, 110, 170);
const Rgb kShorts = Bytes(60, 110, 220);

void Phone(cairo_t* cr, double x, double y, double angle)
{
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, angle);
    RoundedRect(cr, -4.5, -9, 9, 16, 2);
    FillStroke(cr, Bytes(40, 40, 60), kInk, 1.2);
    cairo_rectangle(cr, -3, -7, 6, 11);
    SetColour(cr, Bytes(120, 220, 255));
    cairo_fill(cr);
    cairo_restore(cr);
}

void Head(cairo_t* cr, const Pose& pose, double cx, double cy)
{
    // Ponytail behind the head, swinging.
    const double swing = 0.25 * Wave(pose.t * 2) + (pose.mood == Mood::Panic ? 0.3 * Wave(pose.t * 8) : 0);
    cairo_save(cr);
    cairo_translate(cr, cx + 20, cy - 16);
    cairo_rotate(cr, swing);
    cairo_move_to(cr, 0, 0);
    cairo_curve_to(cr, 18, 4, 20, 24, 12, 38);
    cairo_curve_to(cr, 8, 26, 2, 14, -6, 8);
    cairo_close_path(cr);
    FillRadial(cr, 6, 6, 34, Lighten(kHair, 0.25), Darken(kHair, 0.3), kInk, 1.8);
    cairo_arc(cr, 1, 3, 4, 0, 2 * kPi);
    FillStroke(cr, Bytes(255, 220, 60), kInk, 1.2);
    cairo_restore(cr);
    // Back hair.
    EllipsePath(cr, cx, cy - 2, 28, 27);
    FillStroke(cr, Darken(kHair, 0.1), kInk, 2);
    // Face.
    EllipsePath(cr, cx, cy + 3, 24, 23);
    FillRadial(cr, cx - 8, cy - 6, 32, Lighten(kSkin, 0.3), Darken(kSkin, 0.08), kInk, 2);
    // Bangs.
    cairo_move_to(cr, cx - 27, cy + 2);
    cairo_curve_to(cr, cx - 28, cy - 26, cx + 28, cy - 30, cx + 27, cy + 2);
    cairo_curve_to(cr, cx + 18, cy - 10, cx + 8, cy - 12, cx + 2, cy - 8);
    cairo_curve_to(cr, cx - 4, cy - 14, cx - 16, cy - 12, cx - 27, cy + 2);
    cairo_close_path(cr);
    FillRadial(cr, cx - 6, cy - 20, 36, Lighten(kHair, 0.3), kHair, kInk, 1.8);
    // Sunglasses pushed up into the hair.
    for (double side : {-1.0, 1.0})
    {
        EllipsePath(cr, cx + side * 10, cy - 19, 8, 5);
        FillStroke(cr, Bytes(30, 20, 60), Bytes(255, 80, 160), 2);
        EllipsePath(cr, cx + side * 10 - 2, cy - 21, 3, 1.5);
        cairo_set_source_rgba(cr, 1, 1, 1, 0.6);
        cairo_fill(cr);
    }
    cairo_move_to(cr, cx - 2, cy - 19);
    cairo_line_to(cr, cx + 2, cy - 19);
    SetColour(cr, Bytes(255, 80, 160));
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    const double eyeY = cy + 3;
    DrawEye(cr, cx - 10, eyeY, 6, pose, Bytes(40, 170, 110), -1);
    DrawEye(cr, cx + 10, eyeY, 6, pose, Bytes(40, 170, 110), 1);
    if (pose.eyes == EyeShape::Open || pose.eyes == EyeShape::Wide)
    {
        // Lashes.
        for (double side : {-1.0, 1.0})
        {
            cairo_move_to(cr, cx + side * 10 + side * 5, eyeY - 5);
            cairo_line_to(cr, cx + side * 10 + side * 8, eyeY - 8);
        }
        SetColour(cr, kInk);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
    }
    DrawBrow(cr, cx - 10, eyeY - 10, 8, pose, -1, kHair);
    DrawBrow(cr, cx + 10, eyeY - 10, 8, pose, 1, kHair);
    DrawBlush(cr, cx - 15, cy + 12, 5, 0.55);
    DrawBlush(cr, cx + 15, cy + 12, 5, 0.55);
    DrawMouth(cr, cx, cy + 15, 11, pose);
    DrawTears(cr, cx - 10, cx + 10, eyeY, pose);
}

} // namespace

void DrawGirl(cairo_t* cr, const Pose& pose)
{
    const double cx = 50, feet = 127;
    WithBodyTransform(cr, pose, cx, feet, [&] {
        // Legs and sneakers.
        for (double side : {-1.0, 1.0})
        {
            CapsulePath(cr, cx + side * 7, 104, cx + side * 8, 121, 8);
            FillStroke(cr, kSkin, kInk, 1.6);
            RoundedRect(cr, cx + side * 8 - 7 + side * 2, 119, 14, 8, 4);
            FillStroke(cr, Rgb{1, 1, 1}, kInk, 1.6);
            cairo_rectangle(cr, cx + side * 8 - 6 + side * 2, 123, 12, 2);
            SetColour(cr, Bytes(255, 90, 150));
            cairo_fill(cr);
        }
        // Shorts.
        RoundedRect(cr, cx - 15, 96, 30, 13, 4);
        FillVertical(cr, 96, 109, Lighten(kShorts, 0.15), Darken(kShorts, 0.15), kInk, 1.8);
        // Shirt.
        cairo_move_to(cr, cx - 13, 70);
        cairo_line_to(cr, cx + 13, 70);
        cairo_curve_to(cr, cx + 17, 82, cx + 17, 92, cx + 16, 100);
        cairo_line_to(cr, cx - 16, 100);
        cairo_curve_to(cr, cx - 17, 92, cx - 17, 82, cx - 13, 70);
        cairo_close_path(cr);
        FillVertical(cr, 70, 100, Lighten(kShirt, 0.2), Darken(kShirt, 0.1), kInk, 1.8);
        StarPath(cr, cx, 86, 6, 2.8, 5);
        FillStroke(cr, Bytes(255, 240, 120), Bytes(200, 120, 0), 1);
        // Arms: the right hand holds the phone.
        DrawLimb(cr, cx - 14, 75, -pose.armLeft, 20, 7, kSkin, kInk, kSkin, 4);
        const double a = pose.armRight;
        DrawLimb(cr, cx + 14, 75, a, 20, 7, kSkin, kInk, kSkin, 4);
        Phone(cr, cx + 14 + std::sin(a) * 20, 75 + std::cos(a) * 20 - 4, a * 0.5);
        // Sleeves.
        for (double side : {-1.0, 1.0})
        {
            EllipsePath(cr, cx + side * 14, 75, 6, 5);
            FillStroke(cr, kShirt, kInk, 1.5);
        }
        Head(cr, pose, cx, 44);
    });
    DrawSweat(cr, cx + pose.shakeX, 44 + pose.bob, 26, pose);
    DrawMoodEffects(cr, cx, 44 + pose.bob, 26, pose);
}

} // namespace Lumo::AssetGen
