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
    // Flash, fireball, then smoke: radius, colours and opacity per frame.
    struct Stage
    {
        double radius;
        Rgb inner, outer;
        double alpha;
    };
    static const Stage kStages[6] = {
        {24, Rgb{1, 1, 1}, Bytes(255, 240, 140), 1.0},        {36, Bytes(255, 255, 200), Bytes(255, 170, 30), 1.0},
        {44, Bytes(255, 230, 120), Bytes(255, 100, 20), 1.0}, {49, Bytes(255, 170, 60), Bytes(200, 50, 20), 0.9},
        {52, Bytes(170, 140, 130), Bytes(90, 70, 80), 0.65},  {54, Bytes(150, 140, 140), Bytes(90, 80, 90), 0.3},
    };
    auto strip = FrameStrip(112, 120, 6, 1, [](cairo_t* cr, int f) {
        const double cx = 56, cy = 60;
        const Stage& st = kStages[f];
        Random rng(42);
        if (f <= 2)
        {
            // A spiky burst behind the fireball.
            StarPath(cr, cx, cy, st.radius * 1.25, st.radius * 0.6, 12, f * 0.2);
            SetColour(cr, Bytes(255, 220, 80), 0.9 - f * 0.25);
            cairo_fill(cr);
        }
        if (f >= 1 && f <= 4)
        {
            cairo_arc(cr, cx, cy, st.radius + 4, 0, 2 * kPi);
            cairo_set_line_width(cr, 5 - f);
            cairo_set_source_rgba(cr, 1, 0.95, 0.75, 0.7 - f * 0.15);
            cairo_stroke(cr);
        }
        for (int i = 0; i < 14; ++i)
        {
            const double a = rng.Range(0, 2 * kPi);
            const double d = rng.Range(0.15, 0.6) * st.radius;
            const double r = rng.Range(0.35, 0.55) * st.radius;
            Puff(cr, cx + d * std::cos(a), cy + d * std::sin(a) - f * 2, r, st.inner, st.outer, st.alpha);
        }
        if (f <= 2)
            Puff(cr, cx, cy, st.radius * 0.55, Rgb{1, 1, 1}, Bytes(255, 240, 160), 1.0 - f * 0.3);
        for (int i = 0; i < 10; ++i)
        {
            const double a = rng.Range(0, 2 * kPi);
            const double d = st.radius + 4 + rng.Range(0, 6);
            if (f >= 1 && f <= 4)
                Twinkle(cr, cx + d * std::cos(a), cy + d * std::sin(a), 6 - f, Bytes(255, 220, 120), 1.0 - f * 0.2);
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
