// assetgen: writes every file the game loads into an output folder.
//
//   assetgen --out <folder> [--stamp <file>] [--pak <file>]
//
// --stamp touches a file once everything was written (for the build);
// --pak also packs the images, the font and the sound effects into a pack
// file (the songs and "demo_board" stay loose beside the game);
// --preview <prefix> writes a contact sheet of all images and mock-ups of the
// play and menu screens (<prefix>contact.png, <prefix>play_day.png, ...).
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/FileSystem.h"
#include "tools/assetgen/AssetSink.h"
#include "tools/assetgen/ContactSheet.h"
#include "tools/assetgen/Families.h"
#include "tools/assetgen/TextArt.h"

using namespace Lumo::AssetGen;

namespace {

struct Options
{
    std::string out;
    std::string stamp;
    std::string pak;
    std::string preview;
};

bool ParseOptions(int argc, char** argv, Options& options)
{
    for (int i = 1; i + 1 < argc; i += 2)
    {
        const std::string key = argv[i];
        if (key == "--out")
            options.out = argv[i + 1];
        else if (key == "--stamp")
            options.stamp = argv[i + 1];
        else if (key == "--pak")
            options.pak = argv[i + 1];
        else if (key == "--preview")
            options.preview = argv[i + 1];
        else
            return false;
    }
    return !options.out.empty() && argc % 2 == 1;
}

// Families run on a few threads, the longest first; everything that draws
// text stays on one.
void RunFamilies(AssetSink& sink)
{
    using Family = void (*)(AssetSink&);
    const std::vector<std::vector<Family>> groups = {
        {MakeGameSong},
        {MakeThemeSong},
        {MakeCharactersA},
        {MakeCharactersB},
        {MakeShortSongs, MakeSounds},
        {MakeBanners, MakeUi, MakeFont, MakeDemoBoard, MakeBlobs, MakeEffects, MakeScenery, MakeProps},
    };
    std::vector<std::thread> threads;
    std::vector<double> seconds(groups.size(), 0.0);
    for (size_t i = 0; i < groups.size(); ++i)
        threads.emplace_back([&sink, &groups, &seconds, i] {
            const auto start = std::chrono::steady_clock::now();
            for (Family family : groups[i])
                family(sink);
            seconds[i] = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        });
    for (std::thread& thread : threads)
        thread.join();
    std::printf("assetgen: thread times");
    for (double s : seconds)
        std::printf(" %.2f", s);
    std::printf(" s\n");
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!ParseOptions(argc, argv, options))
    {
        std::fprintf(stderr, "usage: assetgen --out <folder> [--stamp <file>] [--pak <file>] [--preview <prefix>]\n");
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    if (!OpenTextFaces())
        return 1;
    AssetSink sink(options.out);
    RunFamilies(sink);
    if (!options.preview.empty() && (!WriteContactSheet(options.out, options.preview + "contact.png") ||
                                     !WriteCharacterSheets(options.out, options.preview) ||
                                     !WriteZoomSheet(options.out, options.preview + "zoom.png") ||
                                     !WriteScreenMockups(options.out, options.preview)))
        std::fprintf(stderr, "assetgen: the previews could not be written\n");
    CloseTextFaces();
    if (!sink.Ok())
        return 1;
    if (!options.pak.empty() && !sink.WritePack(options.pak))
        return 1;
    if (!options.stamp.empty())
    {
        const char text[] = "assets\n";
        if (!Lumo::Platform::WriteFileAtomically(options.stamp, text, std::strlen(text)))
            return 1;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("assetgen: %d files in %.2f s\n", sink.FileCount(), seconds);
    return 0;
}
