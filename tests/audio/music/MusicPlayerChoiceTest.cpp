// The application picks its music player from LUMO_AUDIO: the silent one,
// the FMOD one (with MP3 sounds through FMOD) or the BASS one by default.
#include "app/LumoAppBase.h"
#include "audio/BassInstance.h"
#include "audio/BassMusicInterface.h"
#include "audio/FModMusicInterface.h"
#include "audio/FmodInstance.h"
#include "audio/SoundManager.h"
#include "tests/audio/music/MusicTestFiles.h"
#include "tests/platform/TempFolder.h"

namespace Lumo::MusicTest {
namespace {

class PlayerChoiceApp : public LumoAppBase
{
public:
    PlayerChoiceApp()
    {
        mProdName = "LumoTest";
        mRegKey = "LumoTests\\MusicChoice";
        mTitle = "Lumo music test";
        mWidth = 64;
        mHeight = 48;
    }
};

struct Choice
{
    const char* setting;
    bool silent;
    bool fmod;
};

class MusicPlayerChoiceTest : public ::testing::TestWithParam<Choice>
{
protected:
    TestFolder mFolder;
};

TEST_P(MusicPlayerChoiceTest, PicksThePlayerTheSettingNames)
{
    const Choice choice = GetParam();
    Platform::Testing::ScopedEnv audio("LUMO_AUDIO", choice.setting);
    SetCommandLineArgs(0, nullptr);
    {
        PlayerChoiceApp app;
        app.Init();
        MusicInterface* music = app.mMusicInterface;
        ASSERT_NE(music, nullptr);
        EXPECT_EQ(dynamic_cast<BassMusicInterface*>(music) != nullptr, !choice.silent && !choice.fmod);
        EXPECT_EQ(dynamic_cast<FModMusicInterface*>(music) != nullptr, choice.fmod);
        EXPECT_EQ(app.mSoundManager->HasSoundDevice(), !choice.silent);
        EXPECT_EQ(gFmodInstanceCount.load(), choice.fmod ? 2 : 0) << "the sound manager and the player";
        app.SetMusicVolume(0.5); // reaches the player whichever it is
        app.Shutdown();
    }
    EXPECT_EQ(gFmodInstance, nullptr);
    EXPECT_EQ(gBassInstance, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Settings, MusicPlayerChoiceTest,
                         ::testing::Values(Choice{nullptr, false, false}, Choice{"bass", false, false},
                                           Choice{"FMOD", false, true}, Choice{"off", true, false}));

} // namespace
} // namespace Lumo::MusicTest
