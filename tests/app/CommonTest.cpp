#include "app/Common.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

namespace Lumo {
namespace {

TEST(Common, StringToInt)
{
    struct Case
    {
        const char* text;
        bool ok;
        int value;
    };
    const Case cases[] = {
        {"0", true, 0},
        {"123", true, 123},
        {"-45", true, -45},
        {"0x1F", true, 31},
        {"0X1f", true, 31},
        {"0x80FF0000", true, static_cast<int>(0x80FF0000u)},
        {"0xFFFFFFFF", true, -1},
        {"0x00000000FF", true, 255},
        {"-0x10", true, -16},
        {"2147483647", true, INT_MAX},
        {"-2147483648", true, INT_MIN},
        {"2147483648", false, 0},
        {"-2147483649", false, 0},
        {"99999999999999999999", false, 0},
        {"0x100000000", false, 0},
        {"", false, 0},
        {"-", false, 0},
        {"0x", false, 0},
        {"12a", false, 0},
        {" 1", false, 0},
        {"+1", false, 0},
        {"1.5", false, 0},
        {"0xG1", false, 0},
    };
    for (const Case& c : cases)
    {
        int value = 77;
        EXPECT_EQ(StringToInt(c.text, value), c.ok) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
    }
}

TEST(Common, StringToDouble)
{
    struct Case
    {
        const char* text;
        bool ok;
        double value;
    };
    const Case cases[] = {
        {"1.5", true, 1.5}, {"-0.25", true, -0.25}, {"3", true, 3.0},  {".5", true, 0.5},
        {"5.", true, 5.0},  {"1.2.3", false, 0.0},  {"", false, 0.0},  {"-", false, 0.0},
        {".", false, 0.0},  {"1e5", false, 0.0},    {"abc", false, 0.0}, {"1,5", false, 0.0},
    };
    for (const Case& c : cases)
    {
        double value = 9.0;
        EXPECT_EQ(StringToDouble(c.text, value), c.ok) << c.text;
        EXPECT_DOUBLE_EQ(value, c.value) << c.text;
    }
}

TEST(Common, FormatAndCase)
{
    EXPECT_EQ(FormatString("%d-%s-%04X", 5, "a", 255), "5-a-00FF");
    const std::string longText(5000, 'x');
    EXPECT_EQ(FormatString("[%s]", longText.c_str()), "[" + longText + "]");
    EXPECT_EQ(ToUpperCase("abc Xyz 1\xC3\xA9"), "ABC XYZ 1\xC3\xA9");
    EXPECT_EQ(ToLowerCase("ABC xYZ 1"), "abc xyz 1");
}

TEST(Common, WideAndNarrow)
{
    const std::wstring wide = L"h\u00E9llo \u20AC \U0001D11E";
    const std::string narrow = "h\xC3\xA9llo \xE2\x82\xAC \xF0\x9D\x84\x9E";
    EXPECT_EQ(WideToNarrow(wide), narrow);
    EXPECT_EQ(ToNarrowString(wide), narrow);
    EXPECT_EQ(NarrowToWide(narrow), wide);
    EXPECT_EQ(NarrowToWide("caf\xE9"), L"caf\u00E9");       // Latin-1 byte
    EXPECT_EQ(NarrowToWide("\xE2\x82"), L"\u00E2\u0082");   // cut sequence
    EXPECT_EQ(WideToNarrow(std::wstring(1, static_cast<wchar_t>(0xD800))), "?");
}

TEST(Common, PathParts)
{
    EXPECT_EQ(GetPathDirectory("images\\tiles.png"), "images");
    EXPECT_EQ(GetPathDirectory("a/b\\c.txt", true), "a/b\\");
    EXPECT_EQ(GetPathDirectory("file.txt"), "");
    EXPECT_EQ(GetPathFileName("a/b\\c.tar.gz"), "c.tar.gz");
    EXPECT_EQ(GetPathFileName("a/b\\c.tar.gz", true), "c.tar");
    EXPECT_EQ(GetPathFileName("noext", true), "noext");
    EXPECT_EQ(GetPathFileName("dir.d/noext", true), "noext");
    EXPECT_EQ(RemoveTrailingSlash("a/"), "a");
    EXPECT_EQ(RemoveTrailingSlash("a\\"), "a");
    EXPECT_EQ(RemoveTrailingSlash("a//"), "a/");
    EXPECT_EQ(RemoveTrailingSlash(""), "");
    EXPECT_FALSE(IsWindows9x());
}

TEST(Common, ResolveRelativePath)
{
    struct Case
    {
        const char* path;
        const char* base;
        const char* result;
    };
    const Case cases[] = {
        {"images/a.png", "data", "data/images/a.png"},
        {"..\\x.txt", "a\\b", "a\\x.txt"},
        {"..\\x.txt", "a\\b\\", "a\\x.txt"},
        {"C:\\x.txt", "base", "C:\\x.txt"},
        {"/abs/x", "base", "/abs/x"},
        {"./a/./b", "base/", "base/a/b"},
        {"../../x", "a", "../x"},
        {"../../x", "/a", "/x"},
        {"..\\..\\x", "C:\\games", "C:\\x"},
        {"sub/", "base", "base/sub/"},
        {"x", "", "x"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResolveRelativePath(c.path, c.base), c.result) << c.path << " in " << c.base;
}

TEST(Common, DataFolderAndDirectoryTree)
{
    SetDataFolder("/tmp/lumo");
    EXPECT_EQ(GetDataFolder(), "/tmp/lumo/");
    SetDataFolder("/tmp/lumo\\");
    EXPECT_EQ(GetDataFolder(), "/tmp/lumo\\");
    SetDataFolder("");
    EXPECT_EQ(GetDataFolder(), "");

    const std::filesystem::path root = std::filesystem::path(testing::TempDir()) / "lumo_core_tree";
    std::filesystem::remove_all(root);
    CreateDirectoryTree(root.string() + "/cached\\sounds/x");
    EXPECT_TRUE(std::filesystem::is_directory(root / "cached" / "sounds" / "x"));
    std::filesystem::remove_all(root);
}

} // namespace
} // namespace Lumo
