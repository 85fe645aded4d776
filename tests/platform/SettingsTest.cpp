#include "platform/Settings.h"

#include "platform/DebugOutput.h"
#include "platform/FileSystem.h"
#include "tests/platform/TempFolder.h"

#include <cstdio>

namespace Lumo::Platform {
namespace {

using Testing::HeldLock;
using Testing::MakeOlder;
using Testing::ReadText;
using Testing::ScopedEnv;
using Testing::TempFolder;
using Testing::WriteText;

constexpr const char* kKey = "SOFTWARE\\Varnet\\LumoAppFramework\\Demo2";

TEST(SettingsTest, PathComesFromTheKey)
{
    TempFolder tmp;
    ScopedEnv config("LUMO_CONFIG_DIR", tmp.Path().c_str());
    EXPECT_EQ(SettingsStore(kKey).GetFilePath(), tmp / "SOFTWARE/Varnet/LumoAppFramework/Demo2/settings.ini");
    EXPECT_EQ(SettingsStore("..\\..\\Evil\\.\\Key").GetFilePath(), tmp / "Evil/Key/settings.ini");
}

TEST(SettingsTest, ValuesSurviveARestart)
{
    TempFolder tmp;
    ScopedEnv config("LUMO_CONFIG_DIR", tmp.Path().c_str());
    const std::string awkward = "two\nlines\\with \\n escapes\r\t\x01 and =:# signs";
    {
        SettingsStore store(kKey);
        EXPECT_FALSE(store.Load()); // nothing saved yet
        store.SetDword("MusicVolume", 75);
        store.SetDword("PreferredX", 0xFFFFFFFFu);
        store.SetString("Test3D\\FailureReason", awkward);
        store.SetString("Empty", "");
        store.SetDword("Removed", 1);
        store.Remove("Removed");
        ASSERT_TRUE(store.Save());
        store.SetDword("MusicVolume", 50); // a second save replaces the file
        ASSERT_TRUE(store.Save());
    }
    SettingsStore fresh(kKey);
    ASSERT_TRUE(fresh.Load());
    EXPECT_EQ(fresh.GetDword("MusicVolume"), 50u);
    EXPECT_EQ(fresh.GetDword("PreferredX"), 0xFFFFFFFFu);
    EXPECT_EQ(fresh.GetString("Test3D\\FailureReason"), awkward);
    EXPECT_EQ(fresh.GetString("Empty"), "");
    EXPECT_FALSE(fresh.GetDword("Removed"));
    // A value has one type.
    EXPECT_FALSE(fresh.GetString("MusicVolume"));
    EXPECT_FALSE(fresh.GetDword("Empty"));
}

TEST(SettingsTest, ADamagedFileKeepsItsGoodLinesAndSaysSoOnStderr)
{
    TempFolder tmp;
    ScopedEnv config("LUMO_CONFIG_DIR", tmp.Path().c_str());
    SettingsStore store(kKey);
    store.SetDword("Muted", 1);
    store.SetDword("MusicVolume", 6);
    ASSERT_TRUE(store.Save());
    // Garbage in the middle and at the end: lines 3 and 5 of the file.
    std::string text = ReadText(store.GetFilePath());
    text.insert(text.find("Muted"), "\x89PNG garbage\n");
    WriteText(store.GetFilePath(), text + "SfxVolume=d:oops\n");

    ClearDebugOutput();
    testing::internal::CaptureStderr();
    SettingsStore fresh(kKey);
    fresh.SetDword("Stale", 3);
    EXPECT_TRUE(fresh.Load());
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(fresh.GetDword("Muted"), 1u);
    EXPECT_EQ(fresh.GetDword("MusicVolume"), 6u);
    EXPECT_FALSE(fresh.GetDword("SfxVolume"));
    EXPECT_FALSE(fresh.GetDword("Stale"));
    EXPECT_NE(err.find("SETTINGS: "), std::string::npos) << err;
    EXPECT_NE(err.find("2 bad lines ignored (the first is line 3)"), std::string::npos) << err;
    ASSERT_EQ(GetDebugOutputLines().size(), 1u);

    // Written back at start-up, the good values stay.
    fresh.SetDword("InProgress", 1);
    ASSERT_TRUE(fresh.Save());
    SettingsStore again(kKey);
    ASSERT_TRUE(again.Load());
    EXPECT_EQ(again.GetDword("Muted"), 1u);
    EXPECT_EQ(again.GetDword("MusicVolume"), 6u);
}

TEST(SettingsTest, AFileThatCannotBeReadOrWrittenSaysWhy)
{
    TempFolder tmp;
    ScopedEnv config("LUMO_CONFIG_DIR", tmp.Path().c_str());
    SettingsStore store(kKey);
    ASSERT_TRUE(CreateDirectories(store.GetFilePath())); // a folder where the file belongs
    testing::internal::CaptureStderr();
    EXPECT_FALSE(store.Load());
    EXPECT_NE(testing::internal::GetCapturedStderr().find("cannot read the settings file"), std::string::npos);
    std::string reason;
    EXPECT_FALSE(store.Save(&reason));
    EXPECT_NE(reason.find(store.GetFilePath()), std::string::npos) << reason;

    // A file where a folder of the key belongs.
    WriteText(tmp / "Blocked", "not a folder");
    reason.clear();
    EXPECT_FALSE(SettingsStore("Blocked\\Key").Save(&reason));
    EXPECT_NE(reason.find(tmp / "Blocked"), std::string::npos) << reason;
    EXPECT_EQ(ReadText(tmp / "Blocked"), "not a folder");
}

TEST(SettingsTest, TemporariesOfDeadWritersAreRemovedAndLiveOnesKept)
{
    TempFolder tmp;
    ScopedEnv config("LUMO_CONFIG_DIR", tmp.Path().c_str());
    SettingsStore store(kKey);
    store.SetDword("MusicVolume", 75);
    ASSERT_TRUE(store.Save());
    const std::string dead = store.GetFilePath() + ".tmp4242-0123456789abcdef";
    const std::string live = store.GetFilePath() + ".tmp4243-0123456789abcdef";
    const auto old = kStaleTemporaryAge + std::chrono::seconds(60);
    WriteText(live, "being written");
    MakeOlder(live, old);
    const HeldLock writer(live);

    // At start-up, and at every save.
    for (const bool load : {true, false})
    {
        WriteText(dead, "half");
        MakeOlder(dead, old);
        SettingsStore fresh(kKey);
        ASSERT_TRUE(load ? fresh.Load() : fresh.Save()) << load;
        EXPECT_FALSE(std::filesystem::exists(dead)) << load;
        EXPECT_EQ(ReadText(live), "being written") << load;
    }
}

TEST(SettingsTest, ParseSkipsMalformedLinesAndKeepsTheRest)
{
    const char* bad[] = {
        "garbage",     "a=d:",        "a=d:-1",  "a=d:4294967296", "a=d:12x",   "a=x:1",
        "=d:1",        "a=s:bad\\q",  "a=s:end\\", "a=s:\\x4",     "a=s:\\xZZ", "a=s:raw\x01",
        "a=d1",        "a=s:\r\rb",   "a\tb=d:1",
    };
    for (const char* line : bad)
    {
        SettingsStore store("Key");
        store.SetDword("Kept", 1);
        size_t firstBad = 0;
        EXPECT_EQ(store.Parse(std::string("ok=d:1\n\n") + line + "\nafter=s:2\n", &firstBad), 1u) << line;
        EXPECT_EQ(firstBad, 3u) << line;
        EXPECT_FALSE(store.GetDword("Kept")) << line; // the text replaces the values
        EXPECT_FALSE(store.GetDword("a")) << line;
        EXPECT_EQ(store.GetDword("ok"), 1u) << line;
        EXPECT_EQ(store.GetString("after"), "2") << line;
    }

    SettingsStore store("Key");
    EXPECT_EQ(store.Parse("# comment\r\n\r\nA=d:4294967295\r\nB=s:x\\x41\\ty\r\nA\\B=s:\n"), 0u);
    EXPECT_EQ(store.GetDword("A"), 4294967295u);
    EXPECT_EQ(store.GetString("B"), "xA\ty");
    EXPECT_EQ(store.GetString("A\\B"), "");
    EXPECT_EQ(store.Parse(""), 0u);
    EXPECT_FALSE(store.GetDword("A"));
}

TEST(SettingsTest, LinesAndFilesAreCapped)
{
    constexpr size_t kLine = SettingsStore::kMaxLineBytes;
    SettingsStore store("Key");
    // "v=s:" + text: the longest line kept, and one byte more.
    const std::string fits(kLine - 4, 'x');
    EXPECT_EQ(store.Parse("v=s:" + fits + "\nw=s:" + fits + "x\n"), 1u);
    EXPECT_TRUE(store.GetString("v") == fits);
    EXPECT_FALSE(store.GetString("w"));
    // Raw tabs are written "\t": a value whose written line would not fit is
    // not kept, so everything kept reads back.
    EXPECT_EQ(store.Parse("t=s:" + std::string(kLine - 5, 'x') + "\t\n"), 1u);
    store.SetString("u", fits + "x");
    EXPECT_FALSE(store.GetString("u"));
    store.SetString("u", fits);
    EXPECT_TRUE(store.GetString("u") == fits);
    // A huge line costs one scan and is skipped.
    EXPECT_EQ(store.Parse("a=d:1\nb=s:" + std::string(8u << 20, 'y') + "\nc=d:3"), 1u);
    EXPECT_EQ(store.GetDword("a"), 1u);
    EXPECT_EQ(store.GetDword("c"), 3u);

    // Of a file, only the whole lines within the first kMaxFileBytes count:
    // lines of 11 bytes, the one that straddles the cap is dropped with the rest.
    TempFolder tmp;
    ScopedEnv config("LUMO_CONFIG_DIR", tmp.Path().c_str());
    SettingsStore file(kKey);
    ASSERT_TRUE(file.Save());
    std::string text;
    char line[16];
    for (int i = 0; i < 7000; ++i)
    {
        std::snprintf(line, sizeof line, "V%05d=d:1\n", i);
        text += line;
    }
    WriteText(file.GetFilePath(), text + std::string(1u << 20, 'z'));
    const int whole = static_cast<int>(SettingsStore::kMaxFileBytes / 11);
    testing::internal::CaptureStderr();
    ASSERT_TRUE(file.Load());
    EXPECT_NE(testing::internal::GetCapturedStderr().find("only its beginning is read"), std::string::npos);
    std::snprintf(line, sizeof line, "V%05d", whole - 1);
    EXPECT_EQ(file.GetDword(line), 1u);
    std::snprintf(line, sizeof line, "V%05d", whole);
    EXPECT_FALSE(file.GetDword(line));
    EXPECT_EQ(file.Serialize().size(), std::string("# Lumo settings\n").size() + 11u * whole);
}

} // namespace
} // namespace Lumo::Platform
