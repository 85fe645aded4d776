// The game's resources, loaded on the loading thread in a fixed order: the
// scenery, the character strips, the interface images, the tiles, the effect
// images, the font, then the sound effects.
#include "game/GameApp.h"

#include "audio/SoundManager.h"
#include "fonts/FontData.h"
#include "fonts/ImageFont.h"
#include "graphics/DDImage.h"

#include <initializer_list>

namespace Lumo {

namespace {

constexpr const char* kFontPath = "images/Tumbrix28.txt";

// The images of each loading step, in order.
const std::initializer_list<int> kSceneryImages = {
    IMAGE_MENU_CORNER_TL, IMAGE_MENU_CORNER_BL, IMAGE_CLOUD_DAY,   IMAGE_BEACH_DAY_TILE,
    IMAGE_BEACH_DAY_RIGHT, IMAGE_CLOUD_NIGHT,   IMAGE_BEACH_NIGHT_TILE, IMAGE_BEACH_NIGHT_RIGHT};

const std::initializer_list<int> kInterfaceImages = {
    IMAGE_MUSIC_SLIDER, IMAGE_SOUND_SLIDER, IMAGE_BONUS_TIMER_FULL, IMAGE_COMBO_NUMBERS, IMAGE_TEXT_COMBO,
    IMAGE_ENERGY_BALL,  IMAGE_SPLASH_CLOUD, IMAGE_LOGO_LETTERS,     IMAGE_BLOB_SPEECH,   IMAGE_BLOB_EXCLAMATION,
    IMAGE_BOMB_ICON,    IMAGE_SKULL_ICON,   IMAGE_WATER_COOLER,     IMAGE_BOARD_TOASTER, IMAGE_TOASTER,
    IMAGE_TOAST_ANIM,   IMAGE_SCORE_BARS,   IMAGE_STAT_BARS,        IMAGE_TILE_HIGHLIGHT};

const std::initializer_list<int> kEffectImages = {
    IMAGE_BOMB_EXPLOSION, IMAGE_SKULL_DEATH,      IMAGE_INTRO_STARS,  IMAGE_TEXT_READY,     IMAGE_TEXT_GO,
    IMAGE_TEXT_GAMEOVER,  IMAGE_TEXT_PAUSE,       IMAGE_TEXT_TOAST,   IMAGE_TEXT_TUTORIAL,  IMAGE_TEXT_LEVEL_UP,
    IMAGE_BUTTON_PAUSE,   IMAGE_MENU_BAR_REFLECTION, IMAGE_COCKTAIL,  IMAGE_UMBRELLA,       IMAGE_ORANGE,
    IMAGE_HAND,           IMAGE_CURSOR_ON,        IMAGE_CURSOR_OFF,   IMAGE_SPEECH_TAIL,    IMAGE_BORDER_TOP,
    IMAGE_BORDER_LEFT,    IMAGE_BLOB_PARTICLE,    IMAGE_PUSH_FIRE,    IMAGE_SMARTBOMB_SCREAM, IMAGE_SMARTBOMB_CIRCLE,
    IMAGE_MENU_CAP_L,     IMAGE_DEVELOPER,        IMAGE_TUTORIAL_ARROW, IMAGE_MENU_BAR_TINT, IMAGE_FLASH,
    IMAGE_WATER_ANIM,     IMAGE_WATERCOOLER_MASK};

} // namespace

void GameApp::FailLoading(const std::string& message)
{
    // The program must not end with success, whichever way the run ends
    // before loading completes: also a stop signal while the box is open,
    // which may end the run before the box returns.
    SetExitCode(1);
    ShowFatalError(message);
    loadFailed = true;
    mShutdownRequested = true;
}

bool GameApp::LoadGameImage(int imageId)
{
    const GameImageInfo& info = GameImageTable()[static_cast<size_t>(imageId)];
    const std::string path = std::string("images/") + info.file;
    DDImage* image = LoadImageFile(path, true);
    images[static_cast<size_t>(imageId)] = image;
    if (image == nullptr)
    {
        // The drawing reads the size of nearly every image, so a missing one
        // ends the start-up like the other required resources. The tiles keep
        // their own message.
        FailLoading(imageId == IMAGE_TILES ? std::string("There was an error loading that file!")
                                           : "There was an error loading " + path);
        return false;
    }
    image->mCelColumns = info.celColumns;
    image->mCelRows = info.celRows;
    return true;
}

bool GameApp::LoadGameFont()
{
    auto* font = new ImageFont(this, kFontPath);
    if (font->GetFontData() == nullptr || !font->GetFontData()->IsLoaded())
    {
        delete font;
        gameFont = nullptr;
        FailLoading(std::string("There was an error loading ") + kFontPath);
        return false;
    }
    gameFont = font;
    return true;
}

bool GameApp::LoadGameSounds()
{
    if (mSoundManager == nullptr)
        return true; // no sound manager: nothing to load into (tests)
    for (int id = SOUND_BLOB_EXPLOSION; id < SOUND_ID_LIMIT; ++id)
    {
        const char* name = GameSoundName(id);
        if (name == nullptr)
            continue; // id 8 names no sound
        const std::string path = std::string("sound/") + name;
        const bool loaded = mSoundManager->LoadSound(static_cast<unsigned>(id), path);
        // The bubbles of Panic mode may be missing: they simply never play.
        if (!loaded && id < SOUND_BUBBLE_0)
        {
            FailLoading("There was an error loading " + path);
            return false;
        }
    }
    return true;
}

void GameApp::LoadResources()
{
    for (int id : kSceneryImages)
        if (!LoadGameImage(id))
            return;
    for (int id = IMAGE_BADGER_IDLE; id <= IMAGE_WITCH_GAMEOVER; ++id)
        if (!LoadGameImage(id))
            return;
    for (int id : kInterfaceImages)
        if (!LoadGameImage(id))
            return;
    if (!LoadGameImage(IMAGE_TILES))
        return;
    for (int id : kEffectImages)
        if (!LoadGameImage(id))
            return;
    if (!LoadGameFont())
        return;
    if (!LoadGameSounds())
        return;
    // Stored before loading completes, so a demo records it and a replay
    // checks it before the game starts.
    SetAssetHash(RuleAssetHash());
}

} // namespace Lumo
