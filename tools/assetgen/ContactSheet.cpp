#include "tools/assetgen/ContactSheet.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/assetgen/Canvas.h"
#include "tools/assetgen/Paint.h"
#include "tools/assetgen/PreviewKit.h"
#include "tools/assetgen/TextArt.h"

namespace Lumo::AssetGen {

namespace {

struct Loaded
{
    std::string name;
    cairo_surface_t* surface;
};

std::vector<Loaded> LoadImages(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder + "/images"))
        if (entry.path().extension() == ".png")
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    std::vector<Loaded> images;
    for (const std::string& name : names)
    {
        cairo_surface_t* s = cairo_image_surface_create_from_png((folder + "/images/" + name).c_str());
        if (cairo_surface_status(s) == CAIRO_STATUS_SUCCESS)
            images.push_back({name, s});
        else
            cairo_surface_destroy(s);
    }
    return images;
}

void Checker(cairo_t* cr, double x, double y, double w, double h)
{
    cairo_save(cr);
    cairo_rectangle(cr, x, y, w, h);
    cairo_clip(cr);
    for (int j = 0; j * 8 < h; ++j)
        for (int i = 0; i * 8 < w; ++i)
        {
            const double v = ((i + j) % 2 == 0) ? 0.55 : 0.45;
            cairo_set_source_rgb(cr, v, v, v + 0.05);
            cairo_rectangle(cr, x + i * 8, y + j * 8, 8, 8);
            cairo_fill(cr);
        }
    cairo_restore(cr);
}

} // namespace

bool WriteContactSheet(const std::string& outputFolder, const std::string& pngPath)
{
    std::vector<Loaded> images = LoadImages(outputFolder);
    const int width = 2000, cellMax = 480, gap = 8;
    // Shelf layout.
    struct Place
    {
        double x, y, scale;
    };
    std::vector<Place> places;
    double x = gap, y = gap, shelf = 0;
    for (const Loaded& img : images)
    {
        const int w = cairo_image_surface_get_width(img.surface), h = cairo_image_surface_get_height(img.surface);
        const double scale = std::min(1.0, static_cast<double>(std::max(cellMax, 0)) / std::max(w, h * 2));
        const double sw = std::max(w * scale, 120.0), sh = h * scale + 16;
        if (x + sw > width)
            x = gap, y += shelf + gap, shelf = 0;
        places.push_back({x, y, scale});
        x += sw + gap;
        shelf = std::max(shelf, sh);
    }
    Canvas sheet(width, static_cast<int>(y + shelf + gap));
    cairo_t* cr = sheet.cr();
    cairo_set_source_rgb(cr, 0.15, 0.15, 0.2);
    cairo_paint(cr);
    for (size_t i = 0; i < images.size(); ++i)
    {
        const Loaded& img = images[i];
        const Place& p = places[i];
        const int w = cairo_image_surface_get_width(img.surface), h = cairo_image_surface_get_height(img.surface);
        Checker(cr, p.x, p.y + 16, w * p.scale, h * p.scale);
        cairo_save(cr);
        cairo_translate(cr, p.x, p.y + 16);
        cairo_scale(cr, p.scale, p.scale);
        cairo_set_source_surface(cr, img.surface, 0, 0);
        cairo_paint(cr);
        cairo_restore(cr);
        UseFace(cr, Face::Sans, 11);
        cairo_move_to(cr, p.x, p.y + 12);
        cairo_set_source_rgb(cr, 1, 1, 0.7);
        const std::string label = img.name + " " + std::to_string(w) + "x" + std::to_string(h);
        cairo_show_text(cr, label.c_str());
        cairo_surface_destroy(img.surface);
    }
    return cairo_surface_write_to_png(sheet.Surface(), pngPath.c_str()) == CAIRO_STATUS_SUCCESS;
}

// One sheet per character: its moods in rows, eight frames of each spread
// over the loop, on the sand colour.
bool WriteCharacterSheets(const std::string& outputFolder, const std::string& pngPrefix)
{
    Images img(outputFolder);
    const char* moods[6] = {"idle", "happy", "elated", "bliss", "panic", "gameover"};
    const char* prefixes[5] = {"badger", "zidazod", "goldfish", "gorilla", "witch"};
    const int frames[5][6] = {{30, 40, 36, 30, 40, 40}, {40, 40, 24, 40, 40, 40}, {30, 8, 10, 20, 20, 20},
                              {40, 18, 12, 21, 34, 18}, {40, 22, 20, 39, 10, 30}};
    bool ok = true;
    for (int c = 0; c < 5; ++c)
    {
        const bool fish = c == 2;
        const int cw = fish ? 90 : 100, ch = fish ? 80 : 130;
        Canvas sheet(cw * 8, ch * 6);
        cairo_t* cr = sheet.cr();
        SetColour(cr, fish ? Bytes(40, 146, 255) : Bytes(252, 238, 167));
        cairo_paint(cr);
        for (int m = 0; m < 6; ++m)
        {
            const std::string name = std::string(prefixes[c]) + "_" + (c == 0 && m == 5 ? "panic" : moods[m]);
            cairo_surface_t* s = img.Get(name);
            if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS)
                continue;
            for (int k = 0; k < 8; ++k)
            {
                const int f = k * frames[c][m] / 8;
                Blit(cr, s, k * cw, m * ch, 1.0, nullptr, f * cw, 0, cw, ch);
            }
        }
        ok = cairo_surface_write_to_png(sheet.Surface(), (pngPrefix + "char_" + prefixes[c] + ".png").c_str()) ==
                 CAIRO_STATUS_SUCCESS &&
             ok;
    }
    return ok;
}

// Chosen images at twice their size, one per row, over a mid grey.
bool WriteZoomSheet(const std::string& outputFolder, const std::string& pngPath)
{
    Images img(outputFolder);
    const char* names[] = {"bomb_explosion", "skull_death", "smartbomb_scream", "toast_anim", "intro_stars",
                           "energy_ball", "blob_exclamation", "push_fire", "hand", "tutorial_arrow", "bomb_icon",
                           "skull_icon", "music_slider", "sound_slider", "menu_cap_L", "speech_tail"};
    double y = 4, x = 4, shelf = 0;
    Canvas sheet(1800, 1200);
    cairo_t* cr = sheet.cr();
    cairo_set_source_rgb(cr, 0.35, 0.4, 0.5);
    cairo_paint(cr);
    for (const char* name : names)
    {
        cairo_surface_t* s = img.Get(name);
        const double w = Images::W(s) * 2.0, h = Images::H(s) * 2.0;
        if (x + w > 1800)
            x = 4, y += shelf + 6, shelf = 0;
        Blit(cr, s, x, y, 1.0, nullptr, 0, 0, -1, -1, 2.0);
        x += w + 6;
        shelf = std::max(shelf, h);
    }
    // The font as the game draws it.
    const BitmapFont font(outputFolder, img);
    const char* lines[] = {" !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ",
                           "[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~  Windowed {  Windowed }",
                           "Like hello?? It's Zidazod here. Relax, this'll be so super easy.",
                           "Choose your flavour: Story, Casual, Panic, Toast, Skull - 1234567890"};
    double ly = y + shelf + 40;
    for (const char* line : lines)
    {
        font.Shadow(cr, line, 10, ly, 0, Rgb{1, 1, 1});
        ly += 36;
    }
    return cairo_surface_write_to_png(sheet.Surface(), pngPath.c_str()) == CAIRO_STATUS_SUCCESS;
}

} // namespace Lumo::AssetGen
