// Our fmod stand-in, rendered into the mixer's null output: MP3 sounds of the
// sound manager, songs (Ogg Vorbis and a module) of the FMOD player, and
// joined decoded songs looping over their second part.
#include "audio/DSoundManager.h"
#include "audio/FModMusicInterface.h"
#include "audio/FmodInstance.h"
#include "platform/Clock.h"
#include "platform/audio/Mixer.h"
#include "tests/audio/music/MusicTestFiles.h"
#include <memory>

namespace Lumo::MusicTest {
namespace {

using Platform::Mixer;

std::vector<int16_t> Render(size_t frames)
{
    std::vector<int16_t> out;
    Mixer::Get().RenderFrames(frames, &out);
    return out;
}

class FmodStandInTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Mixer::SetMasterVolume(Mixer::kMaxMasterVolume);
        if (!gDSoundLibrary)
            gDSoundLibrary = Platform::LoadModule("dsound.dll");
        ASSERT_NE(gDSoundLibrary, nullptr);
        WriteFile("sound/tone.ogg", ReadFile(ToneOggPath()));
    }
    void TearDown() override
    {
        mPlayer.reset();
        mSounds.reset();
        EXPECT_EQ(gFmodInstance, nullptr) << "the last user frees the library";
        EXPECT_EQ(Mixer::Get().CountVoices(), 0u);
    }
    // The sound manager with FMOD (which initialises it), then the player.
    void Make()
    {
        mSounds = std::make_unique<DSoundManager>(&mWindow, true, &mClock);
        ASSERT_TRUE(mSounds->HasSoundDevice());
        ASSERT_NE(gFmodInstance, nullptr);
        mPlayer = std::make_unique<FModMusicInterface>(&mWindow);
    }

    TestFolder mFolder;
    int mWindow = 0;
    Platform::VirtualClock mClock;
    std::unique_ptr<DSoundManager> mSounds;
    std::unique_ptr<FModMusicInterface> mPlayer;
};

TEST_F(FmodStandInTest, Mp3SoundsLoadThroughFmodAndAreCached)
{
    WriteFile("sound/quiet.mp3", SilentMp3(8));
    mSounds = std::make_unique<DSoundManager>(&mWindow, false, &mClock);
    EXPECT_FALSE(mSounds->LoadSound(3, "sound/quiet")) << "MP3 needs the use-FMOD flag";
    EXPECT_EQ(gFmodInstance, nullptr);
    mSounds.reset();

    Make();
    ASSERT_TRUE(mSounds->LoadSound(3, "sound/quiet"));
    const uint32_t bytes = mSounds->GetDataSize(3);
    EXPECT_GE(bytes, 6u * 1152 * 2) << "mono 16-bit, most of the 8 frames";
    EXPECT_LE(bytes, 8u * 1152 * 2);
    EXPECT_EQ(bytes % 2, 0u);
    EXPECT_FALSE(ReadFile(mFolder.Root() + "data/cached/sound/quiet.wav").empty()) << "decoded once, then cached";
    EXPECT_FALSE(mSounds->LoadMp3Sound(4, "sound/tone.ogg.missing"));
}

TEST_F(FmodStandInTest, OggSongsPlayLoopAndEndAsSongs)
{
    Make();
    ASSERT_TRUE(mPlayer->LoadMusic(0, "sound/tone.ogg"));
    mPlayer->PlayMusic(0, 0, false);
    EXPECT_TRUE(mPlayer->IsPlaying(0));
    const int peak = Peak(Render(kToneOggFrames / 2));
    EXPECT_GT(peak, 16384 * 100 / 256 * 8 / 10) << "half scale at 100 of 256";
    EXPECT_LT(peak, 16384 * 100 / 256 * 12 / 10);
    Render(kToneOggFrames * 3);
    EXPECT_TRUE(mPlayer->IsPlaying(0)) << "looping";

    mPlayer->PlayMusic(0, 0, true);
    Render(kToneOggFrames + 2000);
    EXPECT_FALSE(mPlayer->IsPlaying(0)) << "a one-shot song ends";
    mPlayer->PlayMusic(0, 0, false);
    mPlayer->PauseMusic(0);
    EXPECT_EQ(Peak(Render(441)), 0);
    mPlayer->ResumeMusic(0);
    EXPECT_GT(Peak(Render(441)), 1000);
    mPlayer->SetMusicVolume(0.0);
    EXPECT_EQ(Peak(Render(441)), 0);
    mPlayer->StopMusic(0);
    EXPECT_FALSE(mPlayer->IsPlaying(0));
    EXPECT_FALSE(mPlayer->LoadMusic(1, "sound/none.ogg"));
}

TEST_F(FmodStandInTest, ModuleSongsStartAtTheirOrder)
{
    WriteFile("sound/two.mod", TwoOrderModule());
    Make();
    ASSERT_TRUE(mPlayer->LoadMusic(1, "sound/two.mod"));
    mPlayer->PlayMusic(1, 1, true);
    EXPECT_EQ(Peak(Render(1500)), 0) << "order 1 is silent";
    mPlayer->PlayMusic(1, 0, true);
    EXPECT_GT(Peak(Render(1500)), 100) << "order 0 plays its note";
    Render(8820);
    EXPECT_FALSE(mPlayer->IsPlaying(1));
}

TEST_F(FmodStandInTest, AJoinedSongLoopsOverItsSecondPart)
{
    WriteFile("sound/a.ogg", ReadFile(ToneOggPath()));
    WriteFile("sound/b.ogg", ReadFile(ToneOggPath()));
    Make();
    ASSERT_TRUE(mPlayer->LoadSampleMusicPair(2, "sound/a", "sound/b", true));
    EXPECT_FALSE(ReadFile(mFolder.Root() + "data/cached/a.wav").empty());
    mPlayer->PlayMusic(2, 0, false);
    Render(kToneOggFrames * 5);
    EXPECT_TRUE(gFmodInstance->FSOUND_IsPlaying(2));
    EXPECT_GT(Peak(Render(4410)), 10000 * 100 / 255);
    EXPECT_FALSE(mPlayer->IsPlaying(2)) << "decoded songs do not answer";
    // Loaded again from the caches; without looping it ends.
    ASSERT_TRUE(mPlayer->LoadSampleMusicPair(2, "sound/a", "sound/b", false));
    mPlayer->PlayMusic(2, 0, false);
    Render(kToneOggFrames * 2 + 1000);
    EXPECT_FALSE(gFmodInstance->FSOUND_IsPlaying(2));
}

} // namespace
} // namespace Lumo::MusicTest
