#pragma once
// The ids by which the game names its images, sound effects and songs, with
// the file each is loaded from and the cel grid set on each image after
// loading.
#include <array>

namespace Lumo {

// Index into GameApp::images. Ids 0-29 are the character strips:
// character * 6 + mood (see Character and CharacterMood in BoardTypes.h).
enum GameImage : int
{
    IMAGE_BADGER_IDLE = 0,
    IMAGE_BADGER_HAPPY,
    IMAGE_BADGER_ELATED,
    IMAGE_BADGER_BLISS,
    IMAGE_BADGER_PANIC,
    IMAGE_BADGER_GAMEOVER, // loaded from badger_panic a second time
    IMAGE_ZIDAZOD_IDLE,
    IMAGE_ZIDAZOD_HAPPY,
    IMAGE_ZIDAZOD_ELATED,
    IMAGE_ZIDAZOD_BLISS,
    IMAGE_ZIDAZOD_PANIC,
    IMAGE_ZIDAZOD_GAMEOVER,
    IMAGE_GOLDFISH_IDLE,
    IMAGE_GOLDFISH_HAPPY,
    IMAGE_GOLDFISH_ELATED,
    IMAGE_GOLDFISH_BLISS,
    IMAGE_GOLDFISH_PANIC,
    IMAGE_GOLDFISH_GAMEOVER,
    IMAGE_GORILLA_IDLE,
    IMAGE_GORILLA_HAPPY,
    IMAGE_GORILLA_ELATED,
    IMAGE_GORILLA_BLISS,
    IMAGE_GORILLA_PANIC,
    IMAGE_GORILLA_GAMEOVER,
    IMAGE_WITCH_IDLE,
    IMAGE_WITCH_HAPPY,
    IMAGE_WITCH_ELATED,
    IMAGE_WITCH_BLISS,
    IMAGE_WITCH_PANIC,
    IMAGE_WITCH_GAMEOVER,
    IMAGE_CLOUD_DAY = 30,
    IMAGE_BEACH_DAY_RIGHT,
    IMAGE_BEACH_DAY_TILE,
    IMAGE_CLOUD_NIGHT,
    IMAGE_BEACH_NIGHT_RIGHT,
    IMAGE_BEACH_NIGHT_TILE,
    IMAGE_TILES = 36,
    IMAGE_TILE_HIGHLIGHT,
    IMAGE_TEXT_READY,
    IMAGE_TEXT_GO,
    IMAGE_TEXT_GAMEOVER = 40,
    IMAGE_TEXT_PAUSE,
    IMAGE_TEXT_TOAST,
    IMAGE_TEXT_TUTORIAL,
    IMAGE_TEXT_LEVEL_UP,
    IMAGE_BUTTON_PAUSE = 45,
    IMAGE_CURSOR_ON,
    IMAGE_CURSOR_OFF,
    IMAGE_MENU_BAR_REFLECTION,
    IMAGE_COCKTAIL = 49,
    IMAGE_UMBRELLA = 50,
    IMAGE_ORANGE,
    IMAGE_HAND,
    IMAGE_BORDER_TOP,
    IMAGE_BORDER_LEFT,
    IMAGE_BONUS_TIMER_FULL,
    IMAGE_SCORE_BARS,
    IMAGE_STAT_BARS,
    IMAGE_SKULL_DEATH = 58,
    IMAGE_BOMB_EXPLOSION,
    IMAGE_INTRO_STARS = 60,
    IMAGE_COMBO_NUMBERS,
    IMAGE_TEXT_COMBO,
    IMAGE_ENERGY_BALL,
    IMAGE_SPLASH_CLOUD = 64,
    IMAGE_LOGO_LETTERS,
    IMAGE_MENU_CORNER_TL = 66,
    IMAGE_MENU_CORNER_BL,
    IMAGE_BLOB_SPEECH,
    IMAGE_BLOB_EXCLAMATION,
    IMAGE_BLOB_PARTICLE = 70,
    IMAGE_BOMB_ICON,
    IMAGE_SKULL_ICON,
    IMAGE_WATER_COOLER = 73,
    IMAGE_BOARD_TOASTER,
    IMAGE_TOASTER,
    IMAGE_TOAST_ANIM,
    IMAGE_MUSIC_SLIDER,
    IMAGE_SOUND_SLIDER,
    IMAGE_SPEECH_TAIL,
    IMAGE_PUSH_FIRE = 80,
    IMAGE_SMARTBOMB_SCREAM,
    IMAGE_SMARTBOMB_CIRCLE,
    IMAGE_MENU_CAP_L,
    IMAGE_DEVELOPER,
    IMAGE_TUTORIAL_ARROW,
    IMAGE_MENU_BAR_TINT,
    IMAGE_FLASH,
    IMAGE_WATER_ANIM,
    IMAGE_WATERCOOLER_MASK,
    IMAGE_COUNT = 90
};

// Sound effect ids in the application's sound manager. Id 8 is unused.
enum GameSound : int
{
    SOUND_BLOB_EXPLOSION = 1,
    SOUND_ACTIVATE_CURSOR = 2,
    SOUND_DEACTIVATE_CURSOR = 3,
    SOUND_BOMB_EXPLOSION = 4,
    SOUND_BLOB_SELECT = 5,
    SOUND_CHANGE_OPTION = 6,
    SOUND_SELECT_OPTION = 7,
    SOUND_SKULL_DEATH = 9,
    SOUND_COMBO_OVER = 10,
    SOUND_INTRO = 11,
    SOUND_READY = 12,
    SOUND_GO = 13,
    SOUND_SMARTBOMB = 14,
    SOUND_TOAST = 15,
    SOUND_STAR_EXPLOSION = 16,
    SOUND_SMARTBOMB_EXPLOSION = 17,
    SOUND_BOUNCE = 18,
    SOUND_SCREAM = 19,
    SOUND_WITCH_LAUGH = 20,
    SOUND_BOMB_AWARDED = 21,
    SOUND_MONKEY_TOAST = 22,
    SOUND_LEVEL_UP = 23,
    SOUND_BUBBLE_0 = 24,
    SOUND_BUBBLE_1 = 25,
    SOUND_BUBBLE_2 = 26,
    SOUND_BUBBLE_3 = 27,
    SOUND_BUBBLE_4 = 28,
    SOUND_ID_LIMIT = 29 // one past the last id
};

// Song ids in the application's music player.
enum GameMusic : int
{
    MUSIC_THEME = 0,
    MUSIC_GAME = 1,
    MUSIC_GAME_OVER = 2,
    MUSIC_PANIC = 3
};

struct GameImageInfo
{
    const char* file;  // below "images/", without an extension
    int celColumns;    // cels side by side
    int celRows;       // cels stacked
};

// File and cel grid of every GameImage, indexed by id.
const std::array<GameImageInfo, IMAGE_COUNT>& GameImageTable();

// The file of a sound effect below "sound/" without an extension, or null for
// an id that names no sound.
const char* GameSoundName(int soundId);

// The file a song is loaded from ("sound/theme.ogg", ...).
const char* GameMusicFile(int musicId);

} // namespace Lumo
