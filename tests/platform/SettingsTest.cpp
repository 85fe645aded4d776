#include "platform/Settings.h"

#include "platform/DebugOutput.h"
#include "tests/platform/TempFolder.h"

namespace Lumo::Platform {
namespace {

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

TEST(SettingsTest, CorruptFileGivesTheDefaults)
{
    TempFolder tmp;
    ScopedEnv config("LUMO_CONFIG_DIR", tmp.Path().c_str());
    SettingsStore store(kKey);
    store.SetDword("Muted", 1);
    ASSERT_TRUE(store.Save());
    WriteText(store.GetFilePath(), ReadText(store.GetFilePath()) + "\x89PNG\r\n\x1a garbage");

    ClearDebugOutput();
    SettingsStore fresh(kKey);
    fresh.SetDword("Stale", 3);
    EXPECT_FALSE(fresh.Load());
    EXPECT_FALSE(fresh.GetDword("Muted"));
    EXPECT_FALSE(fresh.GetDword("Stale"));
    ASSERT_EQ(GetDebugOutputLines().size(), 1u);
    EXPECT_EQ(GetDebugOutputLines()[0].rfind("SETTINGS: ", 0), 0u);
}

TEST(SettingsTest, ParseRejectsMalformedLinesAndKeepsNothing)
{
    const char* bad[] = {
        "garbage",          "a=d:",        "a=d:-1",        "a=d:4294967296", "a=d:12x",
        "a=x:1",            "=d:1",        "a=s:bad\\q",    "a=s:end\\",      "a=s:\\x4",
        "a=s:\\xZZ",        "a=s:raw\x01", "a=d1",          "a=s:\r\rb",      "ok=d:1\nbroken",
    };
    for (const char* text : bad)
    {
        SettingsStore store("Key");
        store.SetDword("Kept", 1);
        EXPECT_FALSE(store.Parse(text)) << text;
        EXPECT_FALSE(store.GetDword("Kept")) << text;
        EXPECT_FALSE(store.GetDword("ok")) << text;
    }

    SettingsStore store("Key");
    ASSERT_TRUE(store.Parse("# comment\r\n\r\nA=d:4294967295\r\nB=s:x\\x41\\ty\r\nA\\B=s:\n"));
    EXPECT_EQ(store.GetDword("A"), 4294967295u);
    EXPECT_EQ(store.GetString("B"), "xA\ty");
    EXPECT_EQ(store.GetString("A\\B"), "");
    EXPECT_TRUE(store.Parse(""));
    EXPECT_FALSE(store.GetDword("A"));
}

} // namespace
} // namespace Lumo::Platform
