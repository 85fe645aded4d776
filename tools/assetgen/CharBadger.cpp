// Zavadov, the Mystical Badger: a fortune-teller badger in a purple turban
// and cape.
#include <cmath>

#include "tools/assetgen/Characters.h"

namespace Lumo::AssetGen {

namespace {

const Rgb kInk = Bytes(34, 24, 40);
const Rgb kFur = Bytes(128, 126, 140);
const Rgb kFurDark = Bytes(60, 56, 70);
const Rgb kWhite = Bytes(246, 244, 250);
const Rgb kCape = Bytes(110, 40, 170);
const Rgb kGold = Bytes(250, 200, 60);

void Turban(cairo_t* cr, double cx, double top)
{
    cairo_move_to(cr, cx - 31, top + 22);
    cairo_curve_to(cr, cx - 34, top - 2, cx + 34, top - 2, cx + 31, top + 22);
    cairo_curve_to(cr, cx + 10, top + 28, cx - 10, top + 28, cx - 31, top + 22);
    cairo_close_path(cr);
    FillRadial(cr, cx - 10, top + 4, 44, Lighten(kCape, 0.35), Darken(kCape, 0.25), kInk, 2);
    // Folds.
    for (int i = -1; i <= 1; ++i)
    {
        cairo_move_to(cr, cx - 26, top + 12 + i * 6);
        cairo_curve_to(cr, cx - 8, top + 4 + i * 6, cx + 10, top + 22 + i * 4, cx + 27, top + 12 + i * 6);
    }
    SetColour(cr, Darken(kCape, 0.35), 0.7);
    cairo_set_line_width(cr, 1.4);
    cairo_stroke(cr);
    // Feather and gem.
    cairo_move_to(cr, cx + 2, top + 6);
    cairo_curve_to(cr, cx + 4, top - 8, cx + 14, top - 14, cx + 18, top - 18);
    cairo_curve_to(cr, cx + 16, top - 8, cx + 10, top + 2, cx + 2, top + 6);
    cairo_close_path(cr);
    FillStroke(cr, Bytes(120, 230, 200), kInk, 1.2);
    cairo_move_to(cr, cx, top + 4);
    cairo_line_to(cr, cx + 6, top + 12);
    cairo_line_to(cr, cx, top + 20);
    cairo_line_to(cr, cx - 6, top + 12);
    cairo_close_path(cr);
    FillStroke(cr, Bytes(255, 60, 90), kInk, 1.4);
    cairo_arc(cr, cx - 1.5, top + 10, 1.5, 0, 2 * kPi);
    SetColour(cr, Rgb{1, 1, 1});
    cairo_fill(cr);
}

void Head(cairo_t* cr, const Pose& pose, double cx, double cy)
{
    // Ears.
    for (double side : {-1.0, 1.0})
    {
        cairo_arc(cr, cx + side * 25, cy - 14, 7, 0, 2 * kPi);
        FillStroke(cr, kFurDark, kInk, 1.6);
    }
    // Head: white face, grey cheeks, black bands over the eyes.
    EllipsePath(cr, cx, cy, 29, 25);
    FillRadial(cr, cx - 8, cy - 10, 36, kWhite, Bytes(200, 200, 214), kInk, 2);
    cairo_save(cr);
    EllipsePath(cr, cx, cy, 29, 25);
    cairo_clip(cr);
    for (double side : {-1.0, 1.0})
    {
        cairo_move_to(cr, cx + side * 5, cy + 14);
        cairo_curve_to(cr, cx + side * 6, cy, cx + side * 8, cy - 16, cx + side * 12, cy - 30);
        cairo_line_to(cr, cx + side * 24, cy - 30);
        cairo_curve_to(cr, cx + side * 22, cy - 10, cx + side * 20, cy + 2, cx + side * 14, cy + 16);
        cairo_close_path(cr);
        SetColour(cr, kFurDark);
        cairo_fill(cr);
        cairo_move_to(cr, cx + side * 30, cy - 20);
        cairo_curve_to(cr, cx + side * 22, cy - 4, cx + side * 24, cy + 10, cx + side * 30, cy + 20);
        cairo_line_to(cr, cx + side * 34, cy + 20);
        cairo_line_to(cr, cx + side * 34, cy - 20);
        cairo_close_path(cr);
        SetColour(cr, kFur);
        cairo_fill(cr);
    }
    cairo_restore(cr);
    EllipsePath(cr, cx, cy, 29, 25);
    SetColour(cr, kInk);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    const double eyeY = cy - 3;
    DrawEye(cr, cx - 13, eyeY, 5.5, pose, Bytes(120, 60, 200), -1);
    DrawEye(cr, cx + 13, eyeY, 5.5, pose, Bytes(120, 60, 200), 1);
    DrawBrow(cr, cx - 13, eyeY - 9, 9, pose, -1, kWhite);
    DrawBrow(cr, cx + 13, eyeY - 9, 9, pose, 1, kWhite);
    // Snout and nose.
    EllipsePath(cr, cx, cy + 10, 6, 4.2);
    FillStroke(cr, Bytes(30, 24, 36), kInk, 1);
    EllipsePath(cr, cx - 2, cy + 8.5, 2, 1.2);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.7);
    cairo_fill(cr);
    DrawMouth(cr, cx, cy + 16, 12, pose);
    if (pose.mood == Mood::Happy || pose.mood == Mood::Elated || pose.mood == Mood::Bliss)
    {
        DrawBlush(cr, cx - 19, cy + 8, 6, 0.6);
        DrawBlush(cr, cx + 19, cy + 8, 6, 0.6);
    }
    DrawTears(cr, cx - 13, cx + 13, eyeY, pose);
}

} // namespace

void DrawBadger(cairo_t* cr, const Pose& pose)
{
    const double cx = 50, feet = 127;
    WithBodyTransform(cr, pose, cx, feet, [&] {
        // Cape behind the body.
        cairo_move_to(cr, cx - 22, 74);
        cairo_curve_to(cr, cx - 34, 96, cx - 36, 114, cx - 38, 122);
        cairo_curve_to(cr, cx - 10, 128, cx + 10, 128, cx + 38, 122);
        cairo_curve_to(cr, cx + 36, 114, cx + 34, 96, cx + 22, 74);
        cairo_close_path(cr);
        FillVertical(cr, 74, 124, kCape, Darken(kCape, 0.35), kInk, 2);
        // Body and belly.
        EllipsePath(cr, cx, 100, 24, 25);
        FillRadial(cr, cx - 8, 88, 34, Lighten(kFur, 0.25), Darken(kFur, 0.25), kInk, 2);
        EllipsePath(cr, cx, 104, 14, 17);
        SetColour(cr, Bytes(220, 218, 228));
        cairo_fill(cr);
        for (double side : {-1.0, 1.0})
        {
            EllipsePath(cr, cx + side * 12, 124, 9, 4.5);
            FillStroke(cr, kFurDark, kInk, 1.6);
        }
        // Arms (with gold cuffs).
        DrawLimb(cr, cx - 20, 84, -pose.armLeft, 22, 10, kFur, kInk, kFurDark, 5.5);
        DrawLimb(cr, cx + 20, 84, pose.armRight, 22, 10, kFur, kInk, kFurDark, 5.5);
        // Gold clasp of the cape.
        cairo_arc(cr, cx, 76, 4.5, 0, 2 * kPi);
        FillStroke(cr, kGold, kInk, 1.4);
        Head(cr, pose, cx, 52);
        Turban(cr, cx, 16);
    });
    DrawSweat(cr, cx + pose.shakeX, 52 + pose.bob, 29, pose);
    DrawMoodEffects(cr, cx, 52 + pose.bob, 29, pose);
}

} // namespace Lumo::AssetGen
