#include "game/GameApp.h"

#include "app/KeyCode.h"
#include "audio/SoundManager.h"
#include "fonts/Font.h"
#include "game/Board.h"
#include "graphics/Image.h"
#include "widgets/WidgetManager.h"

#include <cstdlib>

namespace Lumo {

GameApp::GameApp()
{
    mProdName = "Tumbrix";
    mProductVersion = "1.0.0";
    mTitle = "LumoAppFramework: " + mProdName + " - " + mProductVersion;
    mRegKey = "Varnet\\LumoAppFramework\\Demo2";
    mWidth = 1024;
    mHeight = 768;
}

GameApp::~GameApp()
{
    // The loader fills the members freed below.
    EndLoadingThread();
    if (board != nullptr)
    {
        if (mWidgetManager != nullptr)
            mWidgetManager->RemoveWidget(board);
        delete board;
        board = nullptr;
    }
    delete gameFont;
    gameFont = nullptr;
    for (Image*& image : images)
    {
        delete image;
        image = nullptr;
    }
    if (mSoundManager != nullptr)
        mSoundManager->UnloadAllSounds();
}

void GameApp::Init()
{
    LumoAppBase::Init();
    SetCursorKind(CursorKind::Hidden);
}

void GameApp::OnLoadingComplete()
{
    LumoAppBase::OnLoadingComplete();
    if (loadFailed)
        SetExitCode(1); // the program must not end with success
    if (mShutdownRequested || loadFailed)
        return;
    SetAssetHash(RuleAssetHash());
    board = new Board(this);
    board->Resize(0, 0, mWidth, mHeight);
    if (mWidgetManager != nullptr)
        mWidgetManager->AddWidget(board);
}

void GameApp::OnShutdown()
{
    LumoAppBase::OnShutdown();
    if (board != nullptr)
        board->saveChangedGameData();
}

void GameApp::PlaySample(int soundId)
{
    LumoAppBase::PlaySample(soundId);
}

bool GameApp::HandleDebugKey(int keyCode)
{
    // The framework's own debug keys are not offered in this game.
    if (keyCode != static_cast<int>(KeyCode::Escape) || board == nullptr)
        return false;
    switch (board->state)
    {
    case STATE_MENUS:
        Shutdown();
        break;
    case STATE_PLAYING:
        if (!board->isGameOver)
            board->setMenu(MENU_PAUSE);
        break;
    case STATE_PAUSED:
        // Straight back to play, without going through the menu code.
        board->state = STATE_PLAYING;
        break;
    default:
        break;
    }
    return true;
}

void GameApp::SwitchScreenMode3D(bool windowed, bool unused)
{
    (void)unused;
    SwitchScreenMode(windowed, true, false);
}

void GameApp::ExitProcess(int exitCode)
{
    // Ends the run in order first, like every other way out: what changed is
    // saved and the settings and a recorded demo are written.
    SetExitCode(exitCode);
    if (!IsMainThread())
    {
        // Only the main loop may end the run: from the loader, waiting for
        // the loader would wait for itself; from elsewhere it would race the
        // loop. The entry function returns the code kept above.
        mShutdownRequested = true;
        return;
    }
    ShutdownOnMainThread();
    std::exit(exitCode);
}

Image* GameApp::GetImage(int imageId) const
{
    if (imageId < 0 || imageId >= IMAGE_COUNT)
        return nullptr;
    return images[static_cast<size_t>(imageId)];
}

namespace {

void HashInt(uint64_t& hash, int64_t value)
{
    for (int i = 0; i < 8; ++i)
    {
        hash ^= static_cast<uint8_t>(value >> (8 * i));
        hash *= 0x100000001b3ULL;
    }
}

} // namespace

uint64_t GameApp::RuleAssetHash()
{
    static const int kRuleImages[] = {IMAGE_COCKTAIL,       IMAGE_WATER_COOLER,  IMAGE_BUTTON_PAUSE,
                                      IMAGE_MENU_CORNER_TL, IMAGE_SPLASH_CLOUD, IMAGE_SKULL_DEATH};
    uint64_t hash = 0xcbf29ce484222325ULL;
    auto hashImage = [&](int id) {
        const Image* image = GetImage(id);
        HashInt(hash, image != nullptr ? image->GetWidth() : -1);
        HashInt(hash, image != nullptr ? image->GetHeight() : -1);
        HashInt(hash, image != nullptr ? image->mCelColumns : -1);
    };
    for (int id : kRuleImages)
        hashImage(id);
    for (int id = IMAGE_BADGER_IDLE; id <= IMAGE_WITCH_GAMEOVER; ++id)
        hashImage(id);
    HashInt(hash, gameFont != nullptr ? gameFont->GetLineSpacing() : -1);
    if (gameFont != nullptr)
    {
        // The rules measure the mode descriptions and wrap the panel texts.
        for (int id = 30; id <= 75; ++id)
            HashInt(hash, gameFont->GetStringWidth(Board::textFor(id, true, true)));
        for (char c = ' '; c < 127; ++c)
            HashInt(hash, gameFont->GetStringWidth(std::string(1, c)));
    }
    return hash;
}

} // namespace Lumo
