#pragma once
// The game's application object: the product identity and window size, the
// game's resources (one font, 90 images, the sound effects; loaded on the
// loading thread), the one Board created once loading has finished, and
// Escape in the framework's debug-key mode.
//
// Threads: LoadResources runs on the loading thread; everything else on the
// main thread. The resource tables are written only while loading and read by
// the main thread only after OnLoadingComplete.
#include "app/LumoAppBase.h"
#include "game/GameIds.h"

#include <array>
#include <cstdint>
#include <string>

namespace Lumo {

class Board;
class Font;
class Image;

class GameApp : public LumoAppBase
{
public:
    GameApp();
    // Waits for the loading thread, then removes and deletes the Board, the
    // font and every image (empty entries skipped), then unloads all sounds.
    // Safe without Shutdown, the loader running.
    ~GameApp() override;

    // The framework's start-up, then the system cursor is hidden (the game
    // draws its own).
    void Init() override;
    // Loads the images, the font and the sound effects (loading thread). A
    // missing image, font or required sound shows an error box, asks the
    // application to shut down (mShutdownRequested, loadFailed) and loads
    // nothing more.
    void LoadResources() override;
    // Creates the Board, unless loading failed: sized to the game area and
    // added to the widget manager.
    void OnLoadingComplete() override;
    // Every way out (a menu, the window's close button, SIGTERM/SIGINT/SIGHUP,
    // a lost display) saves what changed since the last save; a game in
    // progress counts as if the player quit it.
    void OnShutdown() override;
    void PlaySample(int soundId) override;
    // Only Escape is handled (true), and only once the Board exists; every
    // other key returns false and goes on to the widgets.
    bool HandleDebugKey(int keyCode) override;
    // The screen mode with 3D on, not forced; the second argument is ignored.
    virtual void SwitchScreenMode3D(bool windowed, bool unused);

    // Ends the process with the exit code (a missing tutorial board), after
    // the run's orderly end, so what changed is saved. Off the main thread it
    // keeps the code, asks the main loop to end the run in order and returns.
    // Tests override it.
    virtual void ExitProcess(int exitCode);

    // A hash of every asset value the rules read: the sizes and cel columns of
    // the images they measure and the font's widths of the texts they measure.
    uint64_t RuleAssetHash();

    // The image of an id, or null when it is missing or the id is out of range.
    Image* GetImage(int imageId) const;

    Board* board = nullptr;
    Font* gameFont = nullptr;
    std::array<Image*, IMAGE_COUNT> images{};
    // Set when a required resource failed to load (the program then ends with
    // a non-zero exit code).
    bool loadFailed = false;

private:
    // Steps of LoadResources; false once loading has failed.
    bool LoadGameImage(int imageId);
    bool LoadGameFont();
    bool LoadGameSounds();
    void FailLoading(const std::string& message);
};

} // namespace Lumo
