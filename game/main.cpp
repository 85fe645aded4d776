// The program's entry: create the game, start it up, run it, tear it down.
// The exit status is non-zero when start-up or resource loading failed.
#include "game/GameApp.h"

int main()
{
    // (No instance handle to keep on this platform.)
    auto* app = new Lumo::GameApp();
    app->Init();
    const bool initFailed = app->mShutdown || app->mShutdownRequested;
    app->mStartupTest3D = true;
    app->Start();
    const bool failed = initFailed || app->loadFailed;
    delete app;
    return failed ? 1 : 0;
}
