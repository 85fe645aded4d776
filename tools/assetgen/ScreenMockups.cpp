// Mock-ups of the game's screens composed from the generated images, placed
// and tinted the way the game draws them: play by day and night, the main
// menu, and the side panels with the fish tank and the toaster.
#include <string>

#include "tools/assetgen/Canvas.h"
#include "tools/assetgen/ContactSheet.h"
#include "tools/assetgen/Paint.h"
#include "tools/assetgen/PreviewKit.h"

namespace Lumo::AssetGen {

namespace {

void Background(cairo_t* cr, Images& img, bool day)
{
    cairo_set_source_rgb(cr, day ? 33 / 255.0 : 111 / 255.0, day ? 142 / 255.0 : 101 / 255.0,
                         day ? 1.0 : 194 / 255.0);
    cairo_rectangle(cr, 0, 0, 1024, 384);
    cairo_fill(cr);
    SetColour(cr, day ? Bytes(252, 238, 167) : Bytes(125, 107, 157));
    cairo_rectangle(cr, 0, 384, 1024, 384);
    cairo_fill(cr);
    const std::string t = day ? "day" : "night";
    cairo_surface_t* cloud = img.Get("cloud_" + t);
    for (int i = 0; i <= 1024 / Images::W(cloud) + 1; ++i)
        Blit(cr, cloud, Images::W(cloud) * i - 40, 384 - Images::H(cloud));
    cairo_surface_t* tile = img.Get("beach_" + t + "_tile");
    for (int i = 0; i <= 1024 / Images::W(tile); ++i)
        Blit(cr, tile, Images::W(tile) * i, 384);
    cairo_surface_t* right = img.Get("beach_" + t + "_right");
    Blit(cr, right, 1024 - Images::W(right), 384);
}

void MenuBar(cairo_t* cr, Images& img, double cx, double y, double w, double h, Rgb colour)
{
    cairo_surface_t* tl = img.Get("menu_corner_tl");
    cairo_surface_t* bl = img.Get("menu_corner_bl");
    const double cw = Images::W(tl), ch = Images::H(tl);
    const double x0 = cx - w / 2, a = 220 / 255.0;
    Blit(cr, tl, x0, y, a, &colour);
    Blit(cr, tl, x0 + w - cw, y, a, &colour, 0, 0, -1, -1, 1, true);
    Blit(cr, bl, x0, y + h - Images::H(bl), a, &colour);
    Blit(cr, bl, x0 + w - cw, y + h - Images::H(bl), a, &colour, 0, 0, -1, -1, 1, true);
    SetColour(cr, colour, a);
    cairo_rectangle(cr, x0 + cw, y, w - 2 * cw, h);
    cairo_fill(cr);
    if (h > 48)
    {
        cairo_rectangle(cr, x0, y + ch, cw, h - 2 * ch);
        cairo_rectangle(cr, x0 + w - cw, y + ch, cw, h - 2 * ch);
        cairo_fill(cr);
    }
    cairo_surface_t* refl = img.Get("menu_bar_reflection");
    cairo_save(cr);
    cairo_translate(cr, x0, y);
    cairo_scale(cr, w / Images::W(refl), 1);
    cairo_set_source_surface(cr, refl, 0, 0);
    cairo_paint(cr);
    cairo_restore(cr);
}

void Character(cairo_t* cr, Images& img, const std::string& name, int frames, int frame, double x, double y)
{
    cairo_surface_t* s = img.Get(name);
    const double cw = Images::W(s) / static_cast<double>(frames), h = Images::H(s);
    Blit(cr, s, x - cw, y - 2 * h, 1.0, nullptr, cw * frame, 0, cw, h, 2.0);
}

void PlayScreen(cairo_t* cr, Images& img, const BitmapFont& font, bool day)
{
    Background(cr, img, day);
    // Panels.
    cairo_surface_t* score = img.Get("score_bars");
    Blit(cr, score, 1024 - 139 - Images::W(score) / 2, 16);
    cairo_surface_t* stat = img.Get("stat_bars");
    Blit(cr, stat, 139 - Images::W(stat) / 2, 16);
    const double scoreRight = 1024 - 139 + Images::W(score) / 2 - 16, statLeft = 139 - Images::W(stat) / 2 + 16;
    font.Shadow(cr, "123450", scoreRight, 80, 2, Bytes(255, 255, 128));
    font.Shadow(cr, "4210", scoreRight, 164, 2, Bytes(192, 255, 255));
    font.Shadow(cr, "12", statLeft, 80, 0, Rgb{1, 1, 1});
    font.Shadow(cr, "7", statLeft, 164, 0, Rgb{1, 1, 1});
    font.Shadow(cr, "3", statLeft, 248, 0, Rgb{1, 1, 1});
    cairo_surface_t* timer = img.Get("bonus_timer_full");
    Blit(cr, timer, 1024 - 139 - Images::W(timer) / 2, 16 + Images::H(score) - Images::H(timer), 1.0, nullptr, 0, 0,
         Images::W(timer) * 0.6, -1);
    cairo_surface_t* pause = img.Get("button_pause");
    Blit(cr, pause, 139 - Images::W(pause) / 2, 294 - Images::H(pause) / 2, 0.5);
    // Field.
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_rectangle(cr, 316, 54, 392, 660);
    cairo_fill(cr);
    cairo_surface_t* tiles = img.Get("tiles");
    Random rng(4);
    for (int row = 11; row < 22; ++row)
        for (int col = 0; col < 7; ++col)
        {
            int type = static_cast<int>(rng.Next() % 5);
            if (rng.Next() % 23 == 0)
                type = 5 + static_cast<int>(rng.Next() % 5);
            const double x = 316 + col * 56, y = row * 60 - 606;
            if (type == 7)
            {
                const Rgb c = Bytes(24, 230, 49);
                Blit(cr, tiles, x, y, 1.0, &c, type * 56, 0, 56, 60);
            }
            else if (row == 16 && col >= 2 && col <= 4)
                Blit(cr, img.Get("tile_highlight"), x, y, 1.0, nullptr, (type < 6 ? type : 0) * 56, 0, 56, 60);
            else
                Blit(cr, tiles, x, y, 1.0, nullptr, type * 56, 0, 56, 60);
        }
    cairo_surface_t* top = img.Get("border_top");
    Blit(cr, top, 512 - Images::W(top) / 2, 54 - Images::H(top));
    cairo_surface_t* left = img.Get("border_left");
    Blit(cr, left, 316 - Images::W(left), 54);
    Blit(cr, left, 708, 54, 1, nullptr, 0, 0, -1, -1, 1, true);
    cairo_save(cr);
    cairo_translate(cr, 512, 714 + Images::H(top) / 2.0);
    cairo_scale(cr, 1, -1);
    Blit(cr, top, -Images::W(top) / 2.0, -Images::H(top) / 2.0);
    cairo_restore(cr);
    // Story glass with umbrella and orange, two thirds full.
    cairo_surface_t* glass = img.Get("cocktail");
    const double gx = 139, gy = 752 - Images::H(glass), fill = Images::H(glass) * 0.6;
    Blit(cr, img.Get("umbrella"), gx - Images::W(img.Get("umbrella")) / 2, gy - Images::H(img.Get("umbrella")) / 2);
    Blit(cr, img.Get("orange"), gx + Images::W(glass) - 28, gy - 28);
    const Rgb drink = Bytes(167, 5, 165), white{1, 1, 1};
    Blit(cr, glass, gx, gy + Images::H(glass) - fill, 200 / 255.0, &drink, 0, Images::H(glass) - fill, -1, fill);
    Blit(cr, glass, gx, gy, 200 / 255.0, &white, 0, 0, -1, Images::H(glass) - fill);
    // Character, cursor, combo.
    Character(cr, img, "badger_happy", 40, 6, 885, 752);
    cairo_surface_t* cursor = img.Get("cursor_on");
    const Rgb chain = Bytes(24, 230, 49);
    Blit(cr, cursor, 512 - 32 - 56, 384 - 32, 180 / 255.0, &chain, 0, 64 * 2, 64, 64);
    font.Shadow(cr, "3", 512 - 56, 384 + 10, 1, Rgb{1, 1, 1});
    cairo_surface_t* combo = img.Get("text_combo");
    Blit(cr, combo, 139 - Images::W(combo) / 2, 430 + 56);
    cairo_surface_t* digits = img.Get("combo_numbers");
    Blit(cr, digits, 139 - 40, 430, 1, nullptr, 2 * 40, 0, 40, 56);
    Blit(cr, digits, 139, 430, 1, nullptr, 5 * 40, 0, 40, 56);
    Blit(cr, img.Get("text_tutorial"), 139, 714);
    Blit(cr, img.Get("bomb_explosion"), 540, 560, 1, nullptr, 112 * 2, 0, 112, 120);
    Blit(cr, img.Get("text_ready"), 312, 140);
}

void MenuScreen(cairo_t* cr, Images& img, const BitmapFont& font, bool day)
{
    Background(cr, img, day);
    cairo_surface_t* cloud = img.Get("splash_cloud");
    Blit(cr, cloud, 512 - Images::W(cloud) / 2, 120 - Images::H(cloud) / 2);
    cairo_surface_t* letters = img.Get("logo_letters");
    const int offsets[7] = {-185, -138, -71, -40, 23, 52, 115};
    const double lw = Images::W(letters) / 7.0, lh = Images::H(letters);
    for (int i = 0; i < 7; ++i)
        Blit(cr, letters, 512 + offsets[i], 120 - lh / 2 + (i % 2 == 0 ? -4 : 4), 1, nullptr, lw * i, 0, lw, lh);
    const char* items[] = {"Main menu", "Start game", "Tutorial", "Options", "Your stats", "About", "Quit"};
    const int k = Images::H(cloud) / 2;
    double y = 768 - ((768 - k - 120) / 2) - (7 * 56) / 2;
    for (int i = 0; i < 7; ++i)
    {
        const Rgb colour = i == 0 ? Bytes(0x84, 0x84, 0xFF) : (i == 2 ? Bytes(0xB7, 0xB9, 0xFF) : Bytes(0x44, 0x55, 0x99));
        if (i == 0)
        {
            cairo_surface_t* cap = img.Get("menu_cap_L");
            Blit(cr, cap, 512 - 225 - Images::W(cap), y, 1, &colour);
            Blit(cr, cap, 512 + 225, y, 1, &colour, 0, 0, -1, -1, 1, true);
        }
        MenuBar(cr, img, 512, y, 450, 48, colour);
        font.Shadow(cr, items[i], 512, y + 38, 1, Rgb{1, 1, 1});
        y += 56;
    }
    Character(cr, img, "zidazod_idle", 40, 0, 816, 672);
    Blit(cr, img.Get("hand"), 540, 430);
}

// The two side panels with props: the fish in its tank with the water at
// half height, and the gorilla on his toaster.
void SidePanels(cairo_t* cr, Images& img, const BitmapFont& font, bool day)
{
    Background(cr, img, day);
    // Fish tank, bottom centre (256, 752), water level 150 of 300.
    cairo_surface_t* cooler = img.Get("water_cooler");
    const double cw = Images::W(cooler), ch = Images::H(cooler), x = 256, y = 752;
    const double water = (ch - 30) * 150 / 300;
    cairo_surface_t* fish = img.Get("goldfish_idle");
    const double fishH = Images::H(fish) * 2.0;
    Character(cr, img, "goldfish_idle", 30, 3, x, water < fishH ? y : y - 6 - water + fishH);
    const Rgb blue = Bytes(40, 146, 255);
    SetColour(cr, blue, 0.5);
    cairo_rectangle(cr, x - cw / 2 + 6, y - 6 - water, cw - 12, water);
    cairo_fill(cr);
    cairo_surface_t* wave = img.Get("water_anim");
    const double ww = Images::W(wave), wh = Images::H(wave) / 16.0;
    for (int i = 0; (i + 1) * ww <= cw - 12; ++i)
        Blit(cr, wave, x - cw / 2 + 6 + i * ww, y - 6 - water - wh, 0.5, &blue, 0, wh * 5, ww, wh);
    Blit(cr, cooler, x - cw / 2, y - ch);
    const Rgb ground = day ? Bytes(252, 238, 167) : Bytes(125, 107, 157);
    Blit(cr, img.Get("watercooler_mask"), x - cw / 2, y - ch, 1, &ground);
    // Gorilla on the toaster, bottom centre (768, 752).
    cairo_surface_t* toaster = img.Get("toaster");
    const double tx = 768, th = Images::H(toaster);
    Blit(cr, toaster, tx - Images::W(toaster) / 2, y - th);
    font.Shadow(cr, "17", tx, y - 46, 1, Rgb{1, 1, 1});
    Character(cr, img, "gorilla_happy", 18, 4, tx, y - th * 0.75);
    Character(cr, img, "witch_idle", 40, 0, 512, 752);
}

} // namespace

bool WriteScreenMockups(const std::string& outputFolder, const std::string& pngPrefix)
{
    Images img(outputFolder);
    const BitmapFont font(outputFolder, img);
    bool ok = true;
    for (int variant = 0; variant < 4; ++variant)
    {
        Canvas screen(1024, 768);
        const bool day = variant % 2 == 0;
        if (variant < 2)
            PlayScreen(screen.cr(), img, font, day);
        else
            MenuScreen(screen.cr(), img, font, day);
        const std::string name = pngPrefix + (variant < 2 ? "play_" : "menu_") + (day ? "day" : "night") + ".png";
        ok = cairo_surface_write_to_png(screen.Surface(), name.c_str()) == CAIRO_STATUS_SUCCESS && ok;
    }
    Canvas side(1024, 768);
    SidePanels(side.cr(), img, font, true);
    ok = cairo_surface_write_to_png(side.Surface(), (pngPrefix + "side_panels.png").c_str()) == CAIRO_STATUS_SUCCESS &&
         ok;
    return ok;
}


} // namespace Lumo::AssetGen
