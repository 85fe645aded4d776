#include "app/pak/PakFile.h"
#include "app/pak/PakFormat.h"
#include "app/pak/PakInterface.h"
#include "app/pak/PakWriter.h"
#include "platform/DebugOutput.h"
#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace Lumo {
namespace {

namespace fs = std::filesystem;

class PakTest : public testing::Test
{
protected:
    void SetUp() override
    {
        mRoot = fs::path(testing::TempDir()) / ("lumo_pak_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(mRoot);
        fs::create_directories(mRoot / "assets" / "images");
        fs::create_directories(mRoot / "assets" / "sound");
        for (int i = 0; i < 1000; ++i)
            mTiles.push_back(static_cast<uint8_t>(i * 7));
        Write("assets/images/Tiles.png", mTiles);
        Write("assets/sound/a.wav", {'R', 'I', 'F', 'F'});
        Write("assets/empty.txt", {});
        Platform::ClearDebugOutput();
    }

    void TearDown() override
    {
        SetSharedPakInterface(nullptr);
        fs::remove_all(mRoot);
    }

    void Write(const std::string& name, const std::vector<uint8_t>& bytes)
    {
        std::ofstream out(mRoot / name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    std::string PathOf(const std::string& name) const { return (mRoot / name).string(); }

    // A valid pack image of three non-empty files.
    static std::vector<uint8_t> SmallPack()
    {
        std::vector<uint8_t> image;
        std::string error;
        EXPECT_TRUE(MakePakImage({{"a", {1, 2, 3}}, {"dir/B", {4, 5}}, {"c", {6}}}, image, error));
        return image;
    }

    // AddPakFile on the bytes must fail with exactly one "PAK: " line.
    void ExpectRefused(const std::vector<uint8_t>& bytes, const std::string& label)
    {
        Write("bad.pak", bytes);
        Platform::ClearDebugOutput();
        PakInterface pak;
        EXPECT_FALSE(pak.AddPakFile(PathOf("bad.pak"))) << label;
        EXPECT_EQ(pak.GetPakEntryCount(), 0u) << label;
        const auto lines = Platform::GetDebugOutputLines();
        ASSERT_EQ(lines.size(), 1u) << label;
        EXPECT_EQ(lines[0].rfind("PAK: ", 0), 0u) << lines[0];
    }

    fs::path mRoot;
    std::vector<uint8_t> mTiles;
};

// Runs one sequence of operations through the wrappers and records every result.
std::vector<long> Exercise(PFILE* file)
{
    std::vector<long> results;
    uint8_t bytes[4096] = {};
    results.push_back(static_cast<long>(PakFileRead(bytes, 1, 10, file)));
    results.push_back(bytes[3]);
    results.push_back(PakFileTell(file));
    results.push_back(PakFileGetChar(file));
    results.push_back(PakFileSeek(file, -5, SEEK_CUR));
    results.push_back(PakFileTell(file));
    results.push_back(PakFileAtEnd(file) != 0);
    results.push_back(PakFileSeek(file, 0, SEEK_END));
    results.push_back(PakFileTell(file));
    results.push_back(PakFileAtEnd(file) != 0);
    results.push_back(PakFileGetChar(file));
    results.push_back(PakFileAtEnd(file) != 0);
    results.push_back(PakFileSeek(file, 3, SEEK_SET));
    results.push_back(PakFileAtEnd(file) != 0);
    results.push_back(static_cast<long>(PakFileRead(bytes, 7, 1000, file)));
    results.push_back(bytes[0] + bytes[100] * 256);
    results.push_back(PakFileTell(file));
    results.push_back(PakFileAtEnd(file) != 0);
    results.push_back(PakFileSeek(file, 100, SEEK_END));
    results.push_back(PakFileTell(file));
    results.push_back(static_cast<long>(PakFileRead(bytes, 1, 1, file)));
    results.push_back(PakFileSeek(file, -1, SEEK_SET));
    results.push_back(PakFileTell(file));
    results.push_back(PakFileSeek(file, 2, SEEK_SET));
    results.push_back(static_cast<long>(PakFileRead(bytes, 2, 1, file)));
    return results;
}

TEST(PakFormat, NamesIgnoreCaseAndSeparators)
{
    EXPECT_EQ(NormalizePakName("./Images\\Tiles.PNG"), "images/tiles.png");
    EXPECT_EQ(NormalizePakName("images//fonts/../Tiles.png"), "images/tiles.png");
    EXPECT_EQ(NormalizePakName("/a/./b/"), "a/b");
    EXPECT_EQ(NormalizePakName("../a"), "../a");
}

TEST_F(PakTest, FileInPackReadsLikeFileOnDisk)
{
    std::string error;
    ASSERT_TRUE(BuildPak(PathOf("main.pak"), {PathOf("assets")}, error)) << error;
    PakInterface pak;
    ASSERT_TRUE(pak.AddPakFile(PathOf("main.pak")));
    EXPECT_EQ(pak.GetPakEntryCount(), 3u);
    EXPECT_TRUE(pak.HasPakEntry(".\\IMAGES\\tiles.png"));
    SetSharedPakInterface(&pak);
    ASSERT_EQ(GetSharedPakInterface(), &pak);

    for (const char* name : {"images/Tiles.png", "sound/a.wav", "empty.txt"})
    {
        PFILE* packed = PakFileOpen(name, "rb");
        PFILE* disk = PakFileOpen(PathOf(std::string("assets/") + name), "rb");
        ASSERT_NE(packed, nullptr) << name;
        ASSERT_NE(disk, nullptr) << name;
        EXPECT_EQ(packed->pack != nullptr, true);
        EXPECT_EQ(disk->disk != nullptr, true);
        EXPECT_EQ(Exercise(packed), Exercise(disk)) << name;
        EXPECT_EQ(PakFileClose(packed), 0);
        EXPECT_EQ(PakFileClose(disk), 0);
    }

    // Names ignore case and separators; the handle outlives the registration.
    PFILE* tiles = PakFileOpen("IMAGES\\TILES.PNG", "r");
    ASSERT_NE(tiles, nullptr);
    SetSharedPakInterface(nullptr);
    EXPECT_EQ(PakFileOpen("empty.txt", "rb"), nullptr); // only in the pack, not on disk here
    std::vector<uint8_t> back(mTiles.size());
    EXPECT_EQ(PakFileRead(back.data(), 1, back.size(), tiles), mTiles.size());
    EXPECT_EQ(back, mTiles);
    EXPECT_EQ(PakFileClose(tiles), 0);
}

TEST_F(PakTest, LaterPackHidesEarlierAndWritesGoToDisk)
{
    std::string error;
    std::vector<uint8_t> first;
    std::vector<uint8_t> second;
    ASSERT_TRUE(MakePakImage({{"x.txt", {'1'}}, {"y.txt", {'y'}}}, first, error));
    ASSERT_TRUE(MakePakImage({{"X.TXT", {'2'}}}, second, error));
    Write("first.pak", first);
    Write("second.pak", second);
    PakInterface pak;
    ASSERT_TRUE(pak.AddPakFile(PathOf("first.pak")));
    ASSERT_TRUE(pak.AddPakFile(PathOf("second.pak")));
    PFILE* file = pak.FOpen("x.txt", "rb");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(pak.FGetC(file), '2');
    pak.FClose(file);

    PFILE* written = pak.FOpen(PathOf("y.txt"), "wb");
    ASSERT_NE(written, nullptr);
    EXPECT_NE(written->disk, nullptr);
    pak.FClose(written);
    EXPECT_TRUE(fs::exists(mRoot / "y.txt"));
}

TEST_F(PakTest, BuildPakSkipsItsOwnOutput)
{
    std::string error;
    const std::string output = PathOf("assets/main.pak");
    ASSERT_TRUE(BuildPak(output, {PathOf("assets")}, error)) << error;
    ASSERT_TRUE(BuildPak(output, {PathOf("assets")}, error)) << error; // now inside the folder
    PakInterface pak;
    ASSERT_TRUE(pak.AddPakFile(output));
    EXPECT_EQ(pak.GetPakEntryCount(), 3u);
    EXPECT_FALSE(pak.HasPakEntry("main.pak"));
}

TEST_F(PakTest, RelativeFoldersKeepTheirPathInTheNames)
{
    const fs::path before = fs::current_path();
    fs::current_path(mRoot / "assets");
    std::string error;
    const bool packedFolders = BuildPak("folders.pak", {"images", "sound/"}, error);
    const bool packedHere = BuildPak(PathOf("here.pak"), {"."}, error);
    const bool packedAbove = BuildPak(PathOf("above.pak"), {"../assets/images"}, error);
    fs::current_path(before);
    ASSERT_TRUE(packedFolders && packedHere && packedAbove) << error;

    PakInterface folders;
    ASSERT_TRUE(folders.AddPakFile(PathOf("assets/folders.pak")));
    EXPECT_EQ(folders.GetPakEntryCount(), 2u);
    EXPECT_TRUE(folders.HasPakEntry("images/tiles.png"));
    EXPECT_TRUE(folders.HasPakEntry("sound/a.wav"));

    PakInterface here; // "." stands for the working folder's contents
    ASSERT_TRUE(here.AddPakFile(PathOf("here.pak")));
    EXPECT_TRUE(here.HasPakEntry("images/tiles.png"));
    EXPECT_TRUE(here.HasPakEntry("empty.txt"));

    PakInterface above; // a folder reached through ".." stands for its contents
    ASSERT_TRUE(above.AddPakFile(PathOf("above.pak")));
    EXPECT_EQ(above.GetPakEntryCount(), 1u);
    EXPECT_TRUE(above.HasPakEntry("tiles.png"));
}

TEST_F(PakTest, BuildPakRefusesNamesThatMatch)
{
    Write("assets/images/tiles.PNG", {1});
    std::string error;
    EXPECT_FALSE(BuildPak(PathOf("main.pak"), {PathOf("assets")}, error));
    EXPECT_NE(error.find("ignore case"), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(mRoot / "main.pak"));
    EXPECT_FALSE(BuildPak(PathOf("main.pak"), {PathOf("missing")}, error));
}

TEST_F(PakTest, CorruptPacksAreRefused)
{
    const std::vector<uint8_t> good = SmallPack();
    for (size_t length = 0; length < good.size(); ++length)
        ExpectRefused(std::vector<uint8_t>(good.begin(), good.begin() + static_cast<long>(length)),
                      "truncated to " + std::to_string(length));

    auto patched = [&](size_t at, std::vector<uint8_t> bytes) {
        std::vector<uint8_t> copy = good;
        std::copy(bytes.begin(), bytes.end(), copy.begin() + static_cast<long>(at));
        return copy;
    };
    ExpectRefused(patched(0, {'L', 'P', 'A', 'X'}), "bad magic");
    ExpectRefused(patched(4, {2}), "version");
    ExpectRefused(patched(8, {0xFF, 0xFF, 0xFF, 0xFF}), "huge count");
    ExpectRefused(patched(12, {0, 0}), "empty name");
    ExpectRefused(patched(12, {0xFF, 0xFF}), "long name");
    ExpectRefused(patched(15, {0xF0, 0xFF, 0xFF, 0xFF}), "offset past the end");
    ExpectRefused(patched(19, {0xFF, 0xFF, 0xFF, 0xFF}), "size past the end");
    ExpectRefused(patched(15, {0, 0, 0, 0}), "overlaps the directory");
    ExpectRefused(patched(14, {'c'}), "duplicate name");
    ExpectRefused(patched(14, {0}), "NUL in name");

    PakInterface pak;
    EXPECT_FALSE(pak.AddPakFile(PathOf("no-such.pak")));
}

TEST_F(PakTest, RefusedPackKeepsWhatWasThere)
{
    Write("good.pak", SmallPack());
    Write("bad.pak", {'L', 'P', 'A', 'K', 1, 0, 0, 0, 1});
    Write("empty.pak", {'L', 'P', 'A', 'K', 1, 0, 0, 0, 0, 0, 0, 0});
    PakInterface pak;
    ASSERT_TRUE(pak.AddPakFile(PathOf("good.pak")));
    EXPECT_FALSE(pak.AddPakFile(PathOf("bad.pak")));
    EXPECT_TRUE(pak.AddPakFile(PathOf("empty.pak")));
    EXPECT_EQ(pak.GetPakEntryCount(), 3u);
    EXPECT_TRUE(pak.HasPakEntry("DIR\\b"));
}

} // namespace
} // namespace Lumo
