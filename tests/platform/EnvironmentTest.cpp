#include "platform/Clock.h"
#include "platform/DebugOutput.h"
#include "platform/Environment.h"

#include "tests/platform/TempFolder.h"

#include <filesystem>
#include <thread>

namespace Lumo::Platform {
namespace {

using Testing::ScopedEnv;
using Testing::TempFolder;

TEST(EnvironmentTest, NumbersAndFlags)
{
    ScopedEnv number("LUMO_TEST_VALUE", "250");
    EXPECT_EQ(GetEnvInt("LUMO_TEST_VALUE", -1), 250);
    for (const char* yes : {"1", "true", "YES", "on"})
    {
        ScopedEnv flag("LUMO_TEST_FLAG", yes);
        EXPECT_TRUE(GetEnvFlag("LUMO_TEST_FLAG")) << yes;
    }
    for (const char* no : {"0", "no", "", "2"})
    {
        ScopedEnv flag("LUMO_TEST_FLAG", no);
        EXPECT_FALSE(GetEnvFlag("LUMO_TEST_FLAG")) << no;
    }
    ScopedEnv bad("LUMO_TEST_VALUE", "12x");
    EXPECT_EQ(GetEnvInt("LUMO_TEST_VALUE", -1), -1);
    ScopedEnv unset("LUMO_TEST_VALUE", nullptr);
    EXPECT_EQ(GetEnvInt("LUMO_TEST_VALUE", 7), 7);
    EXPECT_FALSE(GetEnv("LUMO_TEST_VALUE"));
}

TEST(EnvironmentTest, HeadlessWithoutADisplay)
{
    ScopedEnv display("DISPLAY", nullptr);
    ScopedEnv wayland("WAYLAND_DISPLAY", nullptr);
    {
        ScopedEnv headless("LUMO_HEADLESS", "0");
        EXPECT_TRUE(IsHeadless());
        ScopedEnv withDisplay("DISPLAY", ":0");
        EXPECT_FALSE(IsHeadless());
    }
    ScopedEnv withDisplay("DISPLAY", ":0");
    ScopedEnv headless("LUMO_HEADLESS", "1");
    EXPECT_TRUE(IsHeadless());
}

TEST(EnvironmentTest, DataAndConfigFolders)
{
    TempFolder tmp;
    {
        ScopedEnv data("LUMO_DATA_DIR", (tmp / "data").c_str());
        EXPECT_EQ(GetUserDataFolder("Tumbrix"), tmp / "data/Tumbrix/");
        EXPECT_TRUE(std::filesystem::is_directory(tmp / "data/Tumbrix"));
    }
    ScopedEnv noData("LUMO_DATA_DIR", nullptr);
    ScopedEnv xdgData("XDG_DATA_HOME", (tmp / "xdg").c_str());
    EXPECT_EQ(GetUserDataFolder("Tumbrix"), tmp / "xdg/Tumbrix/");

    ScopedEnv noConfig("LUMO_CONFIG_DIR", nullptr);
    ScopedEnv xdgConfig("XDG_CONFIG_HOME", nullptr);
    ScopedEnv home("HOME", "/home/player");
    EXPECT_EQ(GetUserConfigFolder(), "/home/player/.config/lumo/");
    ScopedEnv config("LUMO_CONFIG_DIR", "/etc/lumo-test");
    EXPECT_EQ(GetUserConfigFolder(), "/etc/lumo-test/");
}

TEST(DebugOutputTest, LinesArePrefixedJoinedAndBounded)
{
    ClearDebugOutput();
    DebugOutput("validCursorMove \n");
    DebugOutput("part ");
    DebugOutputF("%d of %s", 2, "line");
    Log("IMAGE", "invalid file data");
    DebugOutput("a\nb\n");
    EXPECT_EQ(GetDebugOutputLines(),
              (std::vector<std::string>{"validCursorMove ", "part 2 of line", "IMAGE: invalid file data", "a", "b"}));

    ClearDebugOutput();
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([] {
            for (int i = 0; i < 3000; ++i)
                DebugOutput("line\n");
        });
    for (auto& thread : threads)
        thread.join();
    DebugOutput("last\n");
    auto lines = GetDebugOutputLines();
    ASSERT_EQ(lines.size(), 10000u);
    EXPECT_EQ(lines.back(), "last");
}

TEST(ClockTest, VirtualClockMovesOnlyWhenTold)
{
    VirtualClock clock;
    EXPECT_TRUE(clock.IsVirtual());
    EXPECT_EQ(clock.NowMs(), 0u);
    clock.SleepMs(10);
    clock.Advance(5);
    EXPECT_EQ(clock.NowMs(), 15u);
    clock.Advance(0xFFFFFFFFu); // wraps like GetTickCount
    EXPECT_EQ(clock.NowMs(), 14u);

    SystemClock system;
    EXPECT_FALSE(system.IsVirtual());
    uint32_t first = system.NowMs();
    EXPECT_LT(GetTickCountMs() - first, 60000u);
}

} // namespace
} // namespace Lumo::Platform
