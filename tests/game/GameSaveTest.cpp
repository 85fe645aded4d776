// The save file "tumbrix.dat": golden bytes and round trip; where it lives (the
// data folder, an old working-folder file taken over once); what keeps the
// player's records (every way out, the tutorial leaving them alone); damaged
// files set aside, links written through, leftovers of killed writes removed.
#include "GameTestSupport.h"

#include "app/Buffer.h"
#include "app/Common.h"
#include "game/GameDataFile.h"
#include "platform/DebugOutput.h"
#include "platform/DisplayLoss.h"
#include "platform/StopSignal.h"

#include <chrono>
#include <csignal>
#include <fstream>
#include <functional>
#include <map>

namespace Lumo::GameTest {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> ReadFile(const fs::path& path)
{
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(Platform::ReadWholeFile(path.string(), bytes)) << path;
    return bytes;
}

std::vector<uint8_t> ReadSaveFile()
{
    return ReadFile(Board::kSaveFileName);
}

void WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes)
{
    ASSERT_TRUE(Platform::WriteFileAtomically(path.string(), bytes.data(), bytes.size()));
}

std::vector<uint8_t> SaveImage(const GameData& data)
{
    Buffer buffer;
    GameDataFile::Write(data, buffer);
    return std::vector<uint8_t>(buffer.GetDataPtr(), buffer.GetDataPtr() + buffer.GetDataLen());
}

// Records that differ from the defaults in every field.
GameData SomeRecords()
{
    GameData data;
    data.dayScenery = false;
    data.musicVolume = 120;
    data.soundVolume = 90;
    data.highScores = {100, 0, 300, 400, 500};
    data.keptStats = {7, 2, 0, 0, 0, 0};
    return data;
}

// The records a Board holds (what it would save outside a game).
GameData RecordsOf(const Board& board)
{
    GameData data;
    data.dayScenery = board.eveningFlag;
    data.musicVolume = static_cast<int32_t>(board.musicVolume);
    data.soundVolume = static_cast<int32_t>(board.soundVolume);
    data.highScores = board.highScores;
    for (int i = 0; i < STAT_COUNT; ++i)
        data.keptStats[i] = board.stats[i][1];
    return data;
}

// Every entry of a folder with its contents ("<dir>" for folders).
std::map<std::string, std::string> Listing(const fs::path& folder)
{
    std::map<std::string, std::string> entries;
    for (const auto& entry : fs::directory_iterator(folder))
    {
        const std::string name = entry.path().filename().string();
        if (entry.is_directory())
        {
            entries[name] = "<dir>";
            continue;
        }
        std::ifstream in(entry.path(), std::ios::binary);
        entries[name] = std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return entries;
}

bool NoticeSays(const std::string& text)
{
    for (const std::string& line : Platform::GetDebugOutputLines())
        if (line.find(text) != std::string::npos)
            return true;
    return false;
}

// The data folder for the length of a test.
class DataFolder
{
public:
    explicit DataFolder(const fs::path& folder) : mPath(folder)
    {
        fs::create_directories(folder);
        SetDataFolder(folder.string());
    }
    ~DataFolder() { SetDataFolder(""); }
    fs::path SaveFile() const { return mPath / Board::kSaveFileName; }

private:
    fs::path mPath;
};

// A game application whose Shutdown is the framework's own, so every way out
// runs the game's shutdown hook.
class ShutdownApp : public TestGameApp
{
public:
    void Shutdown() override { GameApp::Shutdown(); }
};

class SaveTest : public BoardTest
{
protected:
    // From construction to the main menu with its texts fully shown.
    void ReachMainMenu()
    {
        for (int i = 0; i < 400 && !(board->state == STATE_MENUS && board->menuTextAlpha == 255); ++i)
            Ticks(1);
        ASSERT_EQ(board->state, STATE_MENUS);
        ASSERT_EQ(board->menuTextAlpha, 255);
    }
    // "Quit" in the main menu, through its fade.
    void QuitFromTheMainMenu()
    {
        ReachMainMenu();
        ClickMenu(512, MainItemY(6));
        Ticks(32);
        EXPECT_EQ(board->state, STATE_QUIT);
    }
    // A new game of the mode with one chain of three played and counted up.
    void PlayOneChain(int mode, int chapter = -1)
    {
        StartGame(mode, chapter);
        SetRows(Rows({"0001234"}));
        Chain({{0, 11}, {1, 11}, {2, 11}});
        Ticks(200);
    }
};

TEST_F(SaveTest, AFreshInstallationHasDefaultsAndItsSlidersShowTheVolumesThatPlay)
{
    EXPECT_TRUE(board->eveningFlag);
    EXPECT_STREQ(board->getText(TEXT_SCENERY), "Evening");
    for (int i = 0; i < MODE_COUNT; ++i)
        EXPECT_EQ(board->highScores[i], 0);
    for (int i = 0; i < STAT_COUNT; ++i)
        EXPECT_EQ(board->stats[i][1], 0);
    // No save file: the volumes stay the settings', and the sliders show them.
    app->SetMusicVolume(0.06);
    app->SetSfxVolume(0.5);
    Board another(app);
    EXPECT_DOUBLE_EQ(app->GetMusicVolume(), 0.06);
    EXPECT_DOUBLE_EQ(another.musicVolume, 18.0);
    EXPECT_DOUBLE_EQ(another.soundVolume, 150.0);
    EXPECT_FALSE(Platform::FileExists(Board::kSaveFileName)); // nothing to save yet
    another.saveChangedGameData();
    EXPECT_FALSE(Platform::FileExists(Board::kSaveFileName));
}

TEST_F(SaveTest, TheSaveFileHasItsGoldenBytesAndReadsBack)
{
    board->eveningFlag = true;
    board->musicVolume = 150.7; // saved as 150
    board->soundVolume = 300.0;
    board->highScores = {1, 2, 3, 70000, -5};
    const int16_t kept[6] = {10, 200, 3, 12, 4, 32767};
    for (int i = 0; i < STAT_COUNT; ++i)
        board->stats[i] = {99, kept[i]}; // this game's values are not saved
    board->saveGameData();
    const std::vector<uint8_t> golden = {
        0x01, 0x00,                                                  // scenery, reserved
        0x96, 0x00, 0x00, 0x00, 0x2C, 0x01, 0x00, 0x00,              // volumes 150, 300
        0x01, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00,
        0x70, 0x11, 0x01, 0x00, 0xFB, 0xFF, 0xFF, 0xFF,              // high scores
        0x0A, 0x00, 0xC8, 0x00, 0x03, 0x00, 0x0C, 0x00, 0x04, 0x00, 0xFF, 0x7F}; // kept statistics
    EXPECT_EQ(ReadSaveFile(), golden);

    Board again(app);
    EXPECT_TRUE(again.eveningFlag);
    EXPECT_DOUBLE_EQ(again.musicVolume, 150.0);
    EXPECT_EQ(again.highScores, board->highScores);
    for (int i = 0; i < STAT_COUNT; ++i)
    {
        EXPECT_EQ(again.stats[i][1], kept[i]);
        EXPECT_EQ(again.stats[i][0], 0);
    }
    EXPECT_NEAR(app->GetMusicVolume(), 0.5, 1e-9); // applied
    EXPECT_NEAR(app->GetSfxVolume(), 1.0, 1e-9);

    // Out-of-range volumes are clamped; the reserved byte is written 0.
    std::vector<uint8_t> bytes = golden;
    bytes[1] = 7;
    bytes[2] = 0xE8; // music 1000
    bytes[3] = 0x03;
    bytes[6] = bytes[7] = bytes[8] = bytes[9] = 0xFF; // sound -1
    WriteFile(Board::kSaveFileName, bytes);
    Board clamped(app);
    EXPECT_DOUBLE_EQ(clamped.musicVolume, 300.0);
    EXPECT_DOUBLE_EQ(clamped.soundVolume, 0.0);
    clamped.saveGameData();
    EXPECT_EQ(ReadSaveFile()[1], 0);
}

TEST_F(SaveTest, StoryToTheEndingThenQuitFromTheMainMenuKeepsTheRecords)
{
    // The last chapter, with the points of the four before it.
    PlayOneChain(MODE_STORY, 4);
    board->totalScore += 5000;
    board->glassFill = 318;
    SetRows(Rows({"1112340"}));
    Chain({{0, 11}, {1, 11}, {2, 11}});
    ASSERT_TRUE(board->chapterComplete);
    for (int i = 0; i < 2000 && !(board->bannerY >= 384 && board->bannerSpeed == 0); ++i)
        Ticks(1);
    ClickAt(3, 15);
    Ticks(32);
    ASSERT_EQ(board->state, STATE_STORY_ENDING);
    EXPECT_EQ(board->score, 0); // every point is in the total
    const int storyScore = board->totalScore;
    EXPECT_GT(storyScore, 5000);
    EXPECT_EQ(board->highScores[MODE_STORY], storyScore);
    Ticks(100);
    board->MouseDown(10, 10, 1);
    board->MouseUp(10, 10, 1);
    Ticks(32);
    ASSERT_EQ(board->state, STATE_MENUS);
    const GameData played = RecordsOf(*board);
    EXPECT_EQ(played.keptStats[STAT_GAMES_PLAYED], 1);
    EXPECT_EQ(played.keptStats[STAT_BLOBS_CLEARED], 6);
    EXPECT_EQ(played.keptStats[STAT_CHAINS_MADE], 2);
    QuitFromTheMainMenu();
    EXPECT_EQ(app->shutdownCalls, 1);

    Board restarted(app);
    EXPECT_EQ(restarted.highScores[MODE_STORY], storyScore);
    EXPECT_EQ(RecordsOf(restarted), played);
}

TEST_F(SaveTest, QuitFromTheMainMenuSavesOptionsLeftWithTheRightButton)
{
    ReachMainMenu();
    ClickMenu(512, MainItemY(3)); // "Options"
    ASSERT_EQ(board->currentMenu, MENU_OPTIONS);
    board->eveningFlag = false;
    board->MouseDown(0, 0, -1); // back without "Back"
    board->MouseUp(0, 0, -1);
    EXPECT_FALSE(Platform::FileExists(Board::kSaveFileName));
    QuitFromTheMainMenu();
    Board restarted(app);
    EXPECT_FALSE(restarted.eveningFlag);
}

TEST_F(SaveTest, TheTutorialLeavesTheRecordsAsTheyWere)
{
    const std::vector<uint8_t> records = SaveImage(SomeRecords());
    WriteFile(Board::kSaveFileName, records);
    WriteTutorialBoard();
    delete app;
    app = new TestGameApp();
    board = app->MakeBoard();
    ReachMainMenu();
    ClickMenu(512, MainItemY(2)); // "Tutorial"
    Ticks(32);
    ASSERT_TRUE(board->tutorial);
    const auto& script = Board::tutorialScript();
    for (int page = 0; page < Board::kTutorialPages; ++page)
    {
        for (int i = 0; i < 3000 && !(script[board->scriptPos] == -1 && board->menuTextAlpha == 255); ++i)
            Ticks(1);
        board->MouseDown(900, 700, 1);
        Ticks(1);
        board->MouseUp(900, 700, 1);
    }
    Ticks(32);
    ASSERT_EQ(board->state, STATE_MENUS);
    // The tutorial played its chain, and none of it counts as the player's.
    EXPECT_GE(board->stats[STAT_BLOBS_CLEARED][0], 4);
    EXPECT_GT(board->stats[STAT_BEST_CHAIN_SCORE][0], 0);
    EXPECT_EQ(RecordsOf(*board), SomeRecords());

    // Quitting and every way out leave the file as it was.
    QuitFromTheMainMenu();
    app->OnShutdown();
    EXPECT_EQ(ReadSaveFile(), records);
    Board restarted(app);
    EXPECT_EQ(RecordsOf(restarted), SomeRecords());
}

TEST_F(SaveTest, EveryWayOutOfThePlaySavesWhatChangedAndKeepsWhatWasSaved)
{
    for (const std::string wayOut : {"SIGTERM", "SIGHUP", "close button", "lost display"})
    {
        SCOPED_TRACE(wayOut);
        std::error_code ignored;
        fs::remove(Board::kSaveFileName, ignored);
        delete app;
        app = new ShutdownApp();
        board = app->MakeBoard();

        // A finished game is saved at its game over.
        PlayOneChain(MODE_CASUAL);
        board->gameOver();
        const int firstScore = board->highScores[MODE_CASUAL];
        ASSERT_GT(firstScore, 0);
        ASSERT_TRUE(fs::exists(Board::kSaveFileName));

        // The next game is cut short with points not yet counted up.
        PlayOneChain(MODE_PANIC);
        board->score = 250;
        const int panicScore = board->totalScore + board->score;
        if (wayOut == "lost display")
        {
            // What Xlib's handlers lead to when the display goes away: the
            // process saves, then ends with status 1 and a note.
            EXPECT_EXIT(Platform::EndForLostDisplay("the connection to the display was lost"),
                        testing::ExitedWithCode(1), "the connection to the display was lost");
        }
        else
        {
            if (wayOut == "close button")
            {
                Platform::InputEvent close;
                close.type = Platform::EventType::Quit;
                app->QueueInput(close);
            }
            else
            {
                const int signalNumber = wayOut == "SIGTERM" ? SIGTERM : SIGHUP;
                std::signal(signalNumber, SIG_DFL); // not ignored, whatever started the tests
                Platform::InstallStopSignalHandlers();
                std::raise(signalNumber);
            }
            EXPECT_FALSE(app->RunOnePass());
            Platform::ClearStopSignal();
            EXPECT_TRUE(app->mShutdown);
        }

        Board restarted(app);
        EXPECT_EQ(restarted.highScores[MODE_CASUAL], firstScore);
        EXPECT_EQ(restarted.highScores[MODE_PANIC], panicScore);
        EXPECT_EQ(restarted.stats[STAT_GAMES_PLAYED][1], 2);
        EXPECT_EQ(restarted.stats[STAT_BLOBS_CLEARED][1], 6);
    }
}

TEST_F(SaveTest, TheSaveGoesToTheDataFolderAndAnOldWorkingFolderFileIsTakenOverOnce)
{
    const DataFolder data(folder.Path() / "data");
    // A fresh start writes only into the data folder.
    {
        Board fresh(app);
        board = &fresh;
        PlayOneChain(MODE_CASUAL);
        board->gameOver();
        board = app->board;
    }
    EXPECT_TRUE(fs::exists(data.SaveFile()));
    EXPECT_FALSE(fs::exists(Board::kSaveFileName));
    fs::remove(data.SaveFile());

    // An earlier version's file in the working folder is read and its records
    // are written into the data folder at once; the old file stays.
    GameData old = SomeRecords();
    WriteFile(Board::kSaveFileName, SaveImage(old));
    Platform::ClearDebugOutput();
    {
        Board takeOver(app);
        EXPECT_EQ(RecordsOf(takeOver), old);
    }
    EXPECT_EQ(ReadFile(data.SaveFile()), SaveImage(old));
    EXPECT_EQ(ReadSaveFile(), SaveImage(old));
    EXPECT_TRUE(NoticeSays("from now on"));

    // From then on the data folder's file is the one.
    GameData newer = old;
    newer.highScores[MODE_CASUAL] = 999;
    WriteFile(data.SaveFile(), SaveImage(newer));
    Board later(app);
    EXPECT_EQ(RecordsOf(later), newer);
    EXPECT_EQ(ReadSaveFile(), SaveImage(old));
}

TEST_F(SaveTest, AReadOnlyWorkingFolderIsLeftAsItWas)
{
    const DataFolder data(folder.Path() / "data");
    WriteFile(Board::kSaveFileName, SaveImage(SomeRecords()));
    const auto before = Listing(folder.Path());
    fs::permissions(folder.Path(), fs::perms::owner_read | fs::perms::owner_exec);
    if (std::ofstream("probe"))
    {
        fs::permissions(folder.Path(), fs::perms::owner_all);
        GTEST_SKIP() << "read-only folders are writable for this user (root)";
    }
    {
        Board session(app);
        board = &session;
        PlayOneChain(MODE_TOAST);
        board->gameOver();
        board->saveChangedGameData();
        board = app->board;
    }
    fs::permissions(folder.Path(), fs::perms::owner_all);
    EXPECT_EQ(Listing(folder.Path()), before);
    Board restarted(app);
    EXPECT_GT(restarted.highScores[MODE_TOAST], 0);
    EXPECT_EQ(restarted.highScores[MODE_PANIC], SomeRecords().highScores[MODE_PANIC]);
}

TEST_F(SaveTest, AFileThatIsNoSaveFileIsMovedAsideBeforeAnythingReplacesIt)
{
    // Too short: set aside, the defaults apply (no volume of 0 from missing
    // bytes), and the next save writes a whole file.
    const std::vector<uint8_t> shortFile = {0x00, 0x07, 0x64, 0x00, 0x00, 0x00, 0x10, 0x00};
    WriteFile(Board::kSaveFileName, shortFile);
    Platform::ClearDebugOutput();
    Board first(app);
    EXPECT_TRUE(NoticeSays("tumbrix.dat.bad"));
    EXPECT_EQ(ReadFile("tumbrix.dat.bad"), shortFile);
    EXPECT_FALSE(fs::exists(Board::kSaveFileName));
    EXPECT_TRUE(first.eveningFlag);
    EXPECT_DOUBLE_EQ(first.musicVolume, std::round(app->GetMusicVolume() * 300));
    first.saveGameData();
    EXPECT_EQ(ReadSaveFile().size(), GameDataFile::kSize);
    EXPECT_EQ(ReadFile("tumbrix.dat.bad"), shortFile);

    // Huge: only its start is read; it goes beside the first one set aside,
    // which keeps its bytes, and the note names where each went.
    {
        std::ofstream huge(Board::kSaveFileName, std::ios::binary | std::ios::trunc);
        huge << "not a save file";
    }
    fs::resize_file(Board::kSaveFileName, 1ull << 30); // sparse
    Platform::ClearDebugOutput();
    Board second(app);
    EXPECT_EQ(fs::file_size("tumbrix.dat.bad.1"), 1ull << 30);
    EXPECT_EQ(ReadFile("tumbrix.dat.bad"), shortFile);
    EXPECT_TRUE(NoticeSays("tumbrix.dat is not a save file"));
    EXPECT_TRUE(NoticeSays("moved to tumbrix.dat.bad.1"));
    EXPECT_FALSE(fs::exists(Board::kSaveFileName));
    EXPECT_EQ(second.highScores[MODE_STORY], 0);
    fs::remove("tumbrix.dat.bad.1");

    // A third finds the next free name, even past a gap.
    const std::vector<uint8_t> third(43, 0x01);
    WriteFile(Board::kSaveFileName, third);
    WriteFile("tumbrix.dat.bad.2", {9});
    Board third1(app);
    EXPECT_EQ(ReadFile("tumbrix.dat.bad.1"), third);
    EXPECT_EQ(ReadFile("tumbrix.dat.bad.2"), std::vector<uint8_t>{9});
    EXPECT_EQ(ReadFile("tumbrix.dat.bad"), shortFile);
}

TEST_F(SaveTest, AnUnreadableFileIsMovedAsideWithItsBytesKept)
{
    const std::vector<uint8_t> records = SaveImage(SomeRecords());
    WriteFile(Board::kSaveFileName, records);
    fs::permissions(Board::kSaveFileName, fs::perms::none);
    if (std::ifstream(Board::kSaveFileName))
        GTEST_SKIP() << "files without read permission are readable for this user (root)";
    Board unreadable(app);
    EXPECT_EQ(RecordsOf(unreadable).highScores, GameData{}.highScores);
    EXPECT_FALSE(fs::exists(Board::kSaveFileName));
    fs::permissions("tumbrix.dat.bad", fs::perms::owner_read);
    EXPECT_EQ(ReadFile("tumbrix.dat.bad"), records);
    unreadable.saveGameData();
    EXPECT_EQ(ReadFile("tumbrix.dat.bad"), records);
}

TEST_F(SaveTest, ALinkedSaveFileIsWrittenThroughAndKilledWritesLeaveNothingBehind)
{
    fs::create_directories("records");
    WriteFile("records/mine.dat", SaveImage(SomeRecords()));
    fs::create_symlink("records/mine.dat", Board::kSaveFileName);
    // A write killed midway an hour ago, and one that may still be going on.
    const std::string dead = "records/mine.dat.tmp999999999";
    const std::string live = "records/mine.dat.tmp" + std::to_string(Platform::GetProcessId()) + "-1";
    WriteFile(dead, {1, 2, 3});
    WriteFile(live, {4, 5, 6});
    fs::last_write_time(dead, fs::file_time_type::clock::now() - std::chrono::hours(1));

    Board linked(app);
    EXPECT_EQ(RecordsOf(linked), SomeRecords());
    EXPECT_FALSE(fs::exists(dead));
    EXPECT_TRUE(fs::exists(live));
    linked.highScores[MODE_SKULL] = 4242;
    linked.saveGameData();
    EXPECT_TRUE(fs::is_symlink(Board::kSaveFileName));
    GameData expected = SomeRecords();
    expected.highScores[MODE_SKULL] = 4242;
    EXPECT_EQ(ReadFile("records/mine.dat"), SaveImage(expected));
}

// Changes an option in a session whose data folder is `where`, saves, and
// checks the note; then `mend` makes the folder writable and the next way out
// must save what changed.
void ExpectAFailedSaveToSpeakAndTheNextToSave(TestGameApp* app, const fs::path& where, const char* reason,
                                              const std::function<void()>& mend)
{
    SetDataFolder(where.string());
    {
        Board session(app);
        session.eveningFlag = !session.eveningFlag;
        Platform::ClearDebugOutput();
        session.saveGameData();
        EXPECT_TRUE(NoticeSays("GAME: the records could not be saved ("));
        EXPECT_TRUE(NoticeSays((where / Board::kSaveFileName).string())) << "the note names the file";
        EXPECT_FALSE(NoticeSays(".tmp")) << "not its temporary";
        EXPECT_TRUE(NoticeSays(reason));
        EXPECT_EQ(app->GetExitCode(), 0) << "the game goes on";

        mend();
        session.saveChangedGameData(); // what every way out does
        EXPECT_TRUE(fs::exists(where / Board::kSaveFileName));
        Board restarted(app);
        EXPECT_EQ(restarted.eveningFlag, session.eveningFlag);
    }
    SetDataFolder("");
}

// A save that cannot be written for any user: the data folder's place is
// taken by a file.
TEST_F(SaveTest, ASaveThatFailsSaysWhyAndTheNextWayOutTriesAgain)
{
    WriteFile("blocked", {0});
    ExpectAFailedSaveToSpeakAndTheNextToSave(app, folder.Path() / "blocked" / "data", "Not a directory", [] {
        fs::remove("blocked");
        fs::create_directories("blocked/data");
    });
}

// The same with a read-only data folder (for a normal user; root writes there).
TEST_F(SaveTest, ASaveIntoAReadOnlyDataFolderSaysWhy)
{
    const fs::path locked = folder.Path() / "locked";
    fs::create_directories(locked);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    if (std::ofstream(locked / "probe"))
    {
        fs::permissions(locked, fs::perms::owner_all);
        GTEST_SKIP() << "read-only folders are writable for this user (root)";
    }
    ExpectAFailedSaveToSpeakAndTheNextToSave(app, locked, "Permission denied",
                                             [&] { fs::permissions(locked, fs::perms::owner_all); });
    // Now that the file is there, what cannot be made is a new file beside it.
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    const std::string besideIt = "cannot create a file in " + locked.string() + ": Permission denied";
    ExpectAFailedSaveToSpeakAndTheNextToSave(app, locked, besideIt.c_str(),
                                             [&] { fs::permissions(locked, fs::perms::owner_all); });
    // A data folder that cannot be made there says so, not that the file's
    // folder is missing; once it can be, the save makes it.
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    ExpectAFailedSaveToSpeakAndTheNextToSave(app, locked / "Tumbrix", "Permission denied",
                                             [&] { fs::permissions(locked, fs::perms::owner_all); });
}

// A damaged file in a folder where nothing can be renamed: the first name
// fails for a reason that every name would, so it stops there and says why;
// nothing is saved over the file.
TEST_F(SaveTest, ASetAsideThatIsDeniedStopsAtOnceAndSaysWhy)
{
    const DataFolder data(folder.Path() / "locked");
    const std::vector<uint8_t> damaged = {1, 2, 3};
    WriteFile(data.SaveFile(), damaged);
    fs::permissions(folder.Path() / "locked", fs::perms::owner_read | fs::perms::owner_exec);
    if (std::ofstream(folder.Path() / "locked" / "probe"))
    {
        fs::permissions(folder.Path() / "locked", fs::perms::owner_all);
        GTEST_SKIP() << "read-only folders are writable for this user (root)";
    }
    Platform::ClearDebugOutput();
    {
        Board session(app);
        session.eveningFlag = false;
        session.saveGameData();
    }
    fs::permissions(folder.Path() / "locked", fs::perms::owner_all);
    EXPECT_TRUE(NoticeSays("cannot be moved aside (moving it to " + data.SaveFile().string() +
                           ".bad: Permission denied)"));
    EXPECT_TRUE(NoticeSays("the records are not saved: a damaged save file is in the way"));
    EXPECT_EQ(ReadFile(data.SaveFile()), damaged);
}

// The fatal exit of a damaged tutorial board ends the run in order first: an
// option changed and not yet saved is kept. It runs for real in a child.
class ExitingApp : public TestGameApp
{
public:
    void ExitProcess(int exitCode) override { GameApp::ExitProcess(exitCode); }
};

TEST_F(SaveTest, TheFatalExitOfADamagedTutorialBoardKeepsAChangedOption)
{
    GTEST_FLAG_SET(death_test_style, "fast");
    std::ofstream(Board::kDemoBoardFileName, std::ios::binary).write("\x01\x02", 2);
    delete app;
    app = new ExitingApp();
    board = app->MakeBoard();
    ReachMainMenu();
    ASSERT_TRUE(board->eveningFlag);
    ASSERT_FALSE(fs::exists(Board::kSaveFileName));
    EXPECT_EXIT(
        {
            board->eveningFlag = false;
            board->tutorial = true;
            board->mode = MODE_CASUAL;
            board->newGame();
        },
        testing::ExitedWithCode(1), "tutorial board");
    Board restarted(app);
    EXPECT_FALSE(restarted.eveningFlag);
}

} // namespace
} // namespace Lumo::GameTest
