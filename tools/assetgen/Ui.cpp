// Menu and HUD pieces: menu-bar corners, caps and reflection, the speech
// tail, the click prompt, volume knobs, the hand cursor, the pause button, the
// score and statistics panels with their labels, the bonus timer bar and the
// tutorial arrow.
#include <cmath>
#include <string>
#include <vector>

#include "tools/assetgen/AssetSink.h"
#include "tools/assetgen/Canvas.h"
#include "tools/assetgen/Families.h"
#include "tools/assetgen/Paint.h"
#include "tools/assetgen/TextArt.h"

namespace Lumo::AssetGen {

namespace {

const Rgb kInk = Bytes(30, 24, 60);

// White rounded corners (tinted by the game): a quarter disc of radius 24.
void MenuCorners(AssetSink& sink)
{
    for (const auto& [name, top] : {std::pair{"images/menu_corner_tl.png", true},
                                    std::pair{"images/menu_corner_bl.png", false}})
    {
        Canvas canvas(24, 24);
        cairo_t* cr = canvas.cr();
        const double cy = top ? 24 : 0;
        cairo_move_to(cr, 24, cy);
        cairo_arc(cr, 24, cy, 24, top ? kPi : kPi / 2, top ? 3 * kPi / 2 : kPi);
        cairo_close_path(cr);
        SetColour(cr, Rgb{1, 1, 1});
        cairo_fill(cr);
        sink.AddCanvas(name, canvas);
    }
}

// The end of a heading ribbon: a notched tail. The game draws it as it is
// (untinted) beside the heading bar, so it carries the heading's violet.
void MenuCap(AssetSink& sink)
{
    Canvas canvas(32, 48);
    cairo_t* cr = canvas.cr();
    cairo_move_to(cr, 32, 4);
    cairo_line_to(cr, 2, 4);
    cairo_line_to(cr, 14, 24);
    cairo_line_to(cr, 2, 44);
    cairo_line_to(cr, 32, 44);
    cairo_close_path(cr);
    FillVertical(cr, 4, 44, Rgb{0.72, 0.72, 1.0}, Rgb{0.52, 0.52, 1.0}, Rgb{0.30, 0.30, 0.72}, 1.5);
    cairo_move_to(cr, 32, 4);
    cairo_line_to(cr, 26, 0);
    cairo_line_to(cr, 26, 4);
    cairo_close_path(cr);
    SetColour(cr, Rgb{0.28, 0.28, 0.62});
    cairo_fill(cr);
    sink.AddCanvas("images/menu_cap_L.png", canvas);
}

void BarReflection(AssetSink& sink)
{
    Canvas canvas(16, 20);
    cairo_t* cr = canvas.cr();
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, 20);
    cairo_pattern_add_color_stop_rgba(p, 0, 1, 1, 1, 0.55);
    cairo_pattern_add_color_stop_rgba(p, 0.5, 1, 1, 1, 0.25);
    cairo_pattern_add_color_stop_rgba(p, 1, 1, 1, 1, 0);
    // The game stretches it over the whole bar, rounded corners included: the
    // end columns stay clear so no square end shows beyond the corners.
    cairo_set_source(cr, p);
    cairo_rectangle(cr, 1, 2, 14, 18);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    sink.AddCanvas("images/menu_bar_reflection.png", canvas);
}

void SpeechTail(AssetSink& sink)
{
    Canvas canvas(32, 24);
    cairo_t* cr = canvas.cr();
    cairo_move_to(cr, 0, 0);
    cairo_line_to(cr, 32, 0);
    cairo_curve_to(cr, 26, 10, 26, 18, 30, 24);
    cairo_curve_to(cr, 18, 20, 8, 10, 0, 0);
    cairo_close_path(cr);
    SetColour(cr, Rgb{1, 1, 1});
    cairo_fill(cr);
    sink.AddCanvas("images/speech_tail.png", canvas);
}

// "Click": a little mouse with its left button lit on the second frame.
void PushFire(AssetSink& sink)
{
    auto sheet = PaintSheet(40, 24, 2, 1, [](cairo_t* cr, int frame, int) {
        RoundedRect(cr, 13, 2, 14, 20, 7);
        FillStroke(cr, Rgb{1, 1, 1}, kInk, 1.5);
        cairo_move_to(cr, 13, 10);
        cairo_line_to(cr, 27, 10);
        cairo_move_to(cr, 20, 2);
        cairo_line_to(cr, 20, 10);
        SetColour(cr, kInk);
        cairo_set_line_width(cr, 1.2);
        cairo_stroke(cr);
        if (frame == 1)
        {
            cairo_move_to(cr, 14.5, 9);
            cairo_line_to(cr, 14.5, 7);
            cairo_arc(cr, 20, 9, 5.5, kPi, 3 * kPi / 2);
            cairo_line_to(cr, 19.5, 9);
            cairo_close_path(cr);
            SetColour(cr, Bytes(255, 200, 40));
            cairo_fill(cr);
            for (int i = 0; i < 3; ++i)
            {
                const double a = kPi + 0.3 + i * 0.5;
                cairo_move_to(cr, 14 + 7 * std::cos(a), 6 + 7 * std::sin(a));
                cairo_line_to(cr, 14 + 11 * std::cos(a), 6 + 11 * std::sin(a));
            }
            SetColour(cr, Rgb{1, 1, 1});
            cairo_set_line_width(cr, 1.6);
            cairo_stroke(cr);
        }
    });
    sink.AddCanvas("images/push_fire.png", *sheet);
}

void Knob(cairo_t* cr, bool music)
{
    RoundedRect(cr, 2, 2, 20, 28, 8);
    FillRadial(cr, 8, 8, 26, Rgb{1, 1, 1}, Bytes(180, 190, 230), kInk, 2);
    SetColour(cr, Bytes(70, 80, 170));
    cairo_set_line_width(cr, 1.8);
    if (music)
    {
        cairo_arc(cr, 10, 21, 3, 0, 2 * kPi);
        cairo_fill(cr);
        cairo_move_to(cr, 12.5, 21);
        cairo_line_to(cr, 12.5, 9);
        cairo_curve_to(cr, 15, 11, 17, 12, 16, 15);
        cairo_stroke(cr);
    }
    else
    {
        cairo_move_to(cr, 6, 13);
        cairo_line_to(cr, 9, 13);
        cairo_line_to(cr, 13, 9);
        cairo_line_to(cr, 13, 23);
        cairo_line_to(cr, 9, 19);
        cairo_line_to(cr, 6, 19);
        cairo_close_path(cr);
        cairo_fill(cr);
        cairo_arc(cr, 13, 16, 5, -0.7, 0.7);
        cairo_stroke(cr);
    }
}

void Sliders(AssetSink& sink)
{
    for (const auto& [name, music] : {std::pair{"images/music_slider.png", true},
                                      std::pair{"images/sound_slider.png", false}})
    {
        Canvas canvas(24, 32);
        Knob(canvas.cr(), music);
        sink.AddCanvas(name, canvas);
    }
}

// The pointing hand; its fingertip is the hot spot at the top-left.
void Hand(AssetSink& sink)
{
    Canvas canvas(32, 32);
    cairo_t* cr = canvas.cr();
    cairo_move_to(cr, 3, 2);
    cairo_curve_to(cr, 6, 0, 9, 2, 9, 5);
    cairo_line_to(cr, 10, 13);
    cairo_curve_to(cr, 12, 11, 15, 12, 15, 14);
    cairo_curve_to(cr, 17, 12, 20, 13, 20, 16);
    cairo_curve_to(cr, 22, 14, 26, 15, 26, 19);
    cairo_line_to(cr, 26, 24);
    cairo_curve_to(cr, 26, 29, 22, 31, 17, 31);
    cairo_line_to(cr, 13, 31);
    cairo_curve_to(cr, 9, 31, 7, 28, 5, 24);
    cairo_line_to(cr, 1, 17);
    cairo_curve_to(cr, 0, 14, 3, 13, 5, 15);
    cairo_line_to(cr, 6, 17);
    cairo_line_to(cr, 2, 5);
    cairo_curve_to(cr, 1.5, 3.5, 2, 2.5, 3, 2);
    cairo_close_path(cr);
    FillRadial(cr, 10, 10, 30, Rgb{1, 1, 1}, Bytes(220, 220, 235), Bytes(20, 20, 40), 1.6);
    cairo_move_to(cr, 15, 14);
    cairo_line_to(cr, 15, 19);
    cairo_move_to(cr, 20, 16);
    cairo_line_to(cr, 20, 20);
    SetColour(cr, Bytes(20, 20, 40));
    cairo_set_line_width(cr, 1.1);
    cairo_stroke(cr);
    RoundedRect(cr, 9, 27, 14, 4, 1.5);
    SetColour(cr, Bytes(70, 120, 230));
    cairo_fill(cr);
    sink.AddCanvas("images/hand.png", canvas);
}

void PauseButton(AssetSink& sink)
{
    Canvas canvas(48, 48);
    cairo_t* cr = canvas.cr();
    cairo_arc(cr, 24, 25, 21, 0, 2 * kPi);
    SetColour(cr, Rgb{0, 0, 0}, 0.25);
    cairo_fill(cr);
    cairo_arc(cr, 24, 23, 21, 0, 2 * kPi);
    FillRadial(cr, 16, 14, 30, Bytes(130, 200, 255), Bytes(30, 80, 200), Bytes(15, 30, 90), 2.5);
    for (double x : {16.0, 27.0})
    {
        RoundedRect(cr, x, 13, 6, 20, 2);
        FillStroke(cr, Rgb{1, 1, 1}, Bytes(15, 30, 90), 1.2);
    }
    Gloss(cr, 19, 12, 11, 5, 0.6);
    sink.AddCanvas("images/button_pause.png", canvas);
}

// A panel with its labels. Label rows sit above the game's number rows
// (baselines at 64, 148 and 232 inside the panel).
void Panel(cairo_t* cr, double w, double h, const std::vector<std::string>& labels, bool rightAligned)
{
    RoundedRect(cr, 3, 5, w - 6, h - 6, 18);
    SetColour(cr, Rgb{0, 0, 0}, 0.25);
    cairo_fill(cr);
    RoundedRect(cr, 2, 2, w - 6, h - 6, 18);
    cairo_pattern_t* body = cairo_pattern_create_linear(0, 0, 0, h);
    AddStop(body, 0, Bytes(60, 90, 200), 0.88);
    AddStop(body, 1, Bytes(34, 40, 120), 0.88);
    cairo_set_source(cr, body);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(body);
    SetColour(cr, Bytes(200, 220, 255));
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    RoundedRect(cr, 8, 7, w - 18, 22, 12);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.16);
    cairo_fill(cr);
    for (size_t i = 0; i < labels.size(); ++i)
    {
        const double baseline = 64 + 84.0 * static_cast<double>(i);
        // A darker well behind the number.
        RoundedRect(cr, 10, baseline - 30, w - 22, 38, 10);
        SetColour(cr, Bytes(16, 20, 60), 0.55);
        cairo_fill(cr);
        UseFace(cr, Face::SansBold, 17);
        const double width = TextAdvance(cr, labels[i]);
        const double x = rightAligned ? w - 18 - width : 16;
        TextPath(cr, labels[i], x + 1, baseline - 38 + 1);
        SetColour(cr, Rgb{0, 0, 0}, 0.5);
        cairo_fill(cr);
        TextPath(cr, labels[i], x, baseline - 38);
        SetColour(cr, Bytes(255, 220, 110));
        cairo_fill(cr);
    }
}

void ScorePanels(AssetSink& sink)
{
    {
        Canvas canvas(260, 180);
        cairo_t* cr = canvas.cr();
        Panel(cr, 260, 164, {"High score", "Score"}, true);
        // The trough of the bonus timer along the bottom edge.
        RoundedRect(cr, 8, 160, 244, 20, 9);
        FillVertical(cr, 160, 180, Bytes(70, 100, 210), Bytes(34, 40, 120), Bytes(200, 220, 255), 2);
        RoundedRect(cr, 10, 164, 240, 16, 7);
        SetColour(cr, Bytes(10, 14, 40), 0.85);
        cairo_fill(cr);
        sink.AddCanvas("images/score_bars.png", canvas);
    }
    {
        Canvas canvas(260, 250);
        Panel(canvas.cr(), 260, 250, {"Chains made", "Longest chain", "Biggest combo"}, false);
        sink.AddCanvas("images/stat_bars.png", canvas);
    }
}

void BonusTimer(AssetSink& sink)
{
    Canvas canvas(240, 16);
    cairo_t* cr = canvas.cr();
    RoundedRect(cr, 0, 0, 240, 16, 7);
    cairo_pattern_t* fill = cairo_pattern_create_linear(0, 0, 240, 0);
    AddStop(fill, 0, Bytes(255, 70, 90));
    AddStop(fill, 0.35, Bytes(255, 200, 40));
    AddStop(fill, 0.7, Bytes(80, 230, 80));
    AddStop(fill, 1, Bytes(60, 200, 255));
    cairo_set_source(cr, fill);
    cairo_fill(cr);
    cairo_pattern_destroy(fill);
    RoundedRect(cr, 3, 2, 234, 5, 3);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.5);
    cairo_fill(cr);
    sink.AddCanvas("images/bonus_timer_full.png", canvas);
}

void TutorialArrow(AssetSink& sink)
{
    Canvas canvas(48, 56);
    cairo_t* cr = canvas.cr();
    cairo_move_to(cr, 15, 3);
    cairo_line_to(cr, 33, 3);
    cairo_line_to(cr, 33, 26);
    cairo_line_to(cr, 45, 26);
    cairo_line_to(cr, 24, 53);
    cairo_line_to(cr, 3, 26);
    cairo_line_to(cr, 15, 26);
    cairo_close_path(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    FillVertical(cr, 3, 53, Bytes(255, 250, 150), Bytes(255, 150, 20), Bytes(110, 40, 0), 3);
    Gloss(cr, 22, 12, 6, 8, 0.5);
    sink.AddCanvas("images/tutorial_arrow.png", canvas);
}

void Placeholders(AssetSink& sink)
{
    // Small plain images nothing draws; kept so every id has its file.
    Canvas tint(16, 16);
    SetColour(tint.cr(), Rgb{1, 1, 1}, 0.5);
    cairo_paint(tint.cr());
    sink.AddCanvas("images/menu_bar_tint.png", tint);
    Canvas flash(16, 16);
    SetColour(flash.cr(), Rgb{1, 1, 1});
    cairo_paint(flash.cr());
    sink.AddCanvas("images/flash.png", flash);
}

} // namespace

void MakeUi(AssetSink& sink)
{
    MenuCorners(sink);
    MenuCap(sink);
    BarReflection(sink);
    SpeechTail(sink);
    PushFire(sink);
    Sliders(sink);
    Hand(sink);
    PauseButton(sink);
    ScorePanels(sink);
    BonusTimer(sink);
    TutorialArrow(sink);
    Placeholders(sink);
}

} // namespace Lumo::AssetGen
