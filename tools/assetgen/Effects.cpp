// Effects drawn over the field: the bomb and skull explosions, the smart
// bomb's circle and scream, the intro stars and the Story energy ball.
#include <cmath>
#include <memory>

#include "tools/assetgen/AssetSink.h"
#include "tools/assetgen/BlobArt.h"
#include "tools/assetgen/Canvas.h"
#include "tools/assetgen/Families.h"
#include "tools/assetgen/Paint.h"

namespace Lumo::AssetGen {

namespace {

// A soft puff: radial gradient disc.
void Puff(cairo_t* cr, double x, double y, double r, Rgb inner, Rgb outer, double alpha)
{
    cairo_pattern_t* p = cairo_pattern_create_radial(x - r * 0.3, y - r * 0.3, r * 0.1, x, y, r);
    AddStop(p, 0, inner, alpha);
    AddStop(p, 0.7, outer, alpha * 0.85);
    AddStop(p, 1, outer, 0);
    cairo_set_source(cr, p);
    cairo_arc(cr, x, y, r, 0, 2 * kPi);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

// Draws frames side by side, each painted on its own canvas and blurred a
// little for softness.
std::unique_ptr<Canvas> FrameStrip(int w, int h, int frames, int blur,
                                   const std::function<void(cairo_t*, int)>& paint)
{
    auto strip = std::make_unique<Canvas>(w * frames, h);
    for (int f = 0; f < frames; ++f)
    {
        Canvas cel(w, h);
        paint(cel.cr(), f);
        cel.Blur(blur);
        strip->Draw(cel, f * w, 0);
    }
    return strip;
}

void BombExplosion(AssetSink& sink)
{
    auto strip = FrameStrip(112, 120, 6, 1, [](cairo_t* cr, int f) {
        const double cx = 56, cy = 62;
        const double t = f / 5.0;
        Random rng(42);
        // Shock ring.
        if (f <= 3)
        {
            cairo_arc(cr, cx, cy, 18 + f * 12, 0, 2 * kPi);
            cairo_set_line_width(cr, 6 - f);
            cairo_set_source_rgba(cr, 1, 0.95, 0.7, 0.8 - f * 0.2);
            cairo_stroke(cr);
        }
        // Fire and smoke puffs.
        for (int i = 0; i < 16; ++i)
        {
            const double a = rng.Range(0, 2 * kPi);
            const double d = rng.Range(0.2, 1.0) * (8 + 34 * std::sqrt(t));
            const double r = rng.Range(9, 17) * (0.7 + 0.6 * t);
            const Rgb fire = Mix(Bytes(255, 240, 150), Bytes(255, 110, 20), std::min(1.0, t * 1.5));
            const Rgb smoke = Mix(Bytes(255, 90, 20), Bytes(90, 70, 80), std::min(1.0, t * 1.6));
            Puff(cr, cx + d * std::cos(a), cy + d * std::sin(a) - t * 10, r, fire, smoke, 1.0 - t * 0.75);
        }
        if (f <= 1)
            Puff(cr, cx, cy, 26 - f * 4, Rgb{1, 1, 1}, Bytes(255, 230, 120), 1.0);
        // Sparks flying out.
        for (int i = 0; i < 10; ++i)
        {
            const double a = rng.Range(0, 2 * kPi);
            const double d = 14 + t * 44 + rng.Range(0, 8);
            Twinkle(cr, cx + d * std::cos(a), cy + d * std::sin(a), 5 * (1 - t) + 1, Bytes(255, 220, 120),
                    1.0 - t * 0.8);
        }
    });
    sink.AddCanvas("images/bomb_explosion.png", *strip);
}

void SkullDeath(AssetSink& sink)
{
    auto strip = FrameStrip(112, 120, 9, 0, [](cairo_t* cr, int f) {
        const double cx = 56, cy = 60;
        Random rng(7);
        if (f <= 2)
        {
            // The skull shudders and swells before it pops.
            cairo_save(cr);
            cairo_translate(cr, cx + (f % 2 == 0 ? -2 : 2), cy);
            cairo_scale(cr, 1.0 + f * 0.08, 1.0 + f * 0.08);
            cairo_translate(cr, -28, -30);
            DrawBlob(cr, 8, 0, f == 2);
            cairo_restore(cr);
            return;
        }
        const double t = (f - 3) / 5.0;
        for (int i = 0; i < 14; ++i)
        {
            const double a = rng.Range(0, 2 * kPi);
            const double d = rng.Range(0.3, 1.0) * (6 + 38 * std::sqrt(t));
            Puff(cr, cx + d * std::cos(a), cy + d * std::sin(a) - t * 16, rng.Range(8, 15) * (0.8 + t * 0.6),
                 Bytes(230, 170, 255), Bytes(110, 40, 150), 0.9 * (1.0 - t * 0.85));
        }
        // A little ghost skull floats up and fades.
        cairo_save(cr);
        cairo_translate(cr, cx, cy - 8 - t * 34);
        cairo_scale(cr, 0.55, 0.55);
        cairo_translate(cr, -28, -30);
        cairo_push_group(cr);
        DrawBlob(cr, 8, 0, true);
        cairo_pop_group_to_source(cr);
        cairo_paint_with_alpha(cr, 0.85 * (1.0 - t));
        cairo_restore(cr);
        for (int i = 0; i < 6; ++i)
        {
            const double a = rng.Range(0, 2 * kPi);
            const double d = 12 + t * 40;
            Twinkle(cr, cx + d * std::cos(a), cy + d * std::sin(a), 5, Bytes(220, 150, 255), 1.0 - t * 0.8);
        }
    });
    sink.AddCanvas("images/skull_death.png", *strip);
}

void SmartBombCircle(AssetSink& sink)
{
    Canvas canvas(256, 256);
    cairo_t* cr = canvas.cr();
    const double c = 128;
    cairo_pattern_t* p = cairo_pattern_create_radial(c, c, 0, c, c, 126);
    cairo_pattern_add_color_stop_rgba(p, 0, 1, 1, 1, 0.95);
    cairo_pattern_add_color_stop_rgba(p, 0.35, 1, 1, 1, 0.55);
    cairo_pattern_add_color_stop_rgba(p, 0.72, 1, 1, 1, 0.35);
    cairo_pattern_add_color_stop_rgba(p, 0.82, 1, 1, 1, 0.95);
    cairo_pattern_add_color_stop_rgba(p, 0.9, 1, 1, 1, 0.4);
    cairo_pattern_add_color_stop_rgba(p, 1, 1, 1, 1, 0);
    cairo_set_source(cr, p);
    cairo_paint(cr);
    cairo_pattern_destroy(p);
    for (int i = 0; i < 16; ++i)
    {
        const double a = i * kPi / 8;
        cairo_save(cr);
        cairo_translate(cr, c, c);
        cairo_rotate(cr, a);
        cairo_move_to(cr, 40, -3);
        cairo_line_to(cr, 96, 0);
        cairo_line_to(cr, 40, 3);
        cairo_close_path(cr);
        cairo_set_source_rgba(cr, 1, 1, 1, 0.35);
        cairo_fill(cr);
        cairo_restore(cr);
    }
    canvas.Blur(1);
    sink.AddCanvas("images/smartbomb_circle.png", canvas);
}

// A face in greys with a mouth wide open, sound rings spreading from it.
void SmartBombScream(AssetSink& sink)
{
    auto strip = FrameStrip(128, 128, 8, 0, [](cairo_t* cr, int f) {
        const double cx = 64, cy = 64;
        for (int ring = 0; ring < 3; ++ring)
        {
            const double r = 34 + std::fmod(f * 4.0 + ring * 10.0, 30.0);
            cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
            cairo_set_line_width(cr, 3);
            cairo_set_source_rgba(cr, 1, 1, 1, 0.7 * (1.0 - (r - 34) / 30.0));
            cairo_stroke(cr);
        }
        const double shake = (f % 2 == 0 ? -1.5 : 1.5);
        cairo_arc(cr, cx + shake, cy, 32, 0, 2 * kPi);
        FillRadial(cr, cx - 10, cy - 12, 44, Rgb{1, 1, 1}, Rgb{0.6, 0.6, 0.6}, Rgb{0.2, 0.2, 0.2}, 2);
        for (double side : {-1.0, 1.0})
        {
            EllipsePath(cr, cx + shake + side * 11, cy - 8, 6, 8);
            FillStroke(cr, Rgb{1, 1, 1}, Rgb{0.15, 0.15, 0.15}, 2);
            cairo_arc(cr, cx + shake + side * 11, cy - 7, 2.5, 0, 2 * kPi);
            SetColour(cr, Rgb{0.1, 0.1, 0.1});
            cairo_fill(cr);
            cairo_move_to(cr, cx + shake + side * 4, cy - 18);
            cairo_line_to(cr, cx + shake + side * 17, cy - 22);
            cairo_set_line_width(cr, 2.5);
            cairo_stroke(cr);
        }
        const double open = 9 + 3 * std::sin(f * kPi / 2);
        EllipsePath(cr, cx + shake, cy + 14, 9, open);
        FillStroke(cr, Rgb{0.15, 0.15, 0.15}, Rgb{0.05, 0.05, 0.05}, 1.5);
        EllipsePath(cr, cx + shake, cy + 14 + open * 0.55, 5, open * 0.3);
        SetColour(cr, Rgb{0.55, 0.55, 0.55});
        cairo_fill(cr);
        Gloss(cr, cx - 10, cy - 18, 12, 6, 0.7);
    });
    sink.AddCanvas("images/smartbomb_scream.png", *strip);
}

void IntroStars(AssetSink& sink)
{
    auto sheet = PaintSheet(32, 32, 1, 3, [](cairo_t* cr, int, int row) {
        const double size = 11 + row * 2.5;
        Twinkle(cr, 16, 16, 14, Bytes(255, 230, 120), 0.6);
        StarPath(cr, 16, 16, size, size * 0.45, 5, row * 0.25);
        FillStroke(cr, Bytes(255, 240, 120), Bytes(200, 110, 0), 1.5);
        Gloss(cr, 14, 12, 4, 2.5, 0.8);
    });
    sink.AddCanvas("images/intro_stars.png", *sheet);
}

void EnergyBall(AssetSink& sink)
{
    auto strip = FrameStrip(32, 32, 3, 0, [](cairo_t* cr, int f) {
        const double r = 11 + f;
        Puff(cr, 16, 16, 15.5, Bytes(255, 255, 255), Bytes(255, 90, 220), 0.8);
        Puff(cr, 16, 16, r * 0.8, Rgb{1, 1, 1}, Bytes(255, 200, 250), 1.0);
        for (int i = 0; i < 3; ++i)
        {
            const double a = f * 0.9 + i * 2 * kPi / 3;
            Twinkle(cr, 16 + 9 * std::cos(a), 16 + 9 * std::sin(a), 4, Rgb{1, 1, 1}, 0.9);
        }
    });
    sink.AddCanvas("images/energy_ball.png", *strip);
}

} // namespace

void MakeEffects(AssetSink& sink)
{
    BombExplosion(sink);
    SkullDeath(sink);
    SmartBombCircle(sink);
    SmartBombScream(sink);
    IntroStars(sink);
    EnergyBall(sink);
}

} // namespace Lumo::AssetGen
