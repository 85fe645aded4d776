#include "tools/assetgen/CharacterRig.h"

#include <algorithm>
#include <cmath>

namespace Lumo::AssetGen {

namespace {

const Rgb kInk = Bytes(34, 20, 36);

double Hop(double t, int hops)
{
    return std::fabs(std::sin(kPi * t * hops));
}

// Blinks on two frames near the end of the loop (and once mid-loop for long
// loops), so idle characters feel alive.
double BlinkAt(int frame, int frames)
{
    const int a = frames - 4, b = frames / 2 - 1;
    if (frame == a || (frames >= 30 && frame == b))
        return 0.6;
    if (frame == a + 1 || (frames >= 30 && frame == b + 1))
        return 1.0;
    return 0.0;
}

} // namespace

Pose MoodPose(Mood mood, int frame, int frames)
{
    Pose p;
    p.mood = mood;
    p.frame = frame;
    p.t = frames > 0 ? static_cast<double>(frame) / frames : 0;
    const double t = p.t;
    switch (mood)
    {
    case Mood::Idle:
        p.bob = -1.5 - 1.5 * Wave(t * 2);
        p.squash = 1.0 + 0.015 * Wave(t * 2);
        p.armLeft = 0.15 + 0.08 * Wave(t * 2);
        p.armRight = 0.15 + 0.08 * Wave(t * 2 + 0.5);
        p.lookX = 0.6 * Wave(t);
        p.blink = BlinkAt(frame, frames);
        p.mouth = MouthShape::Smile;
        break;
    case Mood::Happy:
    {
        const double h = Hop(t, std::max(2, frames / 10));
        p.bob = -7 * h;
        p.squash = 1.0 + 0.06 * (h - 0.5);
        p.armLeft = 0.4 + 0.3 * h;
        p.armRight = 2.2 + 0.5 * Wave(t * std::max(2, frames / 8));
        p.eyes = EyeShape::Happy;
        p.mouth = MouthShape::Grin;
        p.mouthOpen = 0.5 + 0.3 * h;
        p.brow = 0.2;
        break;
    }
    case Mood::Elated:
    {
        const double h = Hop(t, std::max(2, frames / 8));
        p.bob = -10 * h;
        p.squash = 1.0 + 0.1 * (h - 0.5);
        p.armLeft = 2.4 + 0.35 * Wave(t * 4);
        p.armRight = 2.4 + 0.35 * Wave(t * 4 + 0.5);
        p.eyes = frame % 6 < 4 ? EyeShape::Happy : EyeShape::Wide;
        p.mouth = MouthShape::Laugh;
        p.mouthOpen = 0.7 + 0.3 * h;
        p.stars = 1.0;
        p.brow = 0.5;
        break;
    }
    case Mood::Bliss:
        p.bob = -2 - 2 * Wave(t * 2);
        p.lean = 0.08 * Wave(t * 2);
        p.armLeft = 0.9 + 0.2 * Wave(t * 2);
        p.armRight = 0.9 + 0.2 * Wave(t * 2 + 0.5);
        p.eyes = EyeShape::Closed;
        p.mouth = MouthShape::Smile;
        p.hearts = 1.0;
        p.brow = -0.2;
        break;
    case Mood::Panic:
        p.shakeX = (frame % 2 == 0 ? -1.5 : 1.5);
        p.bob = -2 * Hop(t, std::max(2, frames / 5));
        p.armLeft = 2.0 + 0.9 * Wave(t * std::max(2, frames / 4));
        p.armRight = 2.0 + 0.9 * Wave(t * std::max(2, frames / 4) + 0.5);
        p.eyes = EyeShape::Wide;
        p.mouth = frame % 4 < 2 ? MouthShape::Oh : MouthShape::Wavy;
        p.mouthOpen = 0.6 + 0.4 * Hop(t, 4);
        p.brow = -1;
        p.lookX = 0.8 * Wave(t * 2);
        p.sweat = 1.0;
        break;
    case Mood::GameOver:
        p.bob = 3 + 1.0 * Wave(t);
        p.squash = 0.95;
        p.lean = 0.05 * Wave(t);
        p.armLeft = -0.05;
        p.armRight = -0.05;
        p.eyes = EyeShape::Sad;
        p.mouth = MouthShape::Frown;
        p.brow = -0.8;
        p.lookY = 0.6;
        p.tears = 1.0;
        p.blink = BlinkAt(frame, frames) * 0.5;
        break;
    }
    return p;
}

void DrawEye(cairo_t* cr, double x, double y, double r, const Pose& pose, Rgb iris, double side)
{
    cairo_save(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, std::max(1.5, r * 0.35));
    SetColour(cr, kInk);
    switch (pose.eyes)
    {
    case EyeShape::Happy:
        cairo_arc(cr, x, y + r * 0.4, r * 0.85, kPi * 1.15, kPi * 1.85);
        cairo_stroke(cr);
        break;
    case EyeShape::Closed:
        cairo_arc_negative(cr, x, y - r * 0.3, r * 0.85, kPi * 0.85, kPi * 0.15);
        cairo_stroke(cr);
        break;
    default:
    {
        const bool wide = pose.eyes == EyeShape::Wide;
        const double ry = r * (wide ? 1.2 : 1.05) * (1.0 - 0.9 * pose.blink);
        const double rx = r * (wide ? 1.05 : 0.9);
        EllipsePath(cr, x, y, rx, std::max(ry, 0.8));
        FillStroke(cr, Rgb{1, 1, 1}, kInk, std::max(1.2, r * 0.2));
        if (pose.blink < 0.7)
        {
            const double pr = r * (wide ? 0.38 : 0.55);
            const double px = x + pose.lookX * r * 0.3, py = y + pose.lookY * r * 0.3 + (wide ? 0 : r * 0.1);
            cairo_save(cr);
            EllipsePath(cr, x, y, rx, std::max(ry, 0.8));
            cairo_clip(cr);
            EllipsePath(cr, px, py, pr, pr * 1.1);
            SetColour(cr, iris);
            cairo_fill(cr);
            EllipsePath(cr, px, py, pr * 0.55, pr * 0.6);
            SetColour(cr, kInk);
            cairo_fill(cr);
            EllipsePath(cr, px - pr * 0.35, py - pr * 0.4, pr * 0.3, pr * 0.3);
            cairo_set_source_rgba(cr, 1, 1, 1, 0.95);
            cairo_fill(cr);
            cairo_restore(cr);
        }
        if (pose.eyes == EyeShape::Sad)
        {
            // Heavy upper lid.
            cairo_save(cr);
            EllipsePath(cr, x, y, rx, std::max(ry, 0.8));
            cairo_clip(cr);
            cairo_move_to(cr, x - rx * 1.2, y - ry * 0.2 + side * ry * 0.4);
            cairo_line_to(cr, x + rx * 1.2, y - ry * 0.2 - side * ry * 0.4);
            cairo_line_to(cr, x + rx * 1.2, y - ry * 1.5);
            cairo_line_to(cr, x - rx * 1.2, y - ry * 1.5);
            cairo_close_path(cr);
            SetColour(cr, Rgb{0.75, 0.72, 0.8});
            cairo_fill(cr);
            cairo_restore(cr);
        }
        break;
    }
    }
    cairo_restore(cr);
}

void DrawBrow(cairo_t* cr, double x, double y, double w, const Pose& pose, double side, Rgb colour)
{
    // side -1 for the left eye, +1 for the right; brow > 0 slants inwards down.
    const double tilt = pose.brow * w * 0.35;
    cairo_move_to(cr, x - w / 2, y - side * tilt);
    cairo_line_to(cr, x + w / 2, y + side * tilt);
    SetColour(cr, colour);
    cairo_set_line_width(cr, std::max(1.5, w * 0.22));
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
}

void DrawMouth(cairo_t* cr, double x, double y, double w, const Pose& pose)
{
    cairo_save(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    const double lw = std::max(1.4, w * 0.12);
    const Rgb inside = Bytes(120, 20, 40), tongue = Bytes(240, 100, 110);
    auto openShape = [&](double depth) {
        cairo_move_to(cr, x - w / 2, y);
        cairo_curve_to(cr, x - w / 3, y + depth, x + w / 3, y + depth, x + w / 2, y);
        cairo_curve_to(cr, x + w / 4, y + depth * 0.15, x - w / 4, y + depth * 0.15, x - w / 2, y);
        cairo_close_path(cr);
    };
    switch (pose.mouth)
    {
    case MouthShape::Smile:
        cairo_move_to(cr, x - w / 2, y);
        cairo_curve_to(cr, x - w / 4, y + w * 0.35, x + w / 4, y + w * 0.35, x + w / 2, y);
        SetColour(cr, kInk);
        cairo_set_line_width(cr, lw);
        cairo_stroke(cr);
        break;
    case MouthShape::Grin:
    case MouthShape::Laugh:
    {
        const double depth = w * (pose.mouth == MouthShape::Laugh ? 0.8 : 0.5) * (0.6 + 0.4 * pose.mouthOpen);
        openShape(depth);
        FillStroke(cr, inside, kInk, lw);
        cairo_save(cr);
        openShape(depth);
        cairo_clip(cr);
        EllipsePath(cr, x, y + depth * 0.75, w * 0.28, depth * 0.35);
        SetColour(cr, tongue);
        cairo_fill(cr);
        cairo_rectangle(cr, x - w / 2, y - 1, w, depth * 0.18);
        SetColour(cr, Rgb{1, 1, 1});
        cairo_fill(cr);
        cairo_restore(cr);
        break;
    }
    case MouthShape::Oh:
        EllipsePath(cr, x, y + w * 0.2, w * 0.25, w * 0.3 * (0.6 + 0.5 * pose.mouthOpen));
        FillStroke(cr, inside, kInk, lw);
        break;
    case MouthShape::Wavy:
        cairo_move_to(cr, x - w / 2, y + w * 0.1);
        for (int i = 1; i <= 4; ++i)
            cairo_line_to(cr, x - w / 2 + i * w / 4, y + w * 0.1 + ((i % 2) ? -w * 0.12 : w * 0.12));
        SetColour(cr, kInk);
        cairo_set_line_width(cr, lw);
        cairo_stroke(cr);
        break;
    case MouthShape::Frown:
        cairo_move_to(cr, x - w / 2, y + w * 0.25);
        cairo_curve_to(cr, x - w / 4, y - w * 0.1, x + w / 4, y - w * 0.1, x + w / 2, y + w * 0.25);
        SetColour(cr, kInk);
        cairo_set_line_width(cr, lw);
        cairo_stroke(cr);
        break;
    }
    cairo_restore(cr);
}

void DrawBlush(cairo_t* cr, double x, double y, double r, double alpha)
{
    cairo_pattern_t* p = cairo_pattern_create_radial(x, y, 0, x, y, r);
    cairo_pattern_add_color_stop_rgba(p, 0, 1, 0.4, 0.5, alpha);
    cairo_pattern_add_color_stop_rgba(p, 1, 1, 0.4, 0.5, 0);
    cairo_set_source(cr, p);
    cairo_arc(cr, x, y, r, 0, 2 * kPi);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

namespace {

void Drop(cairo_t* cr, double x, double y, double size, Rgb fill, double alpha)
{
    cairo_move_to(cr, x, y - size);
    cairo_curve_to(cr, x + size * 0.2, y - size * 0.4, x + size * 0.6, y, x + size * 0.6, y + size * 0.3);
    cairo_arc(cr, x, y + size * 0.3, size * 0.6, 0, kPi);
    cairo_curve_to(cr, x - size * 0.6, y, x - size * 0.2, y - size * 0.4, x, y - size);
    cairo_close_path(cr);
    FillStroke(cr, fill, Darken(fill, 0.5), 1.0, alpha);
    EllipsePath(cr, x - size * 0.2, y + size * 0.2, size * 0.15, size * 0.25);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.8 * alpha);
    cairo_fill(cr);
}

} // namespace

void DrawSweat(cairo_t* cr, double x, double y, double r, const Pose& pose)
{
    if (pose.sweat <= 0)
        return;
    const double fall = std::fmod(pose.t * 4, 1.0);
    Drop(cr, x + r * 0.95, y - r * 0.3 + fall * r * 0.6, r * 0.16, Bytes(150, 210, 255), 1.0 - fall * 0.6);
    Drop(cr, x - r * 1.0, y - r * 0.5 + std::fmod(fall + 0.5, 1.0) * r * 0.6, r * 0.12, Bytes(150, 210, 255), 0.9);
}

void DrawTears(cairo_t* cr, double leftEyeX, double rightEyeX, double eyeY, const Pose& pose)
{
    if (pose.tears <= 0)
        return;
    const double fall = std::fmod(pose.t * 3, 1.0);
    for (double x : {leftEyeX, rightEyeX})
    {
        Drop(cr, x, eyeY + 4 + fall * 16, 3.2, Bytes(120, 190, 255), 1.0 - fall * 0.7);
    }
}

void DrawMoodEffects(cairo_t* cr, double x, double y, double r, const Pose& pose)
{
    if (pose.hearts > 0)
    {
        for (int i = 0; i < 2; ++i)
        {
            const double u = std::fmod(pose.t * 2 + i * 0.5, 1.0);
            const double hx = x + (i == 0 ? -1 : 1) * r * (0.9 + 0.2 * std::sin(u * 6));
            const double hy = y - r * 0.6 - u * r * 1.0;
            HeartPath(cr, hx, hy, r * 0.35 * (0.7 + 0.5 * u));
            FillStroke(cr, Bytes(255, 90, 140), Bytes(150, 20, 60), 1.2, 1.0 - u * 0.8);
        }
    }
    if (pose.stars > 0)
    {
        for (int i = 0; i < 3; ++i)
        {
            const double a = pose.t * 2 * kPi * 2 + i * 2 * kPi / 3;
            const double sx = x + std::cos(a) * r * 1.25, sy = y - r * 0.9 + std::sin(a) * r * 0.3;
            StarPath(cr, sx, sy, r * 0.22, r * 0.1, 5, a);
            FillStroke(cr, Bytes(255, 235, 90), Bytes(170, 100, 0), 1.0);
        }
    }
}

void DrawLimb(cairo_t* cr, double x0, double y0, double angle, double length, double width, Rgb fill, Rgb outline,
              Rgb handFill, double handRadius)
{
    // angle 0 hangs straight down; positive angles swing the limb outwards
    // for the right side (callers mirror for the left).
    const double x1 = x0 + std::sin(angle) * length;
    const double y1 = y0 + std::cos(angle) * length;
    CapsulePath(cr, x0, y0, x1, y1, width);
    FillStroke(cr, fill, outline, 1.6);
    if (handRadius > 0)
    {
        cairo_arc(cr, x1, y1, handRadius, 0, 2 * kPi);
        FillStroke(cr, handFill, outline, 1.6);
    }
}

} // namespace Lumo::AssetGen
