// Word art: the banner words, the combo digits and word, the title letters
// and their cloud, and the studio logo of the splash screen.
#include <cmath>
#include <string>

#include "tools/assetgen/AssetSink.h"
#include "tools/assetgen/BlobArt.h"
#include "tools/assetgen/Canvas.h"
#include "tools/assetgen/Families.h"
#include "tools/assetgen/Paint.h"
#include "tools/assetgen/TextArt.h"

namespace Lumo::AssetGen {

namespace {

void Banner(AssetSink& sink, const char* file, const std::string& text, int w, int h, Rgb top, Rgb bottom)
{
    Canvas canvas(w, h);
    WordStyle style;
    style.top = top;
    style.bottom = bottom;
    style.outlineWidth = h >= 80 ? 6 : 3.5;
    style.shadow = h >= 80 ? 5 : 3;
    DrawWord(canvas.cr(), text, w / 2.0, h / 2.0, w, h, style);
    sink.AddCanvas(std::string("images/") + file + ".png", canvas);
}

void Banners(AssetSink& sink)
{
    Banner(sink, "text_ready", "READY?", 400, 100, Bytes(255, 250, 140), Bytes(255, 140, 20));
    Banner(sink, "text_go", "GO!", 400, 100, Bytes(200, 255, 140), Bytes(20, 170, 40));
    Banner(sink, "text_gameover", "GAME OVER", 400, 100, Bytes(255, 170, 160), Bytes(200, 20, 40));
    Banner(sink, "text_pause", "PAUSED", 400, 100, Bytes(200, 240, 255), Bytes(40, 110, 240));
    Banner(sink, "text_toast", "TOAST!", 400, 100, Bytes(255, 230, 160), Bytes(200, 110, 30));
    Banner(sink, "text_level_up", "LEVEL UP!", 400, 100, Bytes(255, 190, 250), Bytes(190, 30, 230));
    Banner(sink, "text_tutorial", "TUTORIAL", 156, 44, Bytes(255, 255, 255), Bytes(150, 210, 255));
    Banner(sink, "text_combo", "COMBO", 160, 40, Bytes(255, 250, 150), Bytes(255, 120, 30));
}

void ComboNumbers(AssetSink& sink)
{
    auto sheet = PaintSheet(40, 56, 10, 1, [](cairo_t* cr, int digit, int) {
        WordStyle style;
        style.top = Bytes(255, 255, 170);
        style.bottom = Bytes(255, 110, 20);
        style.outlineWidth = 3.5;
        style.shadow = 2.5;
        DrawWord(cr, std::to_string(digit), 20, 28, 40, 56, style);
    });
    sink.AddCanvas("images/combo_numbers.png", *sheet);
}

// The seven letters of the title, one per 64 x 96 cell. The game draws cell i
// at x = 512 + offset[i] (offsets -185, -138, -71, -40, 23, 52, 115), so each
// letter sits at its own place inside its cell to space the word evenly.
void LogoLetters(AssetSink& sink)
{
    struct Letter
    {
        const char* text;
        double x0, x1; // ink span inside the cell
        int colour;
        double tilt;
    };
    static const Letter kLetters[7] = {{"T", 3, 57, 0, -0.06}, {"U", 5, 61, 1, 0.05},  {"M", 3, 55, 2, -0.04},
                                       {"B", 22, 62, 3, 0.06}, {"R", 3, 57, 4, -0.05}, {"I", 36, 59, 0, 0.04},
                                       {"X", 3, 61, 1, -0.06}};
    auto sheet = PaintSheet(64, 96, 7, 1, [](cairo_t* cr, int i, int) {
        const Letter& letter = kLetters[i];
        const Rgb c = BlobColour(letter.colour);
        cairo_save(cr);
        const double cx = (letter.x0 + letter.x1) / 2;
        cairo_translate(cr, cx, 48);
        cairo_rotate(cr, letter.tilt);
        cairo_translate(cr, -cx, -48);
        WordStyle style;
        style.top = Lighten(c, 0.55);
        style.bottom = Darken(c, 0.1);
        style.outline = Bytes(40, 16, 70);
        style.outlineWidth = 4.5;
        style.shadow = 3;
        style.gloss = 0.55;
        style.keepHeight = true;
        DrawWord(cr, letter.text, cx, 48, letter.x1 - letter.x0 + 2 * 7.5, 90, style);
        cairo_restore(cr);
    });
    sink.AddCanvas("images/logo_letters.png", *sheet);
}

void SplashCloud(AssetSink& sink)
{
    const int w = 560, h = 236;
    Canvas canvas(w, h);
    cairo_t* cr = canvas.cr();
    struct PuffSpec
    {
        double x, y, r;
    };
    static const PuffSpec kPuffs[] = {
        {90, 130, 62},  {160, 90, 74},  {250, 70, 80},  {340, 72, 78},  {420, 96, 70},  {480, 136, 56},
        {130, 170, 52}, {220, 168, 62}, {320, 170, 62}, {410, 168, 56}, {60, 160, 36},  {510, 166, 32},
    };
    // Soft shadow, outline pass, then the white body shaded from below.
    Canvas shade(w, h);
    for (const PuffSpec& p : kPuffs)
    {
        cairo_arc(shade.cr(), p.x, p.y + 6, p.r, 0, 2 * kPi);
        cairo_set_source_rgba(shade.cr(), 0.1, 0.2, 0.5, 0.25);
        cairo_fill(shade.cr());
    }
    shade.Blur(4);
    canvas.Draw(shade, 0, 0);
    for (const PuffSpec& p : kPuffs)
    {
        cairo_arc(cr, p.x, p.y, p.r + 3, 0, 2 * kPi);
        SetColour(cr, Bytes(120, 150, 220));
        cairo_fill(cr);
    }
    for (const PuffSpec& p : kPuffs)
    {
        cairo_pattern_t* fill = cairo_pattern_create_linear(0, p.y - p.r, 0, p.y + p.r);
        AddStop(fill, 0, Rgb{1, 1, 1});
        AddStop(fill, 0.55, Rgb{1, 1, 1});
        AddStop(fill, 1, Bytes(200, 220, 250));
        cairo_set_source(cr, fill);
        cairo_arc(cr, p.x, p.y, p.r, 0, 2 * kPi);
        cairo_fill(cr);
        cairo_pattern_destroy(fill);
    }
    Random rng(21);
    for (int i = 0; i < 8; ++i)
        Twinkle(cr, rng.Range(60, 500), rng.Range(30, 200), rng.Range(4, 8), Bytes(255, 240, 150), 0.9);
    sink.AddCanvas("images/splash_cloud.png", canvas);
}

// Our studio's logo on the white splash screen: a smiling little sun above
// the name.
void Developer(AssetSink& sink)
{
    const int w = 512, h = 288;
    Canvas canvas(w, h);
    cairo_t* cr = canvas.cr();
    const double cx = w / 2.0, cy = 100;
    for (int i = 0; i < 12; ++i)
    {
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_rotate(cr, i * kPi / 6);
        cairo_move_to(cr, -9, -58);
        cairo_line_to(cr, 0, -84);
        cairo_line_to(cr, 9, -58);
        cairo_close_path(cr);
        FillStroke(cr, i % 2 == 0 ? Bytes(255, 190, 40) : Bytes(255, 140, 40), Bytes(160, 70, 0), 2);
        cairo_restore(cr);
    }
    cairo_arc(cr, cx, cy, 54, 0, 2 * kPi);
    FillRadial(cr, cx - 18, cy - 20, 70, Bytes(255, 250, 170), Bytes(255, 170, 20), Bytes(160, 70, 0), 3);
    Gloss(cr, cx - 16, cy - 26, 24, 12, 0.6);
    for (double side : {-1.0, 1.0})
    {
        cairo_move_to(cr, cx + side * 20 - 8, cy - 4);
        cairo_curve_to(cr, cx + side * 20 - 4, cy - 12, cx + side * 20 + 4, cy - 12, cx + side * 20 + 8, cy - 4);
        SetColour(cr, Bytes(90, 40, 0));
        cairo_set_line_width(cr, 4);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_stroke(cr);
    }
    cairo_move_to(cr, cx - 22, cy + 14);
    cairo_curve_to(cr, cx - 10, cy + 32, cx + 10, cy + 32, cx + 22, cy + 14);
    cairo_close_path(cr);
    FillStroke(cr, Bytes(200, 60, 40), Bytes(90, 40, 0), 3);
    WordStyle style;
    style.top = Bytes(90, 150, 255);
    style.bottom = Bytes(30, 60, 170);
    style.outline = Bytes(20, 24, 70);
    style.outlineWidth = 5;
    style.shadow = 4;
    DrawWord(cr, "LUMO GAMES", cx, 226, 440, 76, style);
    sink.AddCanvas("images/developer.png", canvas);
}

} // namespace

void MakeBanners(AssetSink& sink)
{
    Banners(sink);
    ComboNumbers(sink);
    LogoLetters(sink);
    SplashCloud(sink);
    Developer(sink);
}

} // namespace Lumo::AssetGen
