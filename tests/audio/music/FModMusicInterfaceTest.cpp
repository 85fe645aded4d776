// The FMOD music player against a fake FMOD table: exact call sequences,
// decoded songs and their failure paths.
#include "audio/FModMusicInterface.h"
#include "tests/audio/music/FakeMusicLibraries.h"
#include "tests/audio/music/MusicTestFiles.h"
#include <algorithm>
#include <memory>

namespace Lumo::MusicTest {
namespace {

using Calls = std::vector<std::string>;

std::string P(const void* handle)
{
    return FormatString("%p", handle);
}

class FmodPlayerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        FakeFmodAnswers::songPlaying = false;
        FakeFmodAnswers::channelPlaying = false;
        FakeFmodAnswers::failLoads = false;
        FakeFmodAnswers::sampleMode = FMOD_16BITS | FMOD_STEREO | FMOD_LOOP_OFF;
        FakeFmodAnswers::sampleRate = 44100;
        FakeFmodAnswers::sampleFrames = 10;
        FakeFmodAnswers::nextFrames.clear();
        FakeFmodAnswers::nextRates.clear();
        FakeFmodAnswers::failNames.clear();
        FakeFmodAnswers::memory.clear();
        FakeFmod::Install();
        mPlayer = std::make_unique<FModMusicInterface>(&mWindow);
        EXPECT_TRUE(FakeLog::Take().empty()) << "the player leaves FSOUND_Init to the sound manager";
    }
    void TearDown() override
    {
        mPlayer.reset();
        EXPECT_EQ(gFmodInstance, nullptr);
        EXPECT_TRUE(FakeLog::Take().empty()) << "songs are neither stopped nor freed at the end";
    }
    // The song handle under an id.
    FmodSong* Song(int id) { return mPlayer->FindSong(id)->mHMusic; }
    FmodSample* Sample(int id) { return mPlayer->FindSong(id)->mHSample; }
    // The Sample_Free calls in the log.
    static int CountFrees(const Calls& calls)
    {
        return int(std::count_if(calls.begin(), calls.end(),
                                 [](const std::string& c) { return c.rfind("Sample_Free", 0) == 0; }));
    }

    TestFolder mFolder;
    int mWindow = 0;
    std::unique_ptr<FModMusicInterface> mPlayer;
};

TEST_F(FmodPlayerTest, PlaysModulesAndDecodedSongsWithTheirCallSequences)
{
    ASSERT_TRUE(mPlayer->LoadMusic(0, "sound/theme.ogg"));
    ASSERT_TRUE(mPlayer->LoadSampleMusic(3, "sound/loop", true));
    FmodSong* song = Song(0);
    FmodSample* sample = Sample(3);
    FakeLog::Take();
    mPlayer->PlayMusic(0, 2, true);
    EXPECT_EQ(FakeLog::Take(), (Calls{"SetMasterVolume(" + P(song) + ",100)", "SetLooping(" + P(song) + ",0)",
                                      "PlaySong(" + P(song) + ")", "SetOrder(" + P(song) + ",2)"}));
    mPlayer->PlayMusic(3, 0, false);
    EXPECT_EQ(FakeLog::Take(), (Calls{"PlaySound(3," + P(sample) + ")", "SetLoopMode(3,2)", "SetVolume(3,100)"}));
    mPlayer->StopMusic(0);
    mPlayer->StopMusic(3);
    mPlayer->PauseMusic(0);
    mPlayer->ResumeMusic(3);
    EXPECT_EQ(FakeLog::Take(), (Calls{"StopSong(" + P(song) + ")", "StopSound(3)", "SongPaused(" + P(song) + ",1)",
                                      "SetPaused(3,0)"}));
}

TEST_F(FmodPlayerTest, VolumesScaleByTheMusicVolumeAndReachAtMostOneHundred)
{
    ASSERT_TRUE(mPlayer->LoadMusic(0, "sound/theme.ogg"));
    ASSERT_TRUE(mPlayer->LoadSampleMusic(3, "sound/loop", false));
    FmodSong* song = Song(0);
    FakeLog::Take();
    mPlayer->SetSongVolume(0, 0.999);
    mPlayer->SetMusicVolume(0.5);
    EXPECT_EQ(FakeLog::Take(), (Calls{"SetMasterVolume(" + P(song) + ",99)", "SetMasterVolume(" + P(song) + ",49)",
                                      "SetVolume(3,0)"}));
    mPlayer->PlayMusic(3, 0, false);
    EXPECT_EQ(FakeLog::Take().back(), "SetVolume(3,50)");
}

TEST_F(FmodPlayerTest, FadeInStartsOnlyWhatIsNotPlayingAndFadesInSteps)
{
    ASSERT_TRUE(mPlayer->LoadMusic(0, "sound/theme.ogg"));
    ASSERT_TRUE(mPlayer->LoadSampleMusic(3, "sound/loop", false));
    FmodSong* song = Song(0);
    FmodSample* sample = Sample(3);
    FakeLog::Take();
    FakeFmodAnswers::songPlaying = true;
    mPlayer->FadeIn(0, -1, 0.25, false);
    EXPECT_EQ(FakeLog::Take(), (Calls{"SetMasterVolume(" + P(song) + ",0)", "SetLooping(" + P(song) + ",1)",
                                      "SongIsPlaying(" + P(song) + ")"}));
    FakeFmodAnswers::songPlaying = false;
    mPlayer->FadeIn(0, 1, 0.25, true);
    EXPECT_EQ(FakeLog::Take(), (Calls{"SetMasterVolume(" + P(song) + ",0)", "SetLooping(" + P(song) + ",0)",
                                      "SongIsPlaying(" + P(song) + ")", "PlaySong(" + P(song) + ")",
                                      "SetOrder(" + P(song) + ",1)"}));
    mPlayer->FadeIn(3, 0, 0.5, false);
    EXPECT_EQ(FakeLog::Take(), (Calls{"IsPlaying(3)", "PlaySound(3," + P(sample) + ")", "SetLoopMode(3,1)",
                                      "SetVolume(3,0)"}));
    for (int i = 0; i < 4; ++i)
        mPlayer->Update();
    EXPECT_EQ(FakeLog::Take(), (Calls{"SetMasterVolume(" + P(song) + ",25)", "SetVolume(3,50)",
                                      "SetMasterVolume(" + P(song) + ",50)", "SetVolume(3,100)",
                                      "SetMasterVolume(" + P(song) + ",75)", "SetVolume(3,100)",
                                      "SetMasterVolume(" + P(song) + ",100)"}))
        << "reaching the maximum exactly ends the fade on the next update";
    mPlayer->FadeOutAll(true, 0.6);
    mPlayer->Update();
    mPlayer->Update();
    EXPECT_EQ(FakeLog::Take(), (Calls{"SetMasterVolume(" + P(song) + ",40)", "SetVolume(3,40)",
                                      "StopSong(" + P(song) + ")", "SetMasterVolume(" + P(song) + ",0)",
                                      "StopSound(3)", "SetVolume(3,0)"}));
}

TEST_F(FmodPlayerTest, OnlyModulesAnswerIsPlaying)
{
    ASSERT_TRUE(mPlayer->LoadMusic(0, "sound/theme.ogg"));
    ASSERT_TRUE(mPlayer->LoadSampleMusic(3, "sound/loop", true));
    FakeFmodAnswers::songPlaying = true;
    FakeFmodAnswers::channelPlaying = true;
    EXPECT_TRUE(mPlayer->IsPlaying(0));
    EXPECT_FALSE(mPlayer->IsPlaying(3));
    EXPECT_FALSE(mPlayer->IsPlaying(5));
    FakeLog::Take();
}

TEST_F(FmodPlayerTest, LoadingAgainStopsTheOldSongAndFreesAnOldSample)
{
    ASSERT_TRUE(mPlayer->LoadMusic(0, "sound/theme.ogg"));
    ASSERT_TRUE(mPlayer->LoadSampleMusic(3, "sound/loop", true));
    FmodSong* oldSong = Song(0);
    FmodSample* oldSample = Sample(3);
    FakeLog::Take();
    ASSERT_TRUE(mPlayer->LoadMusic(0, "sound/theme.ogg"));
    EXPECT_EQ(FakeLog::Take(), (Calls{"LoadSong(sound/theme.ogg)", "StopSong(" + P(oldSong) + ")"}));
    ASSERT_TRUE(mPlayer->LoadMusic(3, "sound/theme.ogg"));
    const Calls calls = FakeLog::Take();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[1], "StopSound(3)");
    EXPECT_EQ(calls[2], "Sample_Free(" + P(oldSample) + ")");
    FakeFmodAnswers::failLoads = true;
    FmodSong* kept = Song(0);
    EXPECT_FALSE(mPlayer->LoadMusic(0, "sound/theme.ogg"));
    EXPECT_EQ(Song(0), kept);
    FakeLog::Take();
}

TEST_F(FmodPlayerTest, DecodedSongsAreCachedAsWholeWavFiles)
{
    FakeFmodAnswers::sampleMode = FMOD_16BITS | FMOD_MONO | FMOD_LOOP_OFF;
    FakeFmodAnswers::sampleRate = 22050;
    FakeFmodAnswers::sampleFrames = 6;
    FmodSample* sample = mPlayer->LoadCachedSample("sound/music/intro");
    ASSERT_NE(sample, nullptr);
    const std::string cache = mFolder.Root() + "data/cached/intro.wav";
    const Bytes file = ReadFile(cache);
    ASSERT_EQ(file.size(), 44u + 12u);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "RIFF");
    EXPECT_EQ(file[22], 1) << "mono";
    EXPECT_EQ(file[24] | file[25] << 8, 22050);
    EXPECT_EQ(file[40], 12) << "data bytes";
    EXPECT_EQ(file[44], 1);
    EXPECT_EQ(file[55], 12);
    const Calls calls = FakeLog::Take();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[0], "Sample_Load(-1,sound/music/intro.ogg,0x0,0)") << "no whole cache yet";

    // A whole cache file is loaded instead of the song.
    ASSERT_NE(mPlayer->LoadCachedSample("sound/music/intro"), nullptr);
    EXPECT_EQ(FakeLog::Take(), (Calls{"Sample_Load(-1," + GetDataFolder() + "cached\\intro.wav,0x0,0)"}));

    // A cut-off cache file is never used: the song is decoded again and the
    // cache written whole.
    WriteFile(cache, Bytes(file.begin(), file.begin() + 50));
    ASSERT_NE(mPlayer->LoadCachedSample("sound/music/intro"), nullptr);
    EXPECT_EQ(FakeLog::Take()[0], "Sample_Load(-1,sound/music/intro.ogg,0x0,0)");
    EXPECT_EQ(ReadFile(cache), file);
}

TEST_F(FmodPlayerTest, ASongOnlyInThePackIsDecodedFromMemory)
{
    WriteFile("sound/packed.ogg", Bytes(33, 5));
    FakeFmodAnswers::failLoads = true;
    EXPECT_EQ(mPlayer->LoadCachedSample("sound/packed"), nullptr);
    EXPECT_EQ(FakeLog::Take(),
              (Calls{"Sample_Load(-1,sound/packed.ogg,0x0,0)", "Sample_Load(-1,<memory>,0x8000,33)"}));
}

TEST_F(FmodPlayerTest, PairsJoinTwoSongsAndFreeThemOnEveryPath)
{
    FakeFmodAnswers::nextFrames = {4, 6};
    ASSERT_TRUE(mPlayer->LoadSampleMusicPair(2, "sound/intro", "sound/loop", true));
    const Calls calls = FakeLog::Take();
    EXPECT_EQ(CountFrees(calls), 2);
    EXPECT_NE(std::find(calls.begin(), calls.end(), "Sample_Alloc(-1,10,0x53,44100,255,128,0)"), calls.end())
        << "both lengths, the parts' mode with looping on";
    EXPECT_NE(std::find(calls.begin(), calls.end(), "Sample_Lock(0x9000,0,40)"), calls.end());
    EXPECT_EQ(calls.back(), "Sample_SetLoopPoints(0x9000,4,9)") << "the second part loops";
    EXPECT_EQ(Sample(2), FakeSample(0x9000));
    EXPECT_TRUE(mPlayer->FindSong(2)->mRepeats);

    // Formats that differ: both parts freed, nothing kept.
    FakeFmodAnswers::nextRates = {44100, 22050};
    EXPECT_FALSE(mPlayer->LoadSampleMusicPair(4, "sound/intro", "sound/loop", true));
    EXPECT_EQ(CountFrees(FakeLog::Take()), 2);
    EXPECT_EQ(mPlayer->FindSong(4), nullptr);
    // The second part cannot be decoded: the first one is freed.
    FakeFmodAnswers::failNames = {"missing"};
    EXPECT_FALSE(mPlayer->LoadSampleMusicPair(5, "sound/intro", "sound/missing", false));
    EXPECT_EQ(CountFrees(FakeLog::Take()), 1);
    EXPECT_EQ(mPlayer->FindSong(5), nullptr);
}

} // namespace
} // namespace Lumo::MusicTest
