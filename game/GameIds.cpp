#include "game/GameIds.h"

namespace Lumo {

const std::array<GameImageInfo, IMAGE_COUNT>& GameImageTable()
{
    static const std::array<GameImageInfo, IMAGE_COUNT> table = {{
        {"badger_idle", 30, 1},      {"badger_happy", 40, 1},      {"badger_elated", 36, 1},
        {"badger_bliss", 30, 1},     {"badger_panic", 40, 1},      {"badger_panic", 40, 1},
        {"zidazod_idle", 40, 1},     {"zidazod_happy", 40, 1},     {"zidazod_elated", 24, 1},
        {"zidazod_bliss", 40, 1},    {"zidazod_panic", 40, 1},     {"zidazod_gameover", 40, 1},
        {"goldfish_idle", 30, 1},    {"goldfish_happy", 8, 1},     {"goldfish_elated", 10, 1},
        {"goldfish_bliss", 20, 1},   {"goldfish_panic", 20, 1},    {"goldfish_gameover", 20, 1},
        {"gorilla_idle", 40, 1},     {"gorilla_happy", 18, 1},     {"gorilla_elated", 12, 1},
        {"gorilla_bliss", 21, 1},    {"gorilla_panic", 34, 1},     {"gorilla_gameover", 18, 1},
        {"witch_idle", 40, 1},       {"witch_happy", 22, 1},       {"witch_elated", 20, 1},
        {"witch_bliss", 39, 1},      {"witch_panic", 10, 1},       {"witch_gameover", 30, 1},
        {"cloud_day", 1, 1},         {"beach_day_right", 1, 1},    {"beach_day_tile", 1, 1},
        {"cloud_night", 1, 1},       {"beach_night_right", 1, 1},  {"beach_night_tile", 1, 1},
        {"tiles", 10, 10},           {"tile_highlight", 6, 1},     {"text_ready", 1, 1},
        {"text_go", 1, 1},           {"text_gameover", 1, 1},      {"text_pause", 1, 1},
        {"text_toast", 1, 1},        {"text_tutorial", 1, 1},      {"text_level_up", 1, 1},
        {"button_pause", 1, 1},      {"cursor_on", 1, 8},          {"cursor_off", 1, 8},
        {"menu_bar_reflection", 1, 1}, {"cocktail", 1, 1},         {"umbrella", 1, 1},
        {"orange", 1, 1},            {"hand", 1, 1},               {"border_top", 1, 1},
        {"border_left", 1, 1},       {"bonus_timer_full", 1, 1},   {"score_bars", 1, 1},
        {"stat_bars", 1, 1},         {"skull_death", 9, 1},        {"bomb_explosion", 6, 1},
        {"intro_stars", 1, 3},       {"combo_numbers", 10, 1},     {"text_combo", 1, 1},
        {"energy_ball", 3, 1},       {"splash_cloud", 1, 1},       {"logo_letters", 1, 1},
        {"menu_corner_tl", 1, 1},    {"menu_corner_bl", 1, 1},     {"blob_speech", 1, 1},
        {"blob_exclamation", 5, 1},  {"blob_particle", 1, 1},      {"bomb_icon", 1, 1},
        {"skull_icon", 1, 1},        {"water_cooler", 1, 1},       {"board_toaster", 1, 1},
        {"toaster", 1, 1},           {"toast_anim", 8, 1},         {"music_slider", 1, 1},
        {"sound_slider", 1, 1},      {"speech_tail", 1, 1},        {"push_fire", 2, 1},
        {"smartbomb_scream", 8, 1},  {"smartbomb_circle", 1, 1},   {"menu_cap_L", 1, 1},
        {"developer", 1, 1},         {"tutorial_arrow", 1, 1},     {"menu_bar_tint", 1, 1},
        {"flash", 1, 1},             {"water_anim", 1, 16},        {"watercooler_mask", 1, 1},
    }};
    return table;
}

const char* GameSoundName(int soundId)
{
    static const char* const names[SOUND_ID_LIMIT] = {
        nullptr,           "blob_explosion", "activate_cursor",    "deactivate_cursor", "bomb_explosion",
        "blob_select",     "change_option",  "select_option",      nullptr,             "skull_death",
        "combo_over",      "intro",          "ready",              "go",                "smartbomb",
        "toast",           "star_explosion", "smartbomb_explosion", "bounce",           "scream",
        "witch_laugh",     "bomb_awarded",   "monkey_toast",       "level_up",          "bubble_0",
        "bubble_1",        "bubble_2",       "bubble_3",           "bubble_4",
    };
    if (soundId < 0 || soundId >= SOUND_ID_LIMIT)
        return nullptr;
    return names[soundId];
}

const char* GameMusicFile(int musicId)
{
    switch (musicId)
    {
    case MUSIC_THEME: return "sound/theme.ogg";
    case MUSIC_GAME: return "sound/game_music.ogg";
    case MUSIC_GAME_OVER: return "sound/game_over.ogg";
    case MUSIC_PANIC: return "sound/panic.wav";
    default: return nullptr;
    }
}

} // namespace Lumo
