// The King of Toast: a big gorilla with a crown, standing on his toaster.
#include <cmath>

#include "tools/assetgen/Characters.h"

namespace Lumo::AssetGen {

namespace {

const Rgb kInk = Bytes(24, 18, 24);
const Rgb kFur = Bytes(78, 68, 82);
const Rgb kSkin = Bytes(170, 140, 140);

void Crown(cairo_t* cr, double cx, double y)
{
    cairo_move_to(cr, cx - 15, y + 12);
    cairo_line_to(cr, cx - 17, y - 2);
    cairo_line_to(cr, cx - 8, y + 5);
    cairo_line_to(cr, cx, y - 6);
    cairo_line_to(cr, cx + 8, y + 5);
    cairo_line_to(cr, cx + 17, y - 2);
    cairo_line_to(cr, cx + 15, y + 12);
    cairo_close_path(cr);
    FillVertical(cr, y - 6, y + 12, Bytes(255, 245, 150), Bytes(230, 150, 20), kInk, 1.6);
    for (int i = -1; i <= 1; ++i)
    {
        cairo_arc(cr, cx + i * 8, y + 8, 2, 0, 2 * kPi);
        SetColour(cr, i == 0 ? Bytes(255, 50, 80) : Bytes(60, 160, 255));
        cairo_fill(cr);
    }
}

// His treasure: a slice of toast held up in his right hand.
void Toast(cairo_t* cr, double x, double y, double angle)
{
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, angle);
    cairo_move_to(cr, -9, 10);
    cairo_line_to(cr, -9, -3);
    cairo_curve_to(cr, -14, -7, -10, -14, 0, -13);
    cairo_curve_to(cr, 10, -14, 14, -7, 9, -3);
    cairo_line_to(cr, 9, 10);
    cairo_close_path(cr);
    FillStroke(cr, Bytes(190, 110, 40), kInk, 1.5);
    RoundedRect(cr, -6.5, -9, 13, 17, 4);
    FillVertical(cr, -9, 8, Bytes(255, 225, 150), Bytes(235, 170, 80), kInk, 0);
    cairo_restore(cr);
}

void Head(cairo_t* cr, const Pose& pose, double cx, double cy)
{
    for (double side : {-1.0, 1.0})
    {
        cairo_arc(cr, cx + side * 21, cy + 2, 6, 0, 2 * kPi);
        FillStroke(cr, kSkin, kInk, 1.6);
    }
    EllipsePath(cr, cx, cy, 21, 20);
    FillRadial(cr, cx - 6, cy - 8, 28, Lighten(kFur, 0.25), Darken(kFur, 0.3), kInk, 2);
    // Face: brow ridge and a big muzzle.
    EllipsePath(cr, cx, cy + 1, 15, 11);
    FillStroke(cr, kSkin, kInk, 1.4);
    EllipsePath(cr, cx, cy + 11, 14, 10);
    FillRadial(cr, cx - 4, cy + 6, 18, Lighten(kSkin, 0.2), Darken(kSkin, 0.1), kInk, 1.6);
    const double eyeY = cy - 1;
    DrawEye(cr, cx - 7, eyeY, 5, pose, Bytes(140, 80, 30), -1);
    DrawEye(cr, cx + 7, eyeY, 5, pose, Bytes(140, 80, 30), 1);
    cairo_move_to(cr, cx - 14, eyeY - 6 - pose.brow * 1.5);
    cairo_curve_to(cr, cx - 6, eyeY - 10, cx + 6, eyeY - 10, cx + 14, eyeY - 6 - pose.brow * 1.5);
    SetColour(cr, Darken(kFur, 0.3));
    cairo_set_line_width(cr, 3);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
    for (double side : {-1.0, 1.0})
    {
        EllipsePath(cr, cx + side * 3, cy + 7, 1.6, 1.2);
        SetColour(cr, kInk);
        cairo_fill(cr);
    }
    DrawMouth(cr, cx, cy + 13, 13, pose);
    DrawTears(cr, cx - 7, cx + 7, eyeY, pose);
    Crown(cr, cx, cy - 26);
}

} // namespace

void DrawGorilla(cairo_t* cr, const Pose& pose)
{
    const double cx = 50, feet = 127;
    WithBodyTransform(cr, pose, cx, feet, [&] {
        // Legs.
        for (double side : {-1.0, 1.0})
        {
            EllipsePath(cr, cx + side * 15, 116, 12, 11);
            FillStroke(cr, kFur, kInk, 2);
            EllipsePath(cr, cx + side * 17, 125, 10, 4);
            FillStroke(cr, kSkin, kInk, 1.6);
        }
        // Body.
        cairo_move_to(cr, cx - 30, 112);
        cairo_curve_to(cr, cx - 36, 80, cx - 26, 58, cx, 58);
        cairo_curve_to(cr, cx + 26, 58, cx + 36, 80, cx + 30, 112);
        cairo_curve_to(cr, cx + 12, 118, cx - 12, 118, cx - 30, 112);
        cairo_close_path(cr);
        FillRadial(cr, cx - 10, 70, 50, Lighten(kFur, 0.2), Darken(kFur, 0.35), kInk, 2);
        EllipsePath(cr, cx, 90, 17, 18);
        FillRadial(cr, cx - 4, 82, 24, Lighten(kSkin, 0.15), Darken(kSkin, 0.15), Darken(kSkin, 0.5), 1.2);
        cairo_move_to(cr, cx, 76);
        cairo_line_to(cr, cx, 100);
        cairo_move_to(cr, cx - 12, 88);
        cairo_curve_to(cr, cx - 6, 92, cx + 6, 92, cx + 12, 88);
        SetColour(cr, Darken(kSkin, 0.35), 0.7);
        cairo_set_line_width(cr, 1.2);
        cairo_stroke(cr);
        // Long arms.
        DrawLimb(cr, cx - 24, 70, -(pose.armLeft * 0.85 + 0.1), 31, 15, kFur, kInk, kSkin, 8);
        const double right = pose.armRight * 0.85 + 0.1;
        DrawLimb(cr, cx + 24, 70, right, 31, 15, kFur, kInk, kSkin, 8);
        if (pose.mood == Mood::Idle)
            Toast(cr, cx + 24 + std::sin(right) * 31, 70 + std::cos(right) * 31 - 10, right * 0.3);
        Head(cr, pose, cx, 42);
    });
    DrawSweat(cr, cx + pose.shakeX, 42 + pose.bob, 22, pose);
    DrawMoodEffects(cr, cx, 42 + pose.bob, 22, pose);
}

} // namespace Lumo::AssetGen
