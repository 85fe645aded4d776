#pragma once
// Drawing helpers shared by every image family: colours, paths, gradients,
// outlined shapes, glossy highlights and a small deterministic random source.
#include <cairo.h>

#include <initializer_list>

#include <cstdint>

namespace Lumo::AssetGen {

constexpr double kPi = 3.14159265358979323846;

struct Rgb
{
    double r = 0, g = 0, b = 0;
};

// From 0..255 components.
constexpr Rgb Bytes(int r, int g, int b)
{
    return Rgb{r / 255.0, g / 255.0, b / 255.0};
}
Rgb Mix(Rgb a, Rgb b, double t);
Rgb Lighten(Rgb c, double t); // towards white
Rgb Darken(Rgb c, double t);  // towards black
// Hue rotation in degrees (keeps lightness roughly).
Rgb ShiftHue(Rgb c, double degrees);

void SetColour(cairo_t* cr, Rgb c, double alpha = 1.0);
void AddStop(cairo_pattern_t* pattern, double offset, Rgb c, double alpha = 1.0);

// Paths (they start a new sub-path; nothing is filled).
void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
void EllipsePath(cairo_t* cr, double cx, double cy, double rx, double ry);
void StarPath(cairo_t* cr, double cx, double cy, double outer, double inner, int points, double rotation = 0);
// A heart of the given width centred on (cx, cy).
void HeartPath(cairo_t* cr, double cx, double cy, double size);
// A capsule (rounded segment) from (x0, y0) to (x1, y1) of the given width.
void CapsulePath(cairo_t* cr, double x0, double y0, double x1, double y1, double width);

// Fills the current path with fill, then strokes it with outline of the
// given width (0: no outline). The path is consumed.
void FillStroke(cairo_t* cr, Rgb fill, Rgb outline, double width, double alpha = 1.0);
// Fills the current path with a vertical gradient from top to bottom colour
// over [y0, y1], strokes it with outline, consumes it.
void FillVertical(cairo_t* cr, double y0, double y1, Rgb top, Rgb bottom, Rgb outline, double width);
// A radial shaded fill: light spot at (lx, ly), darkening towards radius r.
void FillRadial(cairo_t* cr, double lx, double ly, double r, Rgb light, Rgb dark, Rgb outline, double width);

// A soft white highlight ellipse (gloss) with fading alpha.
void Gloss(cairo_t* cr, double cx, double cy, double rx, double ry, double alpha);
// A soft dark ellipse on the ground under something.
void GroundShadow(cairo_t* cr, double cx, double cy, double rx, double ry, double alpha);
// A small four-pointed twinkle.
void Twinkle(cairo_t* cr, double cx, double cy, double size, Rgb c, double alpha);

// Deterministic pseudo-random numbers (xorshift), the same on every run.
class Random
{
public:
    explicit Random(uint32_t seed) : mState(seed * 2654435761u + 0x9E3779B9u) {}
    uint32_t Next();
    double Unit();                            // [0, 1)
    double Range(double low, double high);    // [low, high)

private:
    uint32_t mState;
};

// Smooth 0..1..0 loop helpers for animation phases.
double Wave(double phase);      // sin(2 pi phase)
double Ease(double t);          // smoothstep of 0..1

} // namespace Lumo::AssetGen
