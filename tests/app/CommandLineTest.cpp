#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace Lumo {
namespace {

TEST(CommandLine, ParsesEveryOption)
{
    CommandLineOptions options;
    std::string error;
    ASSERT_TRUE(ParseCommandLine({"-record", "-demofile=run 1.dmo", "-crash", "-SCREENSAVER", "-changedir"}, options,
                                 error));
    EXPECT_TRUE(error.empty());
    EXPECT_TRUE(options.record);
    EXPECT_FALSE(options.play);
    EXPECT_TRUE(options.crash && options.screenSaver && options.changeDir);
    EXPECT_EQ(options.GetDemoFileName(), "run 1.dmo");

    CommandLineOptions numbered;
    ASSERT_TRUE(ParseCommandLine({"-playnum=3", "-recnum=7"}, numbered, error));
    EXPECT_TRUE(numbered.play && numbered.record);
    EXPECT_EQ(numbered.playNumber, 3);
    EXPECT_EQ(numbered.recordNumber, 7);
    EXPECT_EQ(numbered.GetDemoFileName(), "demo3.dmo");

    CommandLineOptions plain;
    const char* argv[] = {"tumbrix", "-play"};
    ASSERT_TRUE(ParseCommandLine(2, argv, plain, error));
    EXPECT_TRUE(plain.play);
    EXPECT_EQ(plain.GetDemoFileName(), "demo.dmo");
}

TEST(CommandLine, AnythingElseIsTheExactError)
{
    const char* bad[] = {"-foo", "play", "-play=1", "-demofile", "-demofile=", "-recnum=abc", "-recnum=-1",
                         "-playnum=0x10", "-recnum", "--play", ""};
    for (const char* word : bad)
    {
        CommandLineOptions options;
        std::string error;
        EXPECT_FALSE(ParseCommandLine({"-play", word}, options, error)) << word;
        EXPECT_EQ(error, std::string("Invalid command line parameter: ") + word);
    }
}

} // namespace
} // namespace Lumo
