#include "tools/assetgen/Paint.h"

#include <algorithm>
#include <cmath>

namespace Lumo::AssetGen {

Rgb Mix(Rgb a, Rgb b, double t)
{
    return Rgb{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb Lighten(Rgb c, double t)
{
    return Mix(c, Rgb{1, 1, 1}, t);
}

Rgb Darken(Rgb c, double t)
{
    return Mix(c, Rgb{0, 0, 0}, t);
}

Rgb ShiftHue(Rgb c, double degrees)
{
    // Rotation about the grey axis.
    const double a = degrees * kPi / 180.0;
    const double cosA = std::cos(a), sinA = std::sin(a);
    const double k = (1.0 - cosA) / 3.0, s = std::sqrt(1.0 / 3.0) * sinA;
    auto clamp = [](double v) { return std::clamp(v, 0.0, 1.0); };
    return Rgb{clamp(c.r * (cosA + k) + c.g * (k - s) + c.b * (k + s)),
               clamp(c.r * (k + s) + c.g * (cosA + k) + c.b * (k - s)),
               clamp(c.r * (k - s) + c.g * (k + s) + c.b * (cosA + k))};
}

void SetColour(cairo_t* cr, Rgb c, double alpha)
{
    cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha);
}

void AddStop(cairo_pattern_t* pattern, double offset, Rgb c, double alpha)
{
    cairo_pattern_add_color_stop_rgba(pattern, offset, c.r, c.g, c.b, alpha);
}

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r)
{
    r = std::min({r, w / 2, h / 2});
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -kPi / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, kPi / 2);
    cairo_arc(cr, x + r, y + h - r, r, kPi / 2, kPi);
    cairo_arc(cr, x + r, y + r, r, kPi, 3 * kPi / 2);
    cairo_close_path(cr);
}

void EllipsePath(cairo_t* cr, double cx, double cy, double rx, double ry)
{
    if (rx <= 0 || ry <= 0)
        return;
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
    cairo_restore(cr);
}

void StarPath(cairo_t* cr, double cx, double cy, double outer, double inner, int points, double rotation)
{
    cairo_new_sub_path(cr);
    for (int i = 0; i < points * 2; ++i)
    {
        const double a = rotation - kPi / 2 + i * kPi / points;
        const double r = (i % 2 == 0) ? outer : inner;
        cairo_line_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
    }
    cairo_close_path(cr);
}

void HeartPath(cairo_t* cr, double cx, double cy, double size)
{
    const double s = size / 2;
    cairo_new_sub_path(cr);
    cairo_move_to(cr, cx, cy + s * 0.9);
    cairo_curve_to(cr, cx - s * 1.2, cy + s * 0.1, cx - s * 1.0, cy - s * 1.0, cx, cy - s * 0.4);
    cairo_curve_to(cr, cx + s * 1.0, cy - s * 1.0, cx + s * 1.2, cy + s * 0.1, cx, cy + s * 0.9);
    cairo_close_path(cr);
}

void CapsulePath(cairo_t* cr, double x0, double y0, double x1, double y1, double width)
{
    const double a = std::atan2(y1 - y0, x1 - x0);
    const double r = width / 2;
    cairo_new_sub_path(cr);
    cairo_arc(cr, x1, y1, r, a - kPi / 2, a + kPi / 2);
    cairo_arc(cr, x0, y0, r, a + kPi / 2, a + 3 * kPi / 2);
    cairo_close_path(cr);
}

void FillStroke(cairo_t* cr, Rgb fill, Rgb outline, double width, double alpha)
{
    SetColour(cr, fill, alpha);
    if (width > 0)
    {
        cairo_fill_preserve(cr);
        SetColour(cr, outline, alpha);
        cairo_set_line_width(cr, width);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke(cr);
    }
    else
    {
        cairo_fill(cr);
    }
}

namespace {

void FillPattern(cairo_t* cr, cairo_pattern_t* pattern, Rgb outline, double width)
{
    cairo_set_source(cr, pattern);
    cairo_pattern_destroy(pattern);
    if (width > 0)
    {
        cairo_fill_preserve(cr);
        SetColour(cr, outline);
        cairo_set_line_width(cr, width);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke(cr);
    }
    else
    {
        cairo_fill(cr);
    }
}

} // namespace

void FillVertical(cairo_t* cr, double y0, double y1, Rgb top, Rgb bottom, Rgb outline, double width)
{
    cairo_pattern_t* pattern = cairo_pattern_create_linear(0, y0, 0, y1);
    AddStop(pattern, 0, top);
    AddStop(pattern, 1, bottom);
    FillPattern(cr, pattern, outline, width);
}

void FillRadial(cairo_t* cr, double lx, double ly, double r, Rgb light, Rgb dark, Rgb outline, double width)
{
    cairo_pattern_t* pattern = cairo_pattern_create_radial(lx, ly, r * 0.05, lx, ly, r);
    AddStop(pattern, 0, light);
    AddStop(pattern, 1, dark);
    FillPattern(cr, pattern, outline, width);
}

void Gloss(cairo_t* cr, double cx, double cy, double rx, double ry, double alpha)
{
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_pattern_t* pattern = cairo_pattern_create_radial(0, -0.3, 0.05, 0, 0, 1);
    cairo_pattern_add_color_stop_rgba(pattern, 0, 1, 1, 1, alpha);
    cairo_pattern_add_color_stop_rgba(pattern, 0.6, 1, 1, 1, alpha * 0.55);
    cairo_pattern_add_color_stop_rgba(pattern, 1, 1, 1, 1, 0);
    cairo_set_source(cr, pattern);
    cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
    cairo_fill(cr);
    cairo_pattern_destroy(pattern);
    cairo_restore(cr);
}

void GroundShadow(cairo_t* cr, double cx, double cy, double rx, double ry, double alpha)
{
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_pattern_t* pattern = cairo_pattern_create_radial(0, 0, 0, 0, 0, 1);
    cairo_pattern_add_color_stop_rgba(pattern, 0, 0, 0, 0, alpha);
    cairo_pattern_add_color_stop_rgba(pattern, 1, 0, 0, 0, 0);
    cairo_set_source(cr, pattern);
    cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
    cairo_fill(cr);
    cairo_pattern_destroy(pattern);
    cairo_restore(cr);
}

void Twinkle(cairo_t* cr, double cx, double cy, double size, Rgb c, double alpha)
{
    cairo_save(cr);
    cairo_pattern_t* glow = cairo_pattern_create_radial(cx, cy, 0, cx, cy, size * 0.6);
    AddStop(glow, 0, c, alpha * 0.8);
    AddStop(glow, 1, c, 0);
    cairo_set_source(cr, glow);
    cairo_arc(cr, cx, cy, size * 0.6, 0, 2 * kPi);
    cairo_fill(cr);
    cairo_pattern_destroy(glow);
    StarPath(cr, cx, cy, size, size * 0.18, 4);
    SetColour(cr, Lighten(c, 0.6), alpha);
    cairo_fill(cr);
    cairo_restore(cr);
}

uint32_t Random::Next()
{
    mState ^= mState << 13;
    mState ^= mState >> 17;
    mState ^= mState << 5;
    return mState;
}

double Random::Unit()
{
    return (Next() >> 8) / 16777216.0;
}

double Random::Range(double low, double high)
{
    return low + (high - low) * Unit();
}

double Wave(double phase)
{
    return std::sin(2 * kPi * phase);
}

double Ease(double t)
{
    t = std::clamp(t, 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

} // namespace Lumo::AssetGen
