#include "platform/FileSystem.h"

#include "platform/Environment.h"

#include "tests/platform/TempFolder.h"

#include <sys/stat.h>
#include <sys/xattr.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <vector>

namespace Lumo::Platform {
namespace {

using Testing::HeldLock;
using Testing::MakeOlder;
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

// The permission bits of a path, as chmod shows them.
unsigned Mode(const std::string& path)
{
    return static_cast<unsigned>(fs::status(path).permissions() & fs::perms::mask);
}

// An ACL in the kernel's form: a version word, then (tag, permissions, id)
// entries sorted by tag: owner 0x01, named users 0x02, owning group 0x04,
// named groups 0x08, mask 0x10, others 0x20.
struct AclEntry
{
    uint16_t tag, perm;
    uint32_t id;
};
constexpr uint32_t kNoId = 0xFFFFFFFF;

std::vector<uint8_t> AclValue(std::initializer_list<AclEntry> entries)
{
    constexpr uint32_t kVersion = 2;
    std::vector<uint8_t> value(sizeof kVersion);
    std::memcpy(value.data(), &kVersion, sizeof kVersion);
    for (const AclEntry& entry : entries)
    {
        const size_t at = value.size();
        value.resize(at + 8);
        std::memcpy(&value[at], &entry.tag, 2);
        std::memcpy(&value[at + 2], &entry.perm, 2);
        std::memcpy(&value[at + 4], &entry.id, 4);
    }
    return value;
}

// Gives the folder a default ACL that grants a named group rwx, as
// "setfacl -d -m g:4242:rwx" does; false where the file system has no ACLs.
bool SetDefaultGroupAcl(const std::string& folder)
{
    const std::vector<uint8_t> value =
        AclValue({{0x01, 7, kNoId}, {0x04, 5, kNoId}, {0x08, 7, 4242}, {0x10, 7, kNoId}, {0x20, 0, kNoId}});
    return setxattr(folder.c_str(), "system.posix_acl_default", value.data(), value.size(), 0) == 0;
}

// The file's own ACL as the kernel keeps it; empty when it has none.
std::vector<uint8_t> AccessAcl(const std::string& path)
{
    std::vector<uint8_t> value(256);
    const ssize_t size = getxattr(path.c_str(), "system.posix_acl_access", value.data(), value.size());
    value.resize(size > 0 ? static_cast<size_t>(size) : 0);
    return value;
}

TEST(FileSystemTest, AtomicWriteKeepsThePermissionBits)
{
    TempFolder tmp;
    // A new file gets what any new file gets here: 0666 less the umask.
    WriteText(tmp / "plain.txt", "");
    ASSERT_TRUE(WriteFileAtomically(tmp / "new.dat", "n", 1));
    EXPECT_EQ(Mode(tmp / "new.dat"), Mode(tmp / "plain.txt"));

    // A replaced file keeps its bits, also bits no new file gets.
    for (const unsigned mode : {0600u, 0750u})
    {
        WriteText(tmp / "kept.dat", "old");
        fs::permissions(tmp / "kept.dat", static_cast<fs::perms>(mode));
        ASSERT_TRUE(WriteFileAtomically(tmp / "kept.dat", "new", 3));
        EXPECT_EQ(ReadText(tmp / "kept.dat"), "new");
        EXPECT_EQ(Mode(tmp / "kept.dat"), mode) << std::oct << mode;
    }

    // A new file in a folder with a default ACL gets what the ACL grants, as
    // any new file there does, whatever the umask: here the group named in
    // it keeps rw- through the ACL's mask.
    fs::create_directories(tmp / "shared");
    const bool hasAcl = SetDefaultGroupAcl(tmp / "shared");
    const mode_t oldMask = umask(077);
    WriteText(tmp / "shared/touched.txt", "");
    const bool written = WriteFileAtomically(tmp / "shared/settings.ini", "s", 1);
    umask(oldMask);
    ASSERT_TRUE(written);
    EXPECT_EQ(Mode(tmp / "shared/settings.ini"), Mode(tmp / "shared/touched.txt"));
    if (hasAcl)
    {
        EXPECT_EQ(Mode(tmp / "shared/settings.ini") & 070u, 060u) << std::oct << Mode(tmp / "shared/settings.ini");
    }

    // A replaced file keeps its ACL too: 0640 plus rw- for the user 4243
    // ("setfacl -m u:4243:rw"), whose mask shows as the group's bits.
    WriteText(tmp / "shared.dat", "old");
    const std::vector<uint8_t> acl =
        AclValue({{0x01, 6, kNoId}, {0x02, 6, 4243}, {0x04, 4, kNoId}, {0x10, 6, kNoId}, {0x20, 0, kNoId}});
    if (setxattr((tmp / "shared.dat").c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0) == 0)
    {
        ASSERT_TRUE(WriteFileAtomically(tmp / "shared.dat", "new", 3));
        EXPECT_EQ(ReadText(tmp / "shared.dat"), "new");
        EXPECT_EQ(AccessAcl(tmp / "shared.dat"), acl);
        EXPECT_EQ(Mode(tmp / "shared.dat"), 0660u) << std::oct << Mode(tmp / "shared.dat");
    }
    // And one without an ACL gets none, not the one its folder gives new files.
    if (hasAcl)
    {
        WriteText(tmp / "shared/plain.dat", "old");
        removexattr((tmp / "shared/plain.dat").c_str(), "system.posix_acl_access");
        fs::permissions(tmp / "shared/plain.dat", static_cast<fs::perms>(0640));
        ASSERT_TRUE(AccessAcl(tmp / "shared/plain.dat").empty());
        ASSERT_TRUE(WriteFileAtomically(tmp / "shared/plain.dat", "new", 3));
        EXPECT_TRUE(AccessAcl(tmp / "shared/plain.dat").empty());
        EXPECT_EQ(Mode(tmp / "shared/plain.dat"), 0640u) << std::oct << Mode(tmp / "shared/plain.dat");
    }

    // Through a link, the file at its end keeps them.
    fs::create_directories(tmp / "real");
    WriteText(tmp / "real/records.dat", "old");
    fs::permissions(tmp / "real/records.dat", fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink("real/records.dat", tmp / "save.dat");
    ASSERT_TRUE(WriteFileAtomically(tmp / "save.dat", "new", 3));
    EXPECT_TRUE(fs::is_symlink(tmp / "save.dat"));
    EXPECT_EQ(ReadText(tmp / "real/records.dat"), "new");
    EXPECT_EQ(Mode(tmp / "real/records.dat"), 0600u);
}

// The temporaries WriteFileAtomically made, each with its bits when it was
// made (before any byte was written).
struct SeenTemporaries
{
    std::vector<std::string> names;
    std::vector<unsigned> modes;
};
SeenTemporaries gSeen;

void SeeAndTakeTheFirstTemporary(const std::string& temporary)
{
    gSeen.names.push_back(temporary);
    gSeen.modes.push_back(Mode(temporary));
    if (gSeen.names.size() == 1)
        fs::remove(temporary); // as another writer's clean-up may, before the lock
}

TEST(FileSystemTest, ATemporaryIsOwnerOnlyAndOneTakenBeforeItsLockIsReplaced)
{
    TempFolder tmp;
    WriteText(tmp / "save.dat", "old");
    fs::permissions(tmp / "save.dat", fs::perms::owner_read | fs::perms::owner_write);
    gSeen = {};
    SetTemporaryCreatedHook(SeeAndTakeTheFirstTemporary);
    const bool written = WriteFileAtomically(tmp / "save.dat", "new", 3);
    SetTemporaryCreatedHook(nullptr);
    EXPECT_TRUE(written);
    EXPECT_EQ(ReadText(tmp / "save.dat"), "new");
    EXPECT_EQ(Mode(tmp / "save.dat"), 0600u);
    ASSERT_EQ(gSeen.names.size(), 2u);
    EXPECT_NE(gSeen.names[0], gSeen.names[1]);
    for (const unsigned mode : gSeen.modes)
        EXPECT_EQ(mode & 077u, 0u) << "readable by others: " << std::oct << mode;
    EXPECT_EQ(std::distance(fs::directory_iterator(tmp.Path()), fs::directory_iterator()), 1) << "no temporary";

    // Taken every time: the write gives up and says what happened, not the
    // errno it ended with.
    SetTemporaryCreatedHook([](const std::string& temporary) { fs::remove(temporary); });
    std::string reason;
    const bool lost = WriteFileAtomically(tmp / "save.dat", "lost", 4, &reason);
    SetTemporaryCreatedHook(nullptr);
    EXPECT_FALSE(lost);
    EXPECT_EQ(ReadText(tmp / "save.dat"), "new");
    EXPECT_NE(reason.find("cannot write " + (tmp / "save.dat") +
                          ": each of its 16 temporary files was removed by another program before it could be locked"),
              std::string::npos)
        << reason;
}

TEST(FileSystemTest, FailedAtomicWriteKeepsTheOldStateAndSaysWhy)
{
    TempFolder tmp;
    const std::string text = "new";
    // The target is a folder: nothing changes, no temporary is left.
    fs::create_directories(tmp / "folder");
    WriteText(tmp / "folder/inside.txt", "kept");
    std::string reason;
    EXPECT_FALSE(WriteFileAtomically(tmp / "folder", text.data(), text.size(), &reason));
    EXPECT_NE(reason.find(tmp / "folder"), std::string::npos) << reason;
    EXPECT_NE(reason.find(std::strerror(EISDIR)), std::string::npos) << reason;
    EXPECT_EQ(ReadText(tmp / "folder/inside.txt"), "kept");
    EXPECT_EQ(std::distance(fs::directory_iterator(tmp.Path()), fs::directory_iterator()), 1);

    // The target's folder is missing.
    reason.clear();
    EXPECT_FALSE(WriteFileAtomically(tmp / "missing/file.txt", text.data(), text.size(), &reason));
    EXPECT_NE(reason.find(tmp / "missing/file.txt"), std::string::npos) << reason;
    EXPECT_NE(reason.find(std::strerror(ENOENT)), std::string::npos) << reason;
}

TEST(FileSystemTest, AReadOnlyFolderRefusesAtomicWritesAndProbes)
{
    TempFolder tmp;
    const std::string text = "new";
    fs::create_directories(tmp / "locked");
    WriteText(tmp / "locked/save.dat", "old");
    fs::permissions(tmp / "locked", fs::perms::owner_read | fs::perms::owner_exec);
    if (std::ofstream(tmp / "locked/probe"))
        GTEST_SKIP() << "read-only folders are writable for this user (root)";
    std::string reason;
    EXPECT_FALSE(WriteFileAtomically(tmp / "locked/save.dat", text.data(), text.size(), &reason));
    EXPECT_NE(reason.find(tmp / "locked/save.dat"), std::string::npos) << reason;
    EXPECT_EQ(reason.find(".tmp"), std::string::npos) << "the reason names the file, not its temporary: " << reason;
    EXPECT_NE(reason.find("cannot create a file in " + (tmp / "locked") + ": " + std::strerror(EACCES)),
              std::string::npos)
        << "it is a new file beside it that cannot be made: " << reason;
    EXPECT_EQ(ReadText(tmp / "locked/save.dat"), "old");

    reason.clear();
    EXPECT_FALSE(CanCreateFileIn(tmp / "locked", &reason));
    EXPECT_NE(reason.find(tmp / "locked"), std::string::npos) << reason;
    EXPECT_NE(reason.find(std::strerror(EACCES)), std::string::npos) << reason;

    // A write probe looks where the write goes: beside the file a link ends
    // at, and in "/" for a file there.
    fs::create_symlink("locked/new.dat", tmp / "link.dat");
    reason.clear();
    EXPECT_FALSE(CanWriteFileAtomically(tmp / "link.dat", &reason));
    EXPECT_NE(reason.find(tmp / "locked"), std::string::npos) << reason;
    EXPECT_NE(reason.find(std::strerror(EACCES)), std::string::npos) << reason;
    EXPECT_TRUE(CanWriteFileAtomically(tmp / "plain.dat"));
    EXPECT_FALSE(CanWriteFileAtomically("/new.dat", &reason));
    EXPECT_NE(reason.find("in /:"), std::string::npos) << reason;
}

TEST(FileSystemTest, TempFolderRemovesFoldersThatLostTheirPermissions)
{
    std::string path;
    {
        TempFolder tmp;
        path = tmp.Path();
        fs::create_directories(tmp / "a/b/c");
        WriteText(tmp / "a/b/c/file", "x");
        fs::permissions(tmp / "a/b/c", fs::perms::none);
        fs::permissions(tmp / "a/b", fs::perms::owner_read | fs::perms::owner_exec);
        fs::permissions(tmp / "a", fs::perms::owner_exec);
    }
    EXPECT_FALSE(fs::exists(path));
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
    const auto old = kStaleTemporaryAge + std::chrono::seconds(60);
    auto leave = [&](const std::string& name, const std::chrono::seconds age) {
        WriteText(tmp / name, "half");
        MakeOlder(tmp / name, age);
    };
    WriteText(tmp / "save.dat", "kept");
    // Dead writers' temporaries: an earlier version's name, and today's.
    leave("save.dat.tmp4242", old);
    leave("save.dat.tmp4242-0123456789abcdef", old);
    // A live writer holds its lock; a writer that has only just created its
    // file may not hold it yet.
    leave("save.dat.tmp17-aa", old);
    const HeldLock writer(tmp / "save.dat.tmp17-aa");
    leave("save.dat.tmp18-bb", kStaleTemporaryAge - std::chrono::seconds(60));
    // Named like temporaries, old and unlocked, but no regular files.
    fs::create_directories(tmp / "save.dat.tmp19-cc");
    MakeOlder(tmp / "save.dat.tmp19-cc", old);
    leave("elsewhere.dat", old);
    fs::create_symlink("elsewhere.dat", tmp / "save.dat.tmp20-dd");
    // Not temporaries of this file.
    for (const char* name : {"save.dat.tmpnotes", "save.dat.tmp", "save.dat.tmp21-xyz", "save.dat.tmp-ab",
                             "other.dat.tmp4242", "save.dat.tmp4242.bak"})
        leave(name, old);

    EXPECT_EQ(RemoveStaleTemporaries(tmp / "SAVE.DAT"), 2);
    EXPECT_FALSE(fs::exists(tmp / "save.dat.tmp4242"));
    EXPECT_FALSE(fs::exists(tmp / "save.dat.tmp4242-0123456789abcdef"));
    for (const char* name : {"save.dat.tmp17-aa", "save.dat.tmp18-bb", "save.dat.tmp19-cc", "save.dat.tmpnotes",
                             "save.dat.tmp", "save.dat.tmp21-xyz", "save.dat.tmp-ab", "other.dat.tmp4242",
                             "save.dat.tmp4242.bak", "elsewhere.dat"})
        EXPECT_TRUE(fs::exists(tmp / name)) << name;
    EXPECT_TRUE(fs::is_directory(tmp / "save.dat.tmp19-cc"));
    EXPECT_TRUE(fs::is_symlink(tmp / "save.dat.tmp20-dd"));
    EXPECT_EQ(ReadText(tmp / "save.dat"), "kept");
    EXPECT_EQ(RemoveStaleTemporaries(tmp / "missing-folder/save.dat"), 0);

    // A write clears the dead writers' temporaries of its file, and uses a
    // temporary of its own: a writer in another process-id namespace may run
    // under this process's id.
    leave("save.dat.tmp4243-ff", old);
    const std::string sameId = "save.dat.tmp" + std::to_string(GetProcessId());
    WriteText(tmp / sameId, "theirs");
    const HeldLock twin(tmp / sameId);
    ASSERT_TRUE(WriteFileAtomically(tmp / "save.dat", "new", 3));
    EXPECT_EQ(ReadText(tmp / "save.dat"), "new");
    EXPECT_FALSE(fs::exists(tmp / "save.dat.tmp4243-ff"));
    EXPECT_EQ(ReadText(tmp / sameId), "theirs");
    EXPECT_TRUE(fs::exists(tmp / "save.dat.tmp17-aa"));

    // Beside a link's file, where its writes leave them.
    fs::create_directories(tmp / "real");
    WriteText(tmp / "real/records.dat", "r");
    leave("real/records.dat.tmp4242-01", old);
    fs::create_symlink("real/records.dat", tmp / "link.dat");
    EXPECT_EQ(RemoveStaleTemporaries(tmp / "link.dat"), 1);
    EXPECT_FALSE(fs::exists(tmp / "real/records.dat.tmp4242-01"));
}

TEST(FileSystemTest, CanCreateFileInProbesWithAFileOfItsOwn)
{
    TempFolder tmp;
    fs::create_directories(tmp / "demos");
    std::string reason;
    EXPECT_TRUE(CanCreateFileIn(tmp / "DEMOS", &reason)) << reason;
    EXPECT_TRUE(fs::is_empty(tmp / "demos")) << "the probe is removed";

    // What is there stays untouched: files, a link to a file outside, a link
    // to nothing.
    WriteText(tmp / "demos/run.dmo.check", "kept");
    WriteText(tmp / "outside.txt", "outside");
    fs::create_symlink(tmp / "outside.txt", tmp / "demos/run.dmo");
    fs::create_symlink(tmp / "nowhere.txt", tmp / "demos/dangling");
    EXPECT_TRUE(CanCreateFileIn(tmp / "demos"));
    const std::string before = GetCurrentFolder();
    ASSERT_TRUE(SetCurrentFolder(tmp / "demos"));
    EXPECT_TRUE(CanCreateFileIn(""));
    ASSERT_TRUE(SetCurrentFolder(before));
    EXPECT_EQ(std::distance(fs::directory_iterator(tmp / "demos"), fs::directory_iterator()), 3);
    EXPECT_EQ(ReadText(tmp / "demos/run.dmo.check"), "kept");
    EXPECT_EQ(ReadText(tmp / "outside.txt"), "outside");
    EXPECT_FALSE(fs::exists(fs::symlink_status(tmp / "nowhere.txt")));

    EXPECT_FALSE(CanCreateFileIn(tmp / "missing", &reason));
    EXPECT_NE(reason.find(tmp / "missing"), std::string::npos) << reason;

}

TEST(FileSystemTest, RenameFileNoReplaceNeverReplaces)
{
    TempFolder tmp;
    WriteText(tmp / "tumbrix.dat", "damaged");
    WriteText(tmp / "tumbrix.dat.bad", "earlier");
    errno = 0;
    EXPECT_FALSE(RenameFileNoReplace(tmp / "tumbrix.dat", tmp / "tumbrix.dat.bad"));
    EXPECT_EQ(errno, EEXIST);
    EXPECT_EQ(ReadText(tmp / "tumbrix.dat"), "damaged");
    EXPECT_EQ(ReadText(tmp / "tumbrix.dat.bad"), "earlier");
    // A link takes the name too, even one to nothing.
    fs::create_symlink("nowhere", tmp / "tumbrix.dat.bad.1");
    EXPECT_FALSE(RenameFileNoReplace(tmp / "tumbrix.dat", tmp / "tumbrix.dat.bad.1"));
    EXPECT_TRUE(fs::is_symlink(tmp / "tumbrix.dat.bad.1"));
    EXPECT_EQ(ReadText(tmp / "tumbrix.dat"), "damaged");

    EXPECT_TRUE(RenameFileNoReplace(tmp / "TUMBRIX.dat", tmp / "tumbrix.dat.bad.2"));
    EXPECT_FALSE(fs::exists(tmp / "tumbrix.dat"));
    EXPECT_EQ(ReadText(tmp / "tumbrix.dat.bad.2"), "damaged");
    EXPECT_FALSE(RenameFileNoReplace(tmp / "tumbrix.dat", tmp / "tumbrix.dat.bad.3"));
    EXPECT_FALSE(fs::exists(tmp / "tumbrix.dat.bad.3"));
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
