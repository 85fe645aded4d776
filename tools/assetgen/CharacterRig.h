#pragma once
// The shared rig of the five characters: a pose per frame of each mood
// (bobbing, blinking, mouths and arms that move), and the face and effect
// parts that every character uses. Each character draws its own body from
// the pose.
#include <cairo.h>

#include <cmath>

#include "tools/assetgen/Paint.h"

namespace Lumo::AssetGen {

enum class Mood
{
    Idle,
    Happy,
    Elated,
    Bliss,
    Panic,
    GameOver,
};

enum class MouthShape
{
    Smile,
    Grin,  // open smile
    Laugh, // wide open
    Oh,    // round, surprised or scared
    Wavy,  // nervous
    Frown,
};

enum class EyeShape
{
    Open,
    Happy,  // closed upward arcs
    Closed, // relaxed downward arcs
    Wide,   // big, small pupils
    Sad,
};

struct Pose
{
    Mood mood = Mood::Idle;
    double t = 0;        // 0..1 through the mood's loop
    int frame = 0;
    double bob = 0;      // pixels, negative is up
    double shakeX = 0;   // pixels
    double squash = 1;   // vertical scale of the body about the feet
    double lean = 0;     // radians about the feet
    double blink = 0;    // 0 open .. 1 shut (for EyeShape::Open / Wide)
    EyeShape eyes = EyeShape::Open;
    MouthShape mouth = MouthShape::Smile;
    double mouthOpen = 0; // 0..1
    double armLeft = 0;   // radians from hanging down, positive raises outward
    double armRight = 0;
    double brow = 0;      // -1 worried .. 1 angry
    double lookX = 0, lookY = 0; // -1..1
    double sweat = 0;     // 0..1
    double tears = 0;     // 0..1
    double hearts = 0;    // 0..1 (bliss)
    double stars = 0;     // 0..1 (elated)
};

Pose MoodPose(Mood mood, int frame, int frames);

// Face parts. Eyes are centred at (x, y) with radius r.
void DrawEye(cairo_t* cr, double x, double y, double r, const Pose& pose, Rgb iris, double side);
void DrawBrow(cairo_t* cr, double x, double y, double w, const Pose& pose, double side, Rgb colour);
// Mouth centred at (x, y), width w.
void DrawMouth(cairo_t* cr, double x, double y, double w, const Pose& pose);
void DrawBlush(cairo_t* cr, double x, double y, double r, double alpha);

// Effects around a character whose head is centred at (x, y) with radius r.
void DrawSweat(cairo_t* cr, double x, double y, double r, const Pose& pose);
void DrawTears(cairo_t* cr, double leftEyeX, double rightEyeX, double eyeY, const Pose& pose);
void DrawMoodEffects(cairo_t* cr, double x, double y, double r, const Pose& pose);

// A limb as a tapered capsule from shoulder to hand with a round hand.
void DrawLimb(cairo_t* cr, double x0, double y0, double angle, double length, double width, Rgb fill, Rgb outline,
              Rgb handFill, double handRadius);

// Draws `body` with the pose's bob, shake, lean and squash applied about the
// feet point (footX, footY).
void WithBodyTransform(cairo_t* cr, const Pose& pose, double footX, double footY, const auto& body)
{
    cairo_save(cr);
    cairo_translate(cr, footX + pose.shakeX, footY + pose.bob);
    cairo_rotate(cr, pose.lean);
    cairo_scale(cr, 1.0 / std::sqrt(pose.squash), pose.squash);
    cairo_translate(cr, -footX, -footY);
    body();
    cairo_restore(cr);
}

} // namespace Lumo::AssetGen
