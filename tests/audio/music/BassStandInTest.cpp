// Our bass stand-in, rendered into the mixer's null output: streams that loop
// or end, modules from an order, the player on top of it, songs only in the
// pack file, and Tremor and libvorbisfile living in one process.
#include "app/pak/PakInterface.h"
#include "app/pak/PakWriter.h"
#include "audio/BassInstance.h"
#include "audio/BassMusicInterface.h"
#include "audio/SoundFileReaders.h"
#include "platform/ModuleLoader.h"
#include "platform/audio/Mixer.h"
#include "tests/audio/music/MusicTestFiles.h"

namespace Lumo::MusicTest {
namespace {

using Platform::Mixer;

std::vector<int16_t> Render(size_t frames)
{
    std::vector<int16_t> out;
    Mixer::Get().RenderFrames(frames, &out);
    return out;
}

class BassStandInTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Mixer::SetMasterVolume(Mixer::kMaxMasterVolume);
        AcquireBassInstance();
        mBass = gBassInstance;
        ASSERT_TRUE(mBass->BASS_Init(1, 44100, 0, nullptr, nullptr));
        WriteFile("sound/tone.ogg", ReadFile(ToneOggPath()));
    }
    void TearDown() override
    {
        mBass->BASS_Free();
        ReleaseBassInstance();
        EXPECT_EQ(Mixer::Get().CountVoices(), 0u) << "the library frees every voice";
    }

    TestFolder mFolder;
    BASS_INSTANCE* mBass = nullptr;
};

TEST_F(BassStandInTest, ALoopingOggStreamKeepsPlayingAndAOneShotEnds)
{
    const BassHandle loop = mBass->BASS_StreamCreateFile(false, "SOUND\\Tone.ogg", 0, 0, BASS_FLAG_LOOP);
    const BassHandle once = mBass->BASS_StreamCreateFile(false, "sound/tone.ogg", 0, 0, 0);
    ASSERT_NE(loop, 0u);
    ASSERT_NE(once, 0u);
    EXPECT_EQ(mBass->BASS_ChannelGetLength(loop), kToneOggFrames * 2) << "bytes of mono 16-bit";
    mBass->BASS_ChannelPlay(loop, true);
    mBass->BASS_ChannelPlay(once, true);
    EXPECT_EQ(mBass->BASS_ChannelIsActive(once), BASS_ACTIVE_PLAYING);
    const std::vector<int16_t> first = Render(kToneOggFrames / 2);
    EXPECT_GT(Peak(first), 20000) << "two tones of half scale";
    Render(kToneOggFrames * 2);
    EXPECT_EQ(mBass->BASS_ChannelIsActive(once), BASS_ACTIVE_STOPPED);
    EXPECT_EQ(mBass->BASS_ChannelIsActive(loop), BASS_ACTIVE_PLAYING);
    const int loopOnly = Peak(Render(kToneOggFrames));
    EXPECT_GT(loopOnly, 10000);
    EXPECT_LT(loopOnly, 20000);

    // Stopped and started again, a finished one-shot starts over.
    mBass->BASS_ChannelStop(loop);
    EXPECT_EQ(Peak(Render(441)), 0);
    mBass->BASS_ChannelPlay(once, false);
    EXPECT_EQ(mBass->BASS_ChannelIsActive(once), BASS_ACTIVE_PLAYING);
    EXPECT_GT(Peak(Render(2000)), 10000);
    mBass->BASS_StreamFree(once);
    EXPECT_EQ(mBass->BASS_ChannelIsActive(once), BASS_ACTIVE_STOPPED);
    EXPECT_EQ(mBass->BASS_ErrorGetCode(), BASS_ERROR_HANDLE);
}

TEST_F(BassStandInTest, StreamsPauseResumeAndSeekByBytes)
{
    WriteFile("sound/c.wav", ConstantWav(44100, 8000));
    const BassHandle stream = mBass->BASS_StreamCreateFile(false, "sound/c.wav", 0, 0, 0);
    ASSERT_NE(stream, 0u);
    ASSERT_TRUE(mBass->BASS_ChannelSetPosition(stream, 20000));
    EXPECT_EQ(mBass->BASS_ChannelGetPosition(stream), 20000u);
    EXPECT_FALSE(mBass->BASS_ChannelSetPosition(stream, 1000000)) << "past the end";
    mBass->BASS_ChannelPlay(stream, false);
    const std::vector<int16_t> out = Render(100);
    EXPECT_EQ(out[0], 8000);
    EXPECT_EQ(out[1], 8000) << "mono on both sides";
    mBass->BASS_ChannelPause(stream);
    EXPECT_EQ(mBass->BASS_ChannelIsActive(stream), BASS_ACTIVE_PAUSED);
    EXPECT_EQ(Peak(Render(100)), 0);
    mBass->BASS_ChannelPlay(stream, false);
    ASSERT_TRUE(mBass->BASS_ChannelSetAttributes(stream, BASS_KEEP_FREQUENCY, 50, BASS_KEEP_PAN));
    EXPECT_EQ(Render(10)[0], 4000);
    mBass->BASS_SetConfig(BASS_CONFIG_STREAM_VOLUME, 50);
    mBass->BASS_SetConfig(BASS_CONFIG_MUSIC_VOLUME, 0); // modules only
    EXPECT_EQ(Render(10)[0], 2000);
    mBass->BASS_Stop();
    EXPECT_EQ(Peak(Render(100)), 0) << "the output is stopped";
    mBass->BASS_Start();
    EXPECT_EQ(Render(10)[0], 2000);
    EXPECT_EQ(mBass->BASS_StreamCreateFile(false, "sound/none.wav", 0, 0, 0), 0u);
    EXPECT_EQ(mBass->BASS_ErrorGetCode(), BASS_ERROR_FILEOPEN);
}

TEST_F(BassStandInTest, AModulePlaysFromTheOrderItIsGiven)
{
    const Bytes module = TwoOrderModule();
    const BassHandle music = mBass->BASS_MusicLoad(true, module.data(), 0, uint32_t(module.size()), 0, 0);
    ASSERT_NE(music, 0u);
    EXPECT_EQ(mBass->BASS_MusicGetOrders(music), 2u);
    const uint64_t orderRow = uint64_t(BASS_POSITION_ORDER_ROW_HIGH) << 32 | BASS_POSITION_ORDER_ROW_FLAG;
    ASSERT_TRUE(mBass->BASS_ChannelSetPosition(music, orderRow | 1));
    EXPECT_EQ(mBass->BASS_MusicGetOrderPosition(music) & 0xFFFF, 1u);
    mBass->BASS_ChannelPlay(music, false);
    EXPECT_EQ(Peak(Render(1500)), 0) << "order 1 is silent";
    Render(22050);
    EXPECT_EQ(mBass->BASS_ChannelIsActive(music), BASS_ACTIVE_STOPPED) << "a one-shot module ends";

    ASSERT_TRUE(mBass->BASS_ChannelSetPosition(music, orderRow | 0));
    mBass->BASS_ChannelPlay(music, false);
    EXPECT_GT(Peak(Render(1500)), 1000) << "order 0 plays its note";
    EXPECT_FALSE(mBass->BASS_ChannelSetPosition(music, orderRow | 5)) << "no such order";

    // Looping, it goes round for good.
    mBass->BASS_ChannelSetFlags(music, BASS_FLAG_LOOP);
    mBass->BASS_ChannelPlay(music, true);
    Render(44100);
    EXPECT_EQ(mBass->BASS_ChannelIsActive(music), BASS_ACTIVE_PLAYING);
    EXPECT_EQ(mBass->BASS_MusicSetAttribute(music, BASS_MUSIC_ATTRIB_AMPLIFY, 25), 50u);
    mBass->BASS_MusicFree(music);
}

TEST_F(BassStandInTest, TremorAndLibvorbisfileKeepToTheirOwnLibraries)
{
    // The program's own Tremor (the sound reader) and the module's private
    // one decode the same file alike.
    DecodedSound sound;
    ASSERT_TRUE(ReadOggSound("sound/tone.ogg", sound));
    EXPECT_EQ(sound.pcm.size(), kToneOggFrames * 2);
    const BassHandle stream = mBass->BASS_StreamCreateFile(false, "sound/tone.ogg", 0, 0, 0);
    EXPECT_EQ(mBass->BASS_ChannelGetLength(stream), sound.pcm.size());
    // The module's lookups of the shared names reach libvorbisfile and
    // libvorbis, the libraries libopenmpt was built against, never a Tremor
    // copy exported by the module.
    Platform::ModuleHandle vorbisfile = Platform::LoadModule("libvorbisfile.so");
    Platform::ModuleHandle vorbis = Platform::LoadModule("libvorbis.so");
    if (!vorbisfile || !vorbis)
        GTEST_SKIP() << "no libvorbisfile.so / libvorbis.so to compare with";
    for (const char* name : {"ov_open_callbacks", "ov_read", "ov_clear", "ov_pcm_total"})
        EXPECT_EQ(Platform::GetModuleEntry(mBass->mModule, name), Platform::GetModuleEntry(vorbisfile, name)) << name;
    for (const char* name : {"vorbis_info_init", "vorbis_synthesis_init", "vorbis_dsp_clear"})
        EXPECT_EQ(Platform::GetModuleEntry(mBass->mModule, name), Platform::GetModuleEntry(vorbis, name)) << name;
    Platform::FreeModule(vorbisfile);
    Platform::FreeModule(vorbis);
}

class BassPlayerRenderTest : public ::testing::Test
{
protected:
    void SetUp() override { Mixer::SetMasterVolume(Mixer::kMaxMasterVolume); }
    TestFolder mFolder;
    int mWindow = 0;
};

TEST_F(BassPlayerRenderTest, TheMusicAndSongVolumesTakeEffect)
{
    WriteFile("sound/c.wav", ConstantWav(44100, 10000));
    BassMusicInterface player(&mWindow);
    ASSERT_TRUE(player.LoadMusic(0, "sound/c.wav"));
    player.PlayMusic(0, 0, false);
    EXPECT_TRUE(player.IsPlaying(0));
    EXPECT_EQ(Render(10)[0], 10000);
    player.SetMusicVolume(0.5);
    EXPECT_EQ(Render(10)[0], 5000);
    player.SetSongVolume(0, 0.5);
    EXPECT_EQ(Render(10)[0], 2500);
    player.FadeOut(0, true, 0.25);
    player.Update();
    player.Update();
    player.Update();
    EXPECT_FALSE(player.IsPlaying(0)) << "faded out and stopped";
    EXPECT_EQ(Peak(Render(441)), 0);
}

TEST_F(BassPlayerRenderTest, ASongOnlyInThePackFilePlays)
{
    std::vector<uint8_t> image;
    std::string error;
    ASSERT_TRUE(MakePakImage({{"sound/packed.wav", ConstantWav(4410, 7000)}}, image, error)) << error;
    WriteFile("main.pak", image);
    PakInterface pak;
    ASSERT_TRUE(pak.AddPakFile("main.pak"));
    SetSharedPakInterface(&pak);
    {
        BassMusicInterface player(&mWindow);
        ASSERT_TRUE(player.LoadMusic(0, "sound/packed.wav"));
        EXPECT_NE(player.FindSong(0)->mMemory, nullptr);
        player.PlayMusic(0, 0, false);
        EXPECT_EQ(Render(10)[0], 7000);
    }
    SetSharedPakInterface(nullptr);
}

} // namespace
} // namespace Lumo::MusicTest
