// Re-records the end-to-end demos: plays each scenario with the real game and
// the program's own demo recording (-record), and writes beside each demo the
// values its replay must reach.
//
//   tumbrix_demo_recorder [--frames <folder>] <output folder> [scenario ...]
//
// With --frames the captured screens are also written there as PNG files, to
// look at.
// Run it from the build's bin folder (the game's assets), headless
// (LUMO_HEADLESS=1), or through the build target record_tumbrix_demos. It plays
// in a scratch working folder that holds links to the assets, so no save file
// of an earlier run changes the recording. Besides "<scenario>.dmo" and
// "<scenario>.expect" it writes "menus_otherdata.dmo", the menus demo marked
// as recorded with other game data.
#include "DemoBots.h"
#include "DemoExpectations.h"
#include "GameRun.h"

#include "app/DemoFile.h"
#include "platform/Environment.h"
#include "resources/ImageLib.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace Lumo;

namespace {

// A working folder with links to the assets of `assets`; removed at the end.
class ScratchWorkFolder
{
public:
    explicit ScratchWorkFolder(const fs::path& assets)
    {
        mOld = fs::current_path();
        mPath = fs::temp_directory_path() / ("tumbrix_record_" + std::to_string(Platform::GetProcessId()));
        fs::remove_all(mPath);
        fs::create_directories(mPath);
        for (const char* name : {"images", "sound", "demo_board"})
            if (fs::exists(assets / name))
                fs::create_symlink(assets / name, mPath / name);
        fs::current_path(mPath);
    }
    ~ScratchWorkFolder()
    {
        fs::current_path(mOld);
        std::error_code ignored;
        fs::remove_all(mPath, ignored);
    }
    // A fresh start: no save file, in the working folder (an old one would be
    // taken over) or in the data folder. The scenarios then play one after
    // the other, each finding the save file of the ones before.
    void Clean()
    {
        fs::remove(mPath / "tumbrix.dat");
        fs::remove(fs::path(Platform::GetUserDataFolder("Tumbrix")) / "tumbrix.dat");
    }

private:
    fs::path mOld;
    fs::path mPath;
};

bool Record(const std::string& name, const fs::path& out)
{
    const std::string demoPath = (out / (name + ".dmo")).string();
    E2e::DemoExpectations expect;
    std::string error;
    {
        E2e::GameRun run({"-record", "-demofile=" + demoPath});
        if (!E2e::PlayScenario(name, run, expect, error))
        {
            std::fprintf(stderr, "%s: %s\n", name.c_str(), error.c_str());
            return false;
        }
        auto captures = expect.captures;
        expect = E2e::DemoExpectations::FromBoard(*run.GetBoard());
        expect.captures = captures;
        expect.values["updates"] = run.Updates();
    } // the demo is written when the application goes
    if (!expect.Save((out / (name + ".expect")).string()))
    {
        std::fprintf(stderr, "%s: cannot write the expectations\n", name.c_str());
        return false;
    }
    std::printf("%s: %d updates\n", name.c_str(), static_cast<int>(expect.values["updates"]));
    return true;
}

// The menus demo as if recorded with other game data.
bool WriteOtherDataDemo(const fs::path& out)
{
    DemoFile demo;
    std::string error;
    if (!demo.Load((out / "menus.dmo").string(), error))
    {
        std::fprintf(stderr, "menus.dmo: %s\n", error.c_str());
        return false;
    }
    demo.assetHash ^= 0x5A5A5A5A5A5A5A5AULL;
    return demo.Save((out / "menus_otherdata.dmo").string());
}

} // namespace

// Writes each capture's frame as "<folder>/<name>.png".
void WriteFramesTo(const fs::path& folder)
{
    fs::create_directories(folder);
    E2e::SetCaptureHook([folder](const std::string& name, E2e::GameRun& run) {
        const std::vector<uint32_t> frame = run.Frame();
        ImageLib::Image image;
        if (frame.empty() || !image.Allocate(run.App().mWidth, run.App().mHeight))
            return;
        for (size_t i = 0; i < frame.size(); ++i)
            image.GetBits()[i] = frame[i] | 0xFF000000u;
        if (!ImageLib::WritePng((folder / (name + ".png")).string(), image))
            std::fprintf(stderr, "cannot write the frame %s\n", name.c_str());
    });
}

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() >= 2 && args[0] == "--frames")
    {
        WriteFramesTo(fs::absolute(args[1]));
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.empty())
    {
        std::fprintf(stderr, "usage: %s [--frames <folder>] <output folder> [scenario ...]\n", argv[0]);
        return 2;
    }
    const fs::path out = fs::absolute(args[0]);
    fs::create_directories(out);
    std::vector<std::string> names(args.begin() + 1, args.end());
    if (names.empty())
        names = E2e::ScenarioNames();
    ScratchWorkFolder folder(fs::current_path());
    folder.Clean();
    for (const std::string& name : names)
    {
        if (!Record(name, out))
            return 1;
        if (name == "menus" && !WriteOtherDataDemo(out))
            return 1;
    }
    return 0;
}
