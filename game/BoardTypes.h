#pragma once
// The Board's enumerations and small records. All enumerations are 32-bit
// signed, as the game stores and compares them as plain ints.
#include <cstdint>

namespace Lumo {

// What a grid cell holds.
enum BlobType : int
{
    BLOB_EMPTY = -1,
    BLOB_COLOUR_0 = 0,
    BLOB_COLOUR_1 = 1,
    BLOB_COLOUR_2 = 2,
    BLOB_COLOUR_3 = 3,
    BLOB_COLOUR_4 = 4,
    BLOB_WILDCARD = 5,
    BLOB_BOMB = 6,
    BLOB_SMART_BOMB = 7,
    BLOB_SKULL = 8,
    BLOB_BREAD = 9
};

// The screen the Board shows. STATE_QUIT is only ever a fade target.
enum BoardState : int
{
    STATE_SPLASH = 0,
    STATE_MENUS = 1,
    STATE_PLAYING = 2,
    STATE_PAUSED = 3,
    STATE_STORY_ENDING = 4,
    STATE_STATS = 5,
    STATE_ABOUT = 6,
    STATE_QUIT = 7
};

// Indexes Board::highScores.
enum GameMode : int
{
    MODE_STORY = 0,
    MODE_CASUAL = 1,
    MODE_PANIC = 2,
    MODE_TOAST = 3,
    MODE_SKULL = 4,
    MODE_COUNT = 5
};

enum Character : int
{
    CHARACTER_NONE = -1,
    CHARACTER_BADGER = 0, // the tutorial
    CHARACTER_ZIDAZOD = 1,
    CHARACTER_GOLDFISH = 2,
    CHARACTER_GORILLA = 3,
    CHARACTER_WITCH = 4
};

// The character's image is GameImage character * 6 + mood.
enum CharacterMood : int
{
    MOOD_IDLE = 0,
    MOOD_HAPPY = 1,
    MOOD_ELATED = 2,
    MOOD_BLISS = 3,
    MOOD_PANIC = 4,
    MOOD_GAMEOVER = 5
};

// Each statistic is a pair (this game, kept): kept is the all-time count for
// the first two and the best game for the rest.
enum GameStat : int
{
    STAT_GAMES_PLAYED = 0,
    STAT_BLOBS_CLEARED = 1,
    STAT_CHAINS_MADE = 2,
    STAT_LONGEST_CHAIN = 3,
    STAT_BIGGEST_COMBO = 4,
    STAT_BEST_CHAIN_SCORE = 5,
    STAT_COUNT = 6
};

// A menu lists TextIds; value 2 names no menu.
enum MenuId : int
{
    MENU_MAIN = 0,
    MENU_MODE_CHOICE = 1,
    MENU_OPTIONS = 3,
    MENU_PAUSE = 4,
    MENU_GAME_OVER = 5
};

// Text ids of the menu items that the rules name (a menu item's id is also its
// text id; the whole table is in BoardTexts.cpp).
enum TextId : int
{
    TEXT_MAIN_MENU = 5,
    TEXT_START_GAME = 6,
    TEXT_TUTORIAL = 7,
    TEXT_OPTIONS = 8,
    TEXT_YOUR_STATS = 9,
    TEXT_ABOUT = 10,
    TEXT_QUIT_GAME = 11,
    TEXT_OPTIONS_HEADING = 12,
    TEXT_MUSIC_VOLUME = 13,
    TEXT_SOUND_VOLUME = 14,
    TEXT_SCENERY = 15,
    TEXT_WINDOWED = 16,
    TEXT_OPTIONS_BACK = 17,
    TEXT_CHOOSE_FLAVOUR = 18,
    TEXT_STORY = 19,
    TEXT_CASUAL = 20,
    TEXT_PANIC = 21,
    TEXT_TOAST = 22,
    TEXT_SKULL = 23,
    TEXT_MODE_BACK = 24,
    TEXT_RESUME = 25,
    TEXT_RESTART = 26,
    TEXT_QUIT = 27,
    TEXT_RETRY = 28,
    TEXT_STORY_INTRO = 30,   // + chapter
    TEXT_STORY_ENDING = 35,
    TEXT_MODE_INTRO = 39,    // + mode (Casual 40 .. Skull 43)
    TEXT_TUTORIAL_PAGE = 44, // + page 0..13
    TEXT_STAT_LABEL = 62,    // + GameStat
    TEXT_ABOUT_TEXT = 68,
    TEXT_MODE_DESCRIPTION = 69 // + hovered mode-choice index
};

// One thrown particle; positions and speeds are 16.16 fixed point.
struct Particle
{
    int32_t type = 0;
    int32_t x = 0;
    int32_t y = 0;
    int32_t life = 0;
    int32_t vx = 0;
    int32_t vy = 0;
};

} // namespace Lumo
