// The Evil Sand Witch: green skin, wild orange hair, a tall hat with a sandy
// band, and a purple robe.
#include <cmath>

#include "tools/assetgen/Characters.h"

namespace Lumo::AssetGen {

namespace {

const Rgb kInk = Bytes(26, 16, 34);
const Rgb kSkin = Bytes(160, 210, 120);
const Rgb kRobe = Bytes(90, 40, 130);
const Rgb kHat = Bytes(50, 30, 70);
const Rgb kSand = Bytes(240, 200, 110);
const Rgb kHair = Bytes(250, 120, 40);

void Hat(cairo_t* cr, double cx, double brimY, double droop)
{
    EllipsePath(cr, cx, brimY, 34, 7);
    FillStroke(cr, kHat, kInk, 2);
    cairo_move_to(cr, cx - 20, brimY);
    cairo_curve_to(cr, cx - 14, brimY - 20, cx - 6, brimY - 34, cx + 2 + droop * 6, brimY - 46);
    cairo_curve_to(cr, cx + 10 + droop * 10, brimY - 48, cx + 16 + droop * 12, brimY - 40, cx + 18 + droop * 12,
                   brimY - 36);
    cairo_curve_to(cr, cx + 10, brimY - 34, cx + 10, brimY - 20, cx + 20, brimY);
    cairo_close_path(cr);
    FillRadial(cr, cx - 6, brimY - 30, 40, Lighten(kHat, 0.3), kHat, kInk, 2);
    cairo_move_to(cr, cx - 19, brimY - 4);
    cairo_curve_to(cr, cx - 8, brimY - 1, cx + 8, brimY - 1, cx + 19, brimY - 4);
    cairo_line_to(cr, cx + 17, brimY - 11);
    cairo_curve_to(cr, cx + 6, brimY - 8, cx - 6, brimY - 8, cx - 17, brimY - 11);
    cairo_close_path(cr);
    FillStroke(cr, kSand, kInk, 1.4);
    RoundedRect(cr, cx - 5, brimY - 11, 10, 8, 1.5);
    FillStroke(cr, Bytes(255, 230, 90), kInk, 1.2);
}

void Head(cairo_t* cr, const Pose& pose, double cx, double cy)
{
    // Wild hair behind.
    for (double side : {-1.0, 1.0})
    {
        for (int k = 0; k < 4; ++k)
        {
            const double y = cy - 8 + k * 8;
            const double wob = (pose.mood == Mood::Panic ? 2 * Wave(pose.t * 6 + k * 0.2) : 0);
            cairo_move_to(cr, cx + side * 14, y - 4);
            cairo_curve_to(cr, cx + side * (26 + k * 2), y - 6 + wob, cx + side * (30 + k), y + 2, cx + side * (24 + k * 3),
                           y + 8 + wob);
            cairo_curve_to(cr, cx + side * 20, y + 4, cx + side * 16, y + 4, cx + side * 14, y + 4);
            cairo_close_path(cr);
            FillStroke(cr, k % 2 == 0 ? kHair : Darken(kHair, 0.15), kInk, 1.4);
        }
    }
    EllipsePath(cr, cx, cy, 19, 20);
    FillRadial(cr, cx - 6, cy - 8, 26, Lighten(kSkin, 0.3), Darken(kSkin, 0.15), kInk, 2);
    const double eyeY = cy - 3;
    DrawEye(cr, cx - 8, eyeY, 5, pose, Bytes(230, 200, 20), -1);
    DrawEye(cr, cx + 8, eyeY, 5, pose, Bytes(230, 200, 20), 1);
    Pose angry = pose;
    if (pose.mood == Mood::Idle || pose.mood == Mood::Happy || pose.mood == Mood::Elated)
        angry.brow = 1; // scheming
    DrawBrow(cr, cx - 8, eyeY - 8, 9, angry, -1, kInk);
    DrawBrow(cr, cx + 8, eyeY - 8, 9, angry, 1, kInk);
    // A long nose with a wart.
    cairo_move_to(cr, cx - 2, cy - 2);
    cairo_curve_to(cr, cx + 4, cy + 2, cx + 12, cy + 6, cx + 14, cy + 11);
    cairo_curve_to(cr, cx + 8, cy + 11, cx + 2, cy + 9, cx - 2, cy + 7);
    cairo_close_path(cr);
    FillStroke(cr, Darken(kSkin, 0.05), kInk, 1.6);
    cairo_arc(cr, cx + 7, cy + 5, 1.6, 0, 2 * kPi);
    SetColour(cr, Darken(kSkin, 0.4));
    cairo_fill(cr);
    DrawMouth(cr, cx - 1, cy + 12, 12, pose);
    if (pose.mouth == MouthShape::Smile || pose.mouth == MouthShape::Grin)
    {
        // A lone tooth.
        cairo_rectangle(cr, cx + 1, cy + 12.5, 3, 3.5);
        FillStroke(cr, Rgb{1, 1, 0.9}, kInk, 0.8);
    }
    DrawTears(cr, cx - 8, cx + 8, eyeY, pose);
}

} // namespace

void DrawWitch(cairo_t* cr, const Pose& pose)
{
    const double cx = 50, feet = 127;
    WithBodyTransform(cr, pose, cx, feet, [&] {
        // Pointed boots.
        for (double side : {-1.0, 1.0})
        {
            cairo_move_to(cr, cx + side * 6, 126);
            cairo_line_to(cr, cx + side * 22, 126);
            cairo_curve_to(cr, cx + side * 26, 126, cx + side * 26, 118, cx + side * 22, 119);
            cairo_line_to(cr, cx + side * 6, 118);
            cairo_close_path(cr);
            FillStroke(cr, kHat, kInk, 1.6);
        }
        // Robe.
        cairo_move_to(cr, cx - 12, 66);
        cairo_line_to(cr, cx + 12, 66);
        cairo_curve_to(cr, cx + 22, 90, cx + 30, 110, cx + 30, 121);
        cairo_curve_to(cr, cx + 10, 124, cx - 10, 124, cx - 30, 121);
        cairo_curve_to(cr, cx - 30, 110, cx - 22, 90, cx - 12, 66);
        cairo_close_path(cr);
        FillVertical(cr, 66, 122, Lighten(kRobe, 0.2), Darken(kRobe, 0.3), kInk, 2);
        // Sandy sash.
        cairo_move_to(cr, cx - 17, 88);
        cairo_curve_to(cr, cx - 6, 92, cx + 6, 92, cx + 17, 88);
        cairo_line_to(cr, cx + 18, 95);
        cairo_curve_to(cr, cx + 6, 99, cx - 6, 99, cx - 18, 95);
        cairo_close_path(cr);
        FillStroke(cr, kSand, kInk, 1.4);
        // Arms in wide sleeves.
        DrawLimb(cr, cx - 12, 72, -pose.armLeft, 22, 10, kRobe, kInk, kSkin, 4.5);
        DrawLimb(cr, cx + 12, 72, pose.armRight, 22, 10, kRobe, kInk, kSkin, 4.5);
        Head(cr, pose, cx, 50);
        Hat(cr, cx, 32, 0.3 * Wave(pose.t * 2));
    });
    DrawSweat(cr, cx + pose.shakeX, 50 + pose.bob, 20, pose);
    DrawMoodEffects(cr, cx, 50 + pose.bob, 22, pose);
}

} // namespace Lumo::AssetGen
