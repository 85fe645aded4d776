// The goldfish of Panic mode: a round orange fish in its tank, facing right.
#include <cmath>

#include "tools/assetgen/Characters.h"

namespace Lumo::AssetGen {

namespace {

const Rgb kInk = Bytes(90, 30, 10);
const Rgb kOrange = Bytes(255, 110, 0);
const Rgb kFin = Bytes(255, 190, 40);

void Bubble(cairo_t* cr, double x, double y, double r, double alpha)
{
    cairo_arc(cr, x, y, r, 0, 2 * kPi);
    SetColour(cr, Bytes(220, 240, 255), 0.35 * alpha);
    cairo_fill_preserve(cr);
    SetColour(cr, Rgb{1, 1, 1}, 0.9 * alpha);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    cairo_arc(cr, x - r * 0.35, y - r * 0.35, r * 0.25, 0, 2 * kPi);
    cairo_fill(cr);
}

} // namespace

void DrawGoldfish(cairo_t* cr, const Pose& pose)
{
    const double cx = 49, cy = 42;
    const double swish = 0.35 * Wave(pose.t * (pose.mood == Mood::Panic ? 8 : 3));
    const bool upsideDown = pose.mood == Mood::GameOver;
    cairo_save(cr);
    cairo_translate(cr, cx + pose.shakeX, cy + pose.bob * 0.6);
    cairo_rotate(cr, pose.lean * 2 + (pose.mood == Mood::Elated ? 0.5 * Wave(pose.t * 2) : 0));
    if (upsideDown)
        cairo_rotate(cr, kPi * 0.85);
    cairo_translate(cr, -cx, -cy);
    // Tail.
    cairo_save(cr);
    cairo_translate(cr, cx - 20, cy);
    cairo_rotate(cr, swish);
    cairo_move_to(cr, 2, 0);
    cairo_curve_to(cr, -10, -6, -20, -22, -24, -18);
    cairo_curve_to(cr, -18, -8, -18, 8, -24, 18);
    cairo_curve_to(cr, -20, 22, -10, 6, 2, 0);
    cairo_close_path(cr);
    FillVertical(cr, -22, 22, kFin, Bytes(255, 110, 40), kInk, 1.6);
    cairo_restore(cr);
    // Dorsal fin.
    cairo_move_to(cr, cx - 10, cy - 15);
    cairo_curve_to(cr, cx - 6, cy - 28, cx + 6, cy - 28, cx + 8, cy - 16);
    cairo_close_path(cr);
    FillStroke(cr, kFin, kInk, 1.6);
    // Body.
    EllipsePath(cr, cx, cy, 24, 18);
    FillRadial(cr, cx - 4, cy - 8, 30, Bytes(255, 210, 120), kOrange, kInk, 2);
    // Scales.
    for (int i = 0; i < 3; ++i)
    {
        for (int j = -1; j <= 1; ++j)
        {
            cairo_arc(cr, cx - 10 + i * 7, cy + j * 6, 3.5, -kPi / 2, kPi / 2);
            cairo_new_sub_path(cr);
        }
    }
    SetColour(cr, Bytes(220, 100, 20), 0.6);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    // Belly light and gloss.
    Gloss(cr, cx - 2, cy - 9, 12, 4, 0.55);
    // Side fin, flapping.
    cairo_save(cr);
    cairo_translate(cr, cx + 2, cy + 6);
    cairo_rotate(cr, 0.4 + swish * 0.8);
    EllipsePath(cr, -4, 4, 7, 4);
    FillStroke(cr, kFin, kInk, 1.4);
    cairo_restore(cr);
    // Face.
    DrawEye(cr, cx + 12, cy - 5, 6.5, pose, Bytes(40, 120, 220), 1);
    DrawBrow(cr, cx + 12, cy - 14, 8, pose, 1, kInk);
    Pose mouthPose = pose;
    if (pose.mouth == MouthShape::Smile)
        mouthPose.mouth = MouthShape::Smile;
    DrawMouth(cr, cx + 19, cy + 7, 7, mouthPose);
    if (pose.mood != Mood::GameOver && pose.mood != Mood::Panic)
        DrawBlush(cr, cx + 8, cy + 5, 4, 0.5);
    cairo_restore(cr);
    if (pose.tears > 0)
        DrawTears(cr, cx + 12, cx + 12, cy - 2, pose);
    DrawSweat(cr, cx + pose.shakeX, cy, 22, pose);
    // Bubbles rise from the mouth.
    const int bubbles = pose.mood == Mood::Idle ? 1 : 3;
    for (int i = 0; i < bubbles; ++i)
    {
        const double u = std::fmod(pose.t * (pose.mood == Mood::Idle ? 1 : 2) + i / 3.0, 1.0);
        Bubble(cr, cx + 26 + 3 * std::sin(u * 9 + i), cy + 4 - u * 40, 2 + u * 2.5, 1.0 - u * 0.6);
    }
    DrawMoodEffects(cr, cx, cy + 10, 22, pose);
}

} // namespace Lumo::AssetGen
