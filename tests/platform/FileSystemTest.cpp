#include "platform/FileSystem.h"

#include "platform/Environment.h"

#include "tests/platform/TempFolder.h"

#include <chrono>
#include <filesystem>

namespace Lumo::Platform {
namespace {

using Testing::ReadText;
using Testing::TempFolder;
using Testing::WriteText;
namespace fs = std::filesystem;

TEST(FileSystemTest, MapPathMatchesBackslashesAndCase)
{
    TempFolder tmp;
    fs::create_directories(tmp / "Images/Tiles");
    WriteText(tmp / "Images/Tiles/Blob.PNG", "png");

    EXPECT_EQ(MapPath(tmp / "Images\\Tiles\\Blob.PNG"), tmp / "Images/Tiles/Blob.PNG");
    EXPECT_EQ(MapPath(tmp / "images\\TILES\\blob.png"), tmp / "Images/Tiles/Blob.PNG");
    EXPECT_TRUE(FileExists(tmp / "IMAGES/tiles\\BLOB.png"));
    EXPECT_TRUE(DirectoryExists(tmp / "images\\tiles\\"));
    EXPECT_FALSE(FileExists(tmp / "images\\tiles"));

    FILE* file = OpenFile(tmp / "images\\tiles\\blob.png", "rb");
    ASSERT_NE(file, nullptr);
    char text[4] = {};
    EXPECT_EQ(std::fread(text, 1, 3, file), 3u);
    std::fclose(file);
    EXPECT_STREQ(text, "png");
}

TEST(FileSystemTest, MapPathKeepsRelativePathsRelative)
{
    TempFolder tmp;
    fs::create_directories(tmp / "Sound");
    WriteText(tmp / "Sound/Blob.wav", "x");
    std::string relative = fs::relative(tmp.Path(), fs::current_path()).string();
    ASSERT_NE(relative[0], '/');
    EXPECT_EQ(MapPath(relative + "\\sound\\BLOB.WAV"), relative + "/Sound/Blob.wav");
}

TEST(FileSystemTest, NewFileGoesIntoExistingFolderOfOtherCase)
{
    TempFolder tmp;
    fs::create_directories(tmp / "Cached");
    EXPECT_EQ(MapPath(tmp / "cached\\New.dat"), tmp / "Cached/New.dat");
    // Below a missing folder everything is kept as written.
    EXPECT_EQ(MapPath(tmp / "cached\\Missing\\Deeper/x.dat"), tmp / "Cached/Missing/Deeper/x.dat");

    FILE* file = OpenFile(tmp / "CACHED\\New.dat", "wb");
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    EXPECT_TRUE(fs::is_regular_file(tmp / "Cached/New.dat"));
    EXPECT_FALSE(fs::exists(tmp / "CACHED"));
}

TEST(FileSystemTest, AtomicWriteReplacesTheFileAndLeavesNoTemporary)
{
    TempFolder tmp;
    WriteText(tmp / "save.dat", "old contents");
    const std::string text = "new";
    ASSERT_TRUE(WriteFileAtomically(tmp / "SAVE.dat", text.data(), text.size()));
    EXPECT_EQ(ReadText(tmp / "save.dat"), "new");
    ASSERT_TRUE(WriteFileAtomically(tmp / "empty.dat", nullptr, 0));
    EXPECT_EQ(ReadText(tmp / "empty.dat"), "");

    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(tmp.Path()))
        ++entries;
    EXPECT_EQ(entries, 2);
}

TEST(FileSystemTest, FailedAtomicWriteKeepsTheOldState)
{
    TempFolder tmp;
    const std::string text = "new";
    // The target is a folder: nothing changes, no temporary is left.
    fs::create_directories(tmp / "folder");
    WriteText(tmp / "folder/inside.txt", "kept");
    EXPECT_FALSE(WriteFileAtomically(tmp / "folder", text.data(), text.size()));
    EXPECT_EQ(ReadText(tmp / "folder/inside.txt"), "kept");
    EXPECT_EQ(std::distance(fs::directory_iterator(tmp.Path()), fs::directory_iterator()), 1);

    // The target's folder is missing.
    EXPECT_FALSE(WriteFileAtomically(tmp / "missing/file.txt", text.data(), text.size()));
}

TEST(FileSystemTest, AtomicWriteIntoAReadOnlyFolderFails)
{
    TempFolder tmp;
    const std::string text = "new";
    fs::create_directories(tmp / "locked");
    WriteText(tmp / "locked/save.dat", "old");
    fs::permissions(tmp / "locked", fs::perms::owner_read | fs::perms::owner_exec);
    if (std::ofstream(tmp / "locked/probe"))
        GTEST_SKIP() << "read-only folders are writable for this user (root)";
    EXPECT_FALSE(WriteFileAtomically(tmp / "locked/save.dat", text.data(), text.size()));
    EXPECT_EQ(ReadText(tmp / "locked/save.dat"), "old");
}

TEST(FileSystemTest, AtomicWriteGoesThroughASymbolicLink)
{
    TempFolder tmp;
    fs::create_directories(tmp / "real");
    WriteText(tmp / "real/records.dat", "old");
    fs::create_symlink("real/records.dat", tmp / "save.dat");
    const std::string text = "new";
    ASSERT_TRUE(WriteFileAtomically(tmp / "save.dat", text.data(), text.size()));
    EXPECT_TRUE(fs::is_symlink(tmp / "save.dat"));
    EXPECT_EQ(ReadText(tmp / "real/records.dat"), "new");

    // A link to a link, and a link whose file is missing: the file at the end
    // is written.
    fs::create_symlink(tmp / "save.dat", tmp / "again.dat");
    ASSERT_TRUE(WriteFileAtomically(tmp / "again.dat", "x", 1));
    EXPECT_TRUE(fs::is_symlink(tmp / "again.dat"));
    EXPECT_EQ(ReadText(tmp / "real/records.dat"), "x");
    fs::create_symlink("real/later.dat", tmp / "dangling.dat");
    ASSERT_TRUE(WriteFileAtomically(tmp / "dangling.dat", "y", 1));
    EXPECT_TRUE(fs::is_symlink(tmp / "dangling.dat"));
    EXPECT_EQ(ReadText(tmp / "real/later.dat"), "y");
    EXPECT_EQ(std::distance(fs::directory_iterator(tmp / "real"), fs::directory_iterator()), 2) << "no temporary";
}

TEST(FileSystemTest, OnlyTheTemporariesOfDeadWritersAreRemoved)
{
    TempFolder tmp;
    WriteText(tmp / "save.dat", "kept");
    // No process runs under an id this large (the kernel's limit is 2^22).
    const std::string dead = "999999999";
    const std::string live = std::to_string(GetProcessId());
    WriteText(tmp / ("save.dat.tmp" + dead), "half");
    WriteText(tmp / ("save.dat.tmp" + live), "being written");
    WriteText(tmp / "save.dat.tmpnotes", "not ours");
    WriteText(tmp / ("other.dat.tmp" + dead), "another file's");
    fs::create_directories(tmp / ("save.dat.tmp" + dead + "0"));

    EXPECT_EQ(RemoveStaleTemporaries(tmp / "SAVE.DAT"), 1);
    EXPECT_FALSE(fs::exists(tmp / ("save.dat.tmp" + dead)));
    EXPECT_TRUE(fs::exists(tmp / ("save.dat.tmp" + live)));
    EXPECT_TRUE(fs::exists(tmp / "save.dat.tmpnotes"));
    EXPECT_TRUE(fs::exists(tmp / ("other.dat.tmp" + dead)));
    EXPECT_EQ(ReadText(tmp / "save.dat"), "kept");
    EXPECT_EQ(RemoveStaleTemporaries(tmp / "missing-folder/save.dat"), 0);

    // Beside a link's file, where its writes leave them.
    fs::create_directories(tmp / "real");
    WriteText(tmp / "real/records.dat", "r");
    WriteText(tmp / ("real/records.dat.tmp" + dead), "half");
    fs::create_symlink("real/records.dat", tmp / "link.dat");
    EXPECT_EQ(RemoveStaleTemporaries(tmp / "link.dat"), 1);
    EXPECT_FALSE(fs::exists(tmp / ("real/records.dat.tmp" + dead)));
}

TEST(FileSystemTest, WriteTimeIsAWindowsFileTime)
{
    TempFolder tmp;
    WriteText(tmp / "a.txt", "a");
    using namespace std::chrono;
    auto when = sys_time<nanoseconds>(seconds(1000000000) + nanoseconds(1234567));
    fs::last_write_time(tmp / "a.txt", file_clock::from_sys(when));

    uint64_t fileTime = 0;
    ASSERT_TRUE(GetFileWriteTime(tmp / "A.TXT", fileTime));
    EXPECT_EQ(fileTime, (1000000000ULL + 11644473600ULL) * 10000000ULL + 12345ULL);
    EXPECT_FALSE(GetFileWriteTime(tmp / "missing.txt", fileTime));
}

TEST(FileSystemTest, ReadWholeFileAndFolders)
{
    TempFolder tmp;
    std::string binary("a\0b\xff", 4);
    WriteText(tmp / "bin.dat", binary);
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ReadWholeFile(tmp / "BIN.DAT", bytes));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), binary);
    EXPECT_FALSE(ReadWholeFile(tmp / "missing", bytes));
    EXPECT_TRUE(bytes.empty());
    EXPECT_FALSE(ReadWholeFile(tmp.Path(), bytes));

    // Only the start is read.
    WriteText(tmp / "long.dat", std::string(200000, 'z'));
    ASSERT_TRUE(ReadFileStart(tmp / "long.dat", 70000, bytes));
    EXPECT_EQ(bytes.size(), 70000u);
    ASSERT_TRUE(ReadFileStart(tmp / "bin.dat", 43, bytes));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), binary);
    EXPECT_FALSE(ReadFileStart(tmp / "missing", 43, bytes));

    EXPECT_TRUE(CreateDirectories(tmp / "One\\two/Three\\"));
    EXPECT_TRUE(DirectoryExists(tmp / "one/TWO/three"));
    EXPECT_TRUE(CreateDirectories(tmp / "ONE\\two")); // already there
    EXPECT_FALSE(CreateDirectories(tmp / "bin.dat\\sub"));

    EXPECT_TRUE(RenameFile(tmp / "bin.dat", tmp / "ONE\\moved.dat"));
    EXPECT_TRUE(FileExists(tmp / "One/moved.dat"));
    EXPECT_TRUE(RemoveFile(tmp / "one\\MOVED.dat"));
    EXPECT_FALSE(RemoveFile(tmp / "one\\MOVED.dat"));
}

TEST(FileSystemTest, CurrentAndExecutableFolders)
{
    TempFolder tmp;
    const std::string before = GetCurrentFolder();
    ASSERT_TRUE(SetCurrentFolder(tmp.Path()));
    EXPECT_EQ(fs::path(GetCurrentFolder()), fs::canonical(tmp.Path()));
    ASSERT_TRUE(SetCurrentFolder(before));
    EXPECT_FALSE(SetCurrentFolder(tmp / "missing"));

    const std::string exe = GetExecutableFolder();
    ASSERT_FALSE(exe.empty());
    EXPECT_EQ(exe.back(), '/');
    EXPECT_TRUE(fs::exists(exe + "platform_tests"));
}

} // namespace
} // namespace Lumo::Platform
