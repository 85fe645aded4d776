// The program itself, run as a player or a script runs it: headless runs that
// repeat byte for byte whatever the loading thread's speed, fatal errors that
// reach stderr without any debug switch, a recording that cannot be written,
// and the README's pack command making a pack the game runs on.
#include "resources/ImageLib.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace Lumo {
namespace {

namespace fs = std::filesystem;

const fs::path kProgram = TUMBRIX_PROGRAM;
const fs::path kBin = kProgram.parent_path();

std::string ReadText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Quote(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

struct ProgramResult
{
    int status = -1;
    std::string err;
};

class ProgramRunTest : public testing::Test
{
protected:
    void SetUp() override
    {
        mRoot = fs::path(testing::TempDir()) /
                ("tumbrix_program_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(mRoot);
        fs::create_directories(mRoot);
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(mRoot, ignored);
    }

    // Runs the program in `folder` with only the given switches (plus
    // LUMO_HEADLESS=1 and private data and settings folders), collecting its
    // exit status and stderr.
    ProgramResult Run(const fs::path& folder, const std::string& environment, const std::string& args,
                      const fs::path& program = kProgram)
    {
        fs::create_directories(folder);
        const fs::path err = mRoot / "stderr.txt";
        const fs::path status = mRoot / "status.txt";
        const std::string command =
            "cd " + Quote(folder.string()) + " && env -u LUMO_DEBUG_OUTPUT -u LUMO_CAPTURE_DIR -u LUMO_CAPTURE_FRAMES" +
            " -u LUMO_AUDIO_CAPTURE -u LUMO_LOADING_DELAY_MS -u LUMO_MAX_UPDATES LUMO_HEADLESS=1 LUMO_AUDIO=bass" +
            " LUMO_DATA_DIR=" + Quote((mRoot / "data").string()) + " LUMO_CONFIG_DIR=" +
            Quote((mRoot / "config").string()) + " " + environment + " " + Quote(program.string()) + " " + args +
            " 2>" + Quote(err.string()) + "; echo $? >" + Quote(status.string());
        ProgramResult result;
        if (std::system(command.c_str()) != 0)
            return result;
        result.status = std::stoi(ReadText(status));
        result.err = ReadText(err);
        return result;
    }

    fs::path mRoot;
};

// The files a headless run captured: frames at a few updates, then its sound.
struct Captures
{
    std::vector<std::string> files;
};

const char* const kFrames[] = {"1.png", "40.png", "100.png", "300.png"};

TEST_F(ProgramRunTest, HeadlessRunsRepeatByteForByteWhateverTheLoadingSpeed)
{
    auto capture = [&](const std::string& name, const std::string& extra) {
        const fs::path folder = mRoot / name;
        fs::create_directories(folder);
        const std::string environment = "LUMO_MAX_UPDATES=301 LUMO_CAPTURE_FRAMES=1,40,100,300 LUMO_CAPTURE_DIR=" +
                                        Quote(folder.string()) + " LUMO_AUDIO_CAPTURE=" +
                                        Quote((folder / "sound.wav").string()) + " " + extra;
        const ProgramResult result = Run(kBin, environment, "");
        EXPECT_EQ(result.status, 0) << name << "\n" << result.err;
        Captures captures;
        for (const char* frame : kFrames)
            captures.files.push_back(ReadText(folder / frame));
        captures.files.push_back(ReadText(folder / "sound.wav"));
        return captures;
    };
    const Captures first = capture("first", "");
    const Captures warm = capture("warm", ""); // the decoded-sound cache is warm now
    fs::remove_all(mRoot / "data");
    const Captures slow = capture("slow", "LUMO_LOADING_DELAY_MS=400");

    for (size_t i = 0; i < first.files.size(); ++i)
    {
        ASSERT_FALSE(first.files[i].empty()) << "capture " << i << " missing";
        EXPECT_TRUE(first.files[i] == warm.files[i]) << "capture " << i << " differs with a warm cache";
        EXPECT_TRUE(first.files[i] == slow.files[i]) << "capture " << i << " differs with a slow loader";
    }
    EXPECT_GE(first.files.back().size(), 44u + 300 * 441 * 4) << "three seconds of sound";

    // By update 100 the game is on the screen: the frame is far from black.
    const auto frame = ImageLib::ReadImageFile((mRoot / "first" / "100.png").string(), false);
    ASSERT_NE(frame, nullptr);
    const size_t pixels = static_cast<size_t>(frame->GetWidth()) * static_cast<size_t>(frame->GetHeight());
    size_t lit = 0;
    for (size_t i = 0; i < pixels; ++i)
        lit += (frame->GetBits()[i] & 0xFFFFFFu) > 0x101010u ? 1 : 0;
    EXPECT_GT(lit, pixels / 2);
}

TEST_F(ProgramRunTest, FatalErrorsReachStderrWithoutTheDebugSwitch)
{
    ProgramResult result = Run(kBin, "", "-nosuchoption");
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("FATAL ERROR: Invalid command line parameter: -nosuchoption"), std::string::npos)
        << result.err;

    // A demo that cannot be read says why, naming the file once.
    const std::string missing = (mRoot / "missing.dmo").string();
    result = Run(kBin, "", "-play -demofile=" + Quote(missing));
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("FATAL ERROR: Could not play the demo file " + missing +
                              ": cannot read the file (No such file or directory)\n"),
              std::string::npos)
        << result.err;
    EXPECT_EQ(result.err.find(missing), result.err.rfind(missing)) << result.err;

    // A recording that cannot be written is refused before the run, not lost after it.
    result = Run(kBin, "LUMO_MAX_UPDATES=5", "-record -demofile=" + Quote((mRoot / "missing" / "x.dmo").string()));
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("cannot be written"), std::string::npos) << result.err;
    EXPECT_FALSE(fs::exists(mRoot / "missing"));

    // A recording that can be written is; the check that it can touches no
    // file of the folder, not even one or a link named like the demo's.
    const fs::path notes = mRoot / "notes.txt";
    std::ofstream(notes, std::ios::binary) << "the player's notes";
    std::ofstream(mRoot / "x.dmo.check", std::ios::binary) << "kept";
    fs::create_symlink("notes.txt", mRoot / "y.dmo.check");
    for (const char* demo : {"x.dmo", "y.dmo"})
    {
        result = Run(kBin, "LUMO_MAX_UPDATES=5", "-record -demofile=" + Quote((mRoot / demo).string()));
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_TRUE(fs::exists(mRoot / demo));
    }
    EXPECT_EQ(ReadText(mRoot / "x.dmo.check"), "kept");
    EXPECT_TRUE(fs::is_symlink(mRoot / "y.dmo.check"));
    EXPECT_EQ(ReadText(notes), "the player's notes");
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(mRoot))
        names.insert(entry.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"config", "data", "notes.txt", "status.txt", "stderr.txt", "x.dmo",
                                            "x.dmo.check", "y.dmo", "y.dmo.check"}));
}

// Error output into a pipe whose reader is gone (a terminal that closed under
// "tumbrix | tee log"): every write to it fails, and the run still ends in
// order, its demo written, instead of dying of SIGPIPE at the first line.
TEST_F(ProgramRunTest, ErrorOutputWithNoReaderLeftNeverEndsTheRun)
{
    const fs::path demo = mRoot / "run.dmo";
    const std::string broken = "perl -e 'pipe(my $r, my $w) or die; close $r; open(STDERR, \">&\", $w) or die;"
                               " exec @ARGV or die' -- ";
    const std::string command = "cd " + Quote(kBin.string()) + " && LUMO_HEADLESS=1 LUMO_DEBUG_OUTPUT=1" +
                                " LUMO_MAX_UPDATES=20 LUMO_DATA_DIR=" + Quote((mRoot / "data").string()) +
                                " LUMO_CONFIG_DIR=" + Quote((mRoot / "config").string()) + " " + broken +
                                Quote(kProgram.string()) + " -record -demofile=" + Quote(demo.string());
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 0) << "141 is a death by SIGPIPE";
    EXPECT_TRUE(fs::exists(demo));
}

// The pack command as the README gives it: "cd <bin> && ./pakbuild <args>".
std::string ReadmePackArguments()
{
    std::istringstream readme(ReadText(TUMBRIX_README));
    const std::string marker = "./pakbuild ";
    for (std::string line; std::getline(readme, line);)
        if (const size_t at = line.find(marker); at != std::string::npos)
            return line.substr(at + marker.size());
    return "";
}

TEST_F(ProgramRunTest, TheReadmesPackCommandMakesAPackTheGameRunsOn)
{
    const std::string args = ReadmePackArguments();
    ASSERT_FALSE(args.empty()) << "the README gives no pakbuild command";

    // A copy of the game's folder, run once on its folders; then packed with
    // the README's command, the folders taken away, and run again.
    const fs::path game = mRoot / "game";
    fs::create_directories(game);
    for (const char* folder : {"images", "sound"})
        fs::copy(kBin / folder, game / folder, fs::copy_options::recursive);
    fs::copy_file(kBin / "demo_board", game / "demo_board");
    const std::string environment = "LUMO_MAX_UPDATES=101 LUMO_CAPTURE_FRAMES=100 LUMO_CAPTURE_DIR=";
    const ProgramResult loose = Run(game, environment + Quote((mRoot / "loose").string()), "");

    ASSERT_EQ(Run(game, "", args, kBin / "pakbuild").status, 0);
    ASSERT_TRUE(fs::exists(game / "main.pak"));
    fs::remove_all(game / "images");
    fs::remove_all(game / "sound");
    fs::remove_all(mRoot / "data"); // no decoded sound left over from the first run
    const ProgramResult packed = Run(game, environment + Quote((mRoot / "packed").string()), "");
    EXPECT_EQ(loose.status, 0) << loose.err;
    EXPECT_EQ(packed.status, 0) << packed.err;
    const std::string frame = ReadText(mRoot / "packed" / "100.png");
    EXPECT_FALSE(frame.empty());
    EXPECT_TRUE(frame == ReadText(mRoot / "loose" / "100.png")) << "the game looks otherwise on its pack";
}

} // namespace
} // namespace Lumo
