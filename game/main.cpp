// The program's entry: create the game, start it up, run it, tear it down.
// The exit status is non-zero when start-up or resource loading failed.
#include "game/GameApp.h"

int main(int argc, char** argv)
{
    Lumo::SetCommandLineArgs(argc, argv); // read by Init, as the framework's command line
    auto* app = new Lumo::GameApp();
    app->Init();
    app->mStartupTest3D = true;
    app->Start();
    const int exitCode = app->GetExitCode() != 0 ? app->GetExitCode() : (app->loadFailed ? 1 : 0);
    delete app;
    return exitCode;
}
