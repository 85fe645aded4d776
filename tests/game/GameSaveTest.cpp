// The save file "tumbrix.dat": golden bytes, round trip, defaults, short,
// long and unreadable files.
#include "GameTestSupport.h"

#include "game/GameDataFile.h"

namespace Lumo::GameTest {
namespace {

std::vector<uint8_t> ReadSaveFile()
{
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(Platform::ReadWholeFile(Board::kSaveFileName, bytes));
    return bytes;
}

void WriteSaveFile(const std::vector<uint8_t>& bytes)
{
    ASSERT_TRUE(Platform::WriteFileAtomically(Board::kSaveFileName, bytes.data(), bytes.size()));
}

TEST_F(BoardTest, AFreshInstallationHasDefaultsAndLeavesTheVolumesAlone)
{
    EXPECT_TRUE(board->eveningFlag);
    EXPECT_STREQ(board->getText(TEXT_SCENERY), "Evening");
    EXPECT_DOUBLE_EQ(board->musicVolume, 300.0);
    EXPECT_DOUBLE_EQ(board->soundVolume, 300.0);
    for (int i = 0; i < MODE_COUNT; ++i)
        EXPECT_EQ(board->highScores[i], 0);
    for (int i = 0; i < STAT_COUNT; ++i)
        EXPECT_EQ(board->stats[i][1], 0);
    app->SetMusicVolume(0.25);
    Board another(app);
    EXPECT_DOUBLE_EQ(app->GetMusicVolume(), 0.25); // no file: the volumes are not applied
}

TEST_F(BoardTest, TheSaveFileHasItsGoldenBytesAndReadsBack)
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
}

TEST_F(BoardTest, ShortLongAndOutOfRangeFilesKeepWhatIsWhole)
{
    // Scenery night, the reserved byte set, music 100, and two bytes of the
    // sound volume: the sound volume keeps its default.
    WriteSaveFile({0x00, 0x07, 0x64, 0x00, 0x00, 0x00, 0x10, 0x00});
    Board shortFile(app);
    EXPECT_FALSE(shortFile.eveningFlag);
    EXPECT_DOUBLE_EQ(shortFile.musicVolume, 100.0);
    EXPECT_DOUBLE_EQ(shortFile.soundVolume, 300.0);
    EXPECT_EQ(shortFile.highScores[0], 0);
    shortFile.saveGameData();
    const std::vector<uint8_t> written = ReadSaveFile();
    ASSERT_EQ(written.size(), GameDataFile::kSize);
    EXPECT_EQ(written[1], 0); // the reserved byte is always written 0

    std::vector<uint8_t> bytes(50, 0);
    bytes[0] = 1;
    bytes[2] = 0xE8; // music 1000: clamped to 300
    bytes[3] = 0x03;
    bytes[6] = 0xFF; // sound -1: clamped to 0
    bytes[7] = bytes[8] = bytes[9] = 0xFF;
    bytes[10] = 42;
    bytes[45] = 0x55; // past the 42nd byte: ignored
    WriteSaveFile(bytes);
    const GameData data = GameDataFile::Read(bytes.data(), bytes.size());
    EXPECT_EQ(data.musicVolume, 300);
    EXPECT_EQ(data.soundVolume, 0);
    Board clamped(app);
    EXPECT_DOUBLE_EQ(clamped.musicVolume, 300.0);
    EXPECT_DOUBLE_EQ(clamped.soundVolume, 0.0);
    EXPECT_EQ(clamped.highScores[0], 42);
}

TEST_F(BoardTest, TheTutorialCountsBlobsButNotGames)
{
    board->tutorial = true;
    board->mode = MODE_CASUAL;
    board->newGame(); // no board file: the process would end here; the test goes on
    EXPECT_EQ(board->stats[STAT_GAMES_PLAYED][1], 0);
    board->tutorial = false;
    board->newGame();
    EXPECT_EQ(board->stats[STAT_GAMES_PLAYED][1], 1);
}

} // namespace
} // namespace Lumo::GameTest
