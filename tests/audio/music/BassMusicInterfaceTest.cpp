// The BASS music player against a fake BASS table: exact call sequences.
#include "audio/BassMusicInterface.h"
#include "platform/audio/Mixer.h"
#include "tests/audio/music/FakeMusicLibraries.h"
#include "tests/audio/music/MusicTestFiles.h"
#include <memory>

namespace Lumo::MusicTest {
namespace {

using Calls = std::vector<std::string>;

class BassPlayerTest : public ::testing::Test
{
protected:
    void SetUp() override { Reset(); }
    void TearDown() override
    {
        mPlayer.reset();
        EXPECT_EQ(gBassInstance, nullptr) << "the player releases the holder";
    }
    static void Reset()
    {
        FakeBassAnswers::activeState = 0;
        FakeBassAnswers::nextHandle = 100;
        FakeBassAnswers::failByName = false;
        FakeBassAnswers::failAll = false;
        FakeBassAnswers::memorySizes.clear();
    }
    void Make(bool newer = true, bool globalVolumes = true)
    {
        FakeBass::Install(newer, globalVolumes);
        mPlayer = std::make_unique<BassMusicInterface>(&mWindow);
        FakeLog::Take();
    }
    // A stream under id 1 (handle 100) and a module under id 2 (handle 101).
    void LoadBoth()
    {
        WriteFile("sound/song.it", Bytes(100, 1));
        ASSERT_TRUE(mPlayer->LoadMusic(1, "sound/song.ogg"));
        ASSERT_TRUE(mPlayer->LoadMusic(2, "sound/song.it"));
        FakeLog::Take();
    }

    TestFolder mFolder;
    int mWindow = 0;
    std::unique_ptr<BassMusicInterface> mPlayer;
};

TEST_F(BassPlayerTest, InitialisesWithoutTouchingTheSystemVolumeAndFreesAtTheEnd)
{
    Platform::Mixer::SetMasterVolume(1234);
    FakeBass::Install(true);
    mPlayer = std::make_unique<BassMusicInterface>(&mWindow);
    EXPECT_EQ(FakeLog::Take(), (Calls{"Init(1,44100,0,window,null)", "SetConfig(0,2000)", "Start()"}));
    EXPECT_EQ(Platform::Mixer::GetMasterVolume(), 1234u);
    EXPECT_EQ(gBassInstanceCount.load(), 1);
    mPlayer.reset();
    EXPECT_EQ(FakeLog::Take(), (Calls{"Stop()", "Free()"}));
    Platform::Mixer::SetMasterVolume(Platform::Mixer::kMaxMasterVolume);
}

TEST_F(BassPlayerTest, LoadsStreamsByExtensionInAnyCaseAndEverythingElseAsModules)
{
    Make();
    EXPECT_TRUE(mPlayer->LoadMusic(1, "sound/Theme.OGG"));
    EXPECT_FALSE(mPlayer->LoadMusic(2, "sound/missing.xm")) << "a module must open through the file wrappers";
    WriteFile("sound/tune.xm", Bytes(64, 7));
    EXPECT_TRUE(mPlayer->LoadMusic(3, "sound/tune.xm"));
    EXPECT_EQ(FakeLog::Take(), (Calls{"StreamCreateFile(0,sound/Theme.OGG,0,0,0x0)",
                                      "MusicLoad(0,sound/tune.xm,0,0,0x204,0)"}));
    ASSERT_NE(mPlayer->FindSong(1), nullptr);
    EXPECT_EQ(mPlayer->FindSong(1)->mHStream, 100u);
    EXPECT_EQ(mPlayer->FindSong(3)->mHMusic, 101u);
    EXPECT_EQ(mPlayer->FindSong(2), nullptr);
    EXPECT_EQ(mPlayer->FindSong(1)->mVolume, 0.0);
    EXPECT_EQ(mPlayer->FindSong(1)->mVolumeCap, 1.0);
}

TEST_F(BassPlayerTest, SongsTheLibraryCannotOpenByNameAreHandedOverFromMemory)
{
    Make();
    FakeBassAnswers::failByName = true;
    WriteFile("sound/packed.wav", Bytes(300, 2));
    WriteFile("sound/packed.mod", Bytes(200, 3));
    EXPECT_TRUE(mPlayer->LoadMusic(1, "sound/packed.wav"));
    EXPECT_TRUE(mPlayer->LoadMusic(2, "sound/packed.mod"));
    EXPECT_EQ(FakeBassAnswers::memorySizes, (std::vector<size_t>{300, 200}));
    ASSERT_NE(mPlayer->FindSong(1)->mMemory, nullptr) << "the bytes stay with the song while it may play";
    EXPECT_EQ(mPlayer->FindSong(1)->mMemory->size(), 300u);
    FakeBassAnswers::failAll = true;
    EXPECT_FALSE(mPlayer->LoadMusic(3, "sound/packed.wav"));
    EXPECT_FALSE(mPlayer->LoadMusic(3, "sound/nowhere.wav"));
}

TEST_F(BassPlayerTest, LoadingAgainStopsAndFreesTheOldSongButAFailedLoadKeepsIt)
{
    Make();
    LoadBoth();
    ASSERT_TRUE(mPlayer->LoadMusic(1, "sound/other.ogg"));
    EXPECT_EQ(FakeLog::Take(), (Calls{"StreamCreateFile(0,sound/other.ogg,0,0,0x0)", "ChannelStop(100)",
                                      "StreamFree(100)"}));
    EXPECT_EQ(mPlayer->FindSong(1)->mHStream, 102u);
    ASSERT_TRUE(mPlayer->LoadMusic(2, "sound/other.ogg"));
    EXPECT_EQ(FakeLog::Take(), (Calls{"StreamCreateFile(0,sound/other.ogg,0,0,0x0)", "ChannelStop(101)",
                                      "MusicFree(101)"}));
    FakeBassAnswers::failAll = true;
    EXPECT_FALSE(mPlayer->LoadMusic(1, "sound/again.ogg"));
    EXPECT_EQ(mPlayer->FindSong(1)->mHStream, 102u);
}

TEST_F(BassPlayerTest, PlaysStreamsAndModulesWithTheirCallSequences)
{
    Make();
    LoadBoth();
    mPlayer->PlayMusic(1, 0, false);
    EXPECT_EQ(FakeLog::Take(), (Calls{"ChannelSetAttributes(100,-1,100,-101)", "ChannelStop(100)",
                                      "ChannelSetFlags(100,0x4)", "ChannelPlay(100,1)"}));
    mPlayer->PlayMusic(1, 4096, true);
    EXPECT_EQ(FakeLog::Take(), (Calls{"ChannelSetAttributes(100,-1,100,-101)", "ChannelStop(100)",
                                      "ChannelSetFlags(100,0x0)", "ChannelPlay(100,1)",
                                      "ChannelSetPosition(100,0x1000)"}));
    mPlayer->PlayMusic(1, -1, false);
    EXPECT_EQ(FakeLog::Take()[3], "ChannelPlay(100,0)") << "-1 goes on where the stream stands";
    mPlayer->PlayMusic(2, 3, false);
    EXPECT_EQ(FakeLog::Take(), (Calls{"ChannelSetAttributes(101,-1,100,-101)", "ChannelStop(101)",
                                      "ChannelStop(101)", "ChannelSetPosition(101,0xffffffff80000003)",
                                      "ChannelSetFlags(101,0x8204)", "ChannelPlay(101,0)"}));
    EXPECT_TRUE(mPlayer->FindSong(2)->mVolume == 1.0 && !mPlayer->FindSong(2)->mStopOnFade);
}

TEST_F(BassPlayerTest, FadesInAndOutWithTheRightStepCounts)
{
    Make();
    LoadBoth();
    mPlayer->FadeIn(2, -1, 0.3, true);
    EXPECT_EQ(FakeLog::Take(), (Calls{"ChannelStop(101)", "ChannelSetAttributes(101,-1,0,-101)", "ChannelStop(101)",
                                      "ChannelSetFlags(101,0x200)", "ChannelPlay(101,1)"}));
    int updates = 0;
    while (mPlayer->FindSong(2)->mVolumeAdd != 0.0 && updates < 100)
    {
        mPlayer->Update();
        ++updates;
    }
    EXPECT_EQ(updates, 4) << "ceil(1 / 0.3)";
    EXPECT_EQ(mPlayer->FindSong(2)->mVolume, 1.0);
    Calls calls = FakeLog::Take();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0], "ChannelSetAttributes(101,-1,30,-101)");
    EXPECT_EQ(calls[3], "ChannelSetAttributes(101,-1,100,-101)");

    mPlayer->FadeOut(2, true, 0.25);
    for (int i = 0; i < 5; ++i)
        mPlayer->Update();
    EXPECT_EQ(FakeLog::Take(), (Calls{"ChannelSetAttributes(101,-1,75,-101)", "ChannelSetAttributes(101,-1,50,-101)",
                                      "ChannelSetAttributes(101,-1,25,-101)", "ChannelSetAttributes(101,-1,0,-101)",
                                      "ChannelStop(101)", "ChannelSetAttributes(101,-1,0,-101)"}))
        << "the fifth update goes below 0: stop, then the volume is applied";
}

TEST_F(BassPlayerTest, FadeInOfAStreamFromAnOrderKeepsItsVolume)
{
    Make();
    LoadBoth();
    mPlayer->SetSongVolume(1, 0.5);
    mPlayer->FadeIn(1, 0, 0.1, false);
    EXPECT_EQ(FakeLog::Take(), (Calls{"ChannelSetAttributes(100,-1,50,-101)", "ChannelStop(100)",
                                      "ChannelSetAttributes(100,-1,50,-101)", "ChannelSetFlags(100,0x4)",
                                      "ChannelPlay(100,1)"}));
    mPlayer->Update();
    EXPECT_EQ(FakeLog::Take(), (Calls{"ChannelSetAttributes(100,-1,60,-101)"}));
}

TEST_F(BassPlayerTest, FadeOutAtVolumeZeroOnlyChangesItsFlag)
{
    Make();
    LoadBoth();
    mPlayer->FadeOut(1, true, 0.1);
    EXPECT_EQ(mPlayer->FindSong(1)->mVolumeAdd, 0.0);
    EXPECT_TRUE(mPlayer->FindSong(1)->mStopOnFade);
    mPlayer->Update();
    EXPECT_TRUE(FakeLog::Take().empty());
    // Fading out without stopping leaves it running silently.
    mPlayer->PlayMusic(1, 0, false);
    FakeLog::Take();
    mPlayer->FadeOut(1, false, 0.6);
    mPlayer->Update();
    mPlayer->Update();
    FakeBassAnswers::activeState = BASS_ACTIVE_PLAYING;
    EXPECT_TRUE(mPlayer->IsPlaying(1));
    for (const std::string& call : FakeLog::Take())
        EXPECT_NE(call.rfind("ChannelStop", 0), 0u) << "not stopped after the play: " << call;
}

TEST_F(BassPlayerTest, VolumesTruncateTowardZero)
{
    Make();
    LoadBoth();
    mPlayer->SetSongVolume(1, 0.999);
    mPlayer->SetSongVolume(1, 0.5);
    mPlayer->SetSongMaxVolume(1, 0.25);
    mPlayer->SetSongMaxVolume(1, 0.9);
    EXPECT_EQ(FakeLog::Take(), (Calls{"ChannelSetAttributes(100,-1,99,-101)", "ChannelSetAttributes(100,-1,50,-101)",
                                      "ChannelSetAttributes(100,-1,25,-101)", "ChannelSetAttributes(100,-1,25,-101)"}))
        << "a lower maximum lowers the volume at once; a higher one does not raise it";
    mPlayer->SetMusicVolume(0.999);
    mPlayer->SetAmplification(2, 0.76);
    EXPECT_EQ(FakeLog::Take(), (Calls{"SetConfig(6,99)", "SetConfig(5,99)", "MusicSetAttribute(101,0,76)"}));
}

TEST_F(BassPlayerTest, AsksTheChannelStateForPlayingPausingAndResuming)
{
    Make();
    LoadBoth();
    for (uint32_t state : {BASS_ACTIVE_STOPPED, BASS_ACTIVE_STALLED, BASS_ACTIVE_PAUSED})
    {
        FakeBassAnswers::activeState = state;
        EXPECT_FALSE(mPlayer->IsPlaying(1)) << state;
    }
    FakeBassAnswers::activeState = BASS_ACTIVE_PLAYING;
    EXPECT_TRUE(mPlayer->IsPlaying(1));
    EXPECT_FALSE(mPlayer->IsPlaying(9)) << "no song under the id";
    FakeLog::Take();
    mPlayer->PauseAllMusic();
    EXPECT_EQ(FakeLog::Take(), (Calls{"ChannelIsActive(100)", "ChannelPause(100)", "ChannelIsActive(101)",
                                      "ChannelPause(101)"}));
    mPlayer->ResumeAllMusic();
    EXPECT_EQ(FakeLog::Take(), (Calls{"ChannelIsActive(100)", "ChannelIsActive(101)"})) << "nothing is paused";
    FakeBassAnswers::activeState = BASS_ACTIVE_PAUSED;
    mPlayer->ResumeAllMusic();
    EXPECT_EQ(FakeLog::Take(), (Calls{"ChannelIsActive(100)", "ChannelPlay(100,0)", "ChannelIsActive(101)",
                                      "ChannelPlay(101,0)"}));
    mPlayer->PauseMusic(2);
    mPlayer->ResumeMusic(2);
    EXPECT_EQ(FakeLog::Take(), (Calls{"ChannelPause(101)", "ChannelPlay(101,0)"}));
}

TEST_F(BassPlayerTest, StopsUnloadsAndIgnoresUnknownIds)
{
    Make();
    LoadBoth();
    mPlayer->PlayMusic(7, 0, false);
    mPlayer->StopMusic(7);
    mPlayer->FadeIn(7, 0, 0.1, false);
    mPlayer->SetSongVolume(7, 1.0);
    mPlayer->UnloadMusic(7);
    EXPECT_TRUE(FakeLog::Take().empty());
    mPlayer->UnloadMusic(1);
    EXPECT_EQ(FakeLog::Take(), (Calls{"ChannelStop(100)", "StreamFree(100)"}));
    EXPECT_EQ(mPlayer->FindSong(1), nullptr);
    mPlayer->FadeOutAll(true, 0.5);
    EXPECT_EQ(mPlayer->FindSong(2)->mVolumeAdd, -0.5) << "every song, even at volume 0";
    mPlayer->UnloadAllMusic();
    EXPECT_EQ(FakeLog::Take(), (Calls{"ChannelStop(101)", "MusicFree(101)"}));
    EXPECT_EQ(mPlayer->FindSong(2), nullptr);
}

TEST_F(BassPlayerTest, OlderLibrariesGetTheOlderCallsAndEitherVolumeEntry)
{
    FakeBass::Install(false, true);
    mPlayer = std::make_unique<BassMusicInterface>(&mWindow);
    EXPECT_EQ(FakeLog::Take(), (Calls{"InitOld(-1,44100,0,window)", "Start()"}));
    WriteFile("sound/song.mod", Bytes(10, 1));
    ASSERT_TRUE(mPlayer->LoadMusic(2, "sound/song.mod"));
    mPlayer->PlayMusic(2, 1, true);
    mPlayer->SetMusicVolume(0.5);
    EXPECT_EQ(FakeLog::Take(), (Calls{"MusicLoadOld(0,sound/song.mod,0,0,0x4)", "ChannelSetAttributes(100,-1,100,-101)",
                                      "ChannelStop(100)", "ChannelStop(100)", "ChannelSetPosition(100,0xffffffff80000001)",
                                      "ChannelSetFlags(100,0x0)", "ChannelPlay(100,0)", "SetGlobalVolumes(20,20,20)"}));
    mPlayer.reset();

    // A library with the output volume only: no call through an empty entry.
    FakeBass::Install(false, false);
    mPlayer = std::make_unique<BassMusicInterface>(&mWindow);
    FakeLog::Take();
    mPlayer->SetMusicVolume(0.999);
    EXPECT_EQ(FakeLog::Take(), (Calls{"SetVolume(39)"}));
}

} // namespace
} // namespace Lumo::MusicTest
