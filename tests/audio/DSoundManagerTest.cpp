// The sound manager over the DirectSound stand-in, rendered on the null output.
#include "audio/DSoundInstance.h"
#include "audio/DSoundManager.h"
#include "platform/Clock.h"
#include "platform/audio/Mixer.h"
#include "tests/audio/SoundTestFiles.h"
#include <cmath>

namespace Lumo {
namespace {

using namespace SoundTest;
using Platform::Mixer;

std::vector<int16_t> Render(size_t frames)
{
    std::vector<int16_t> out;
    Mixer::Get().RenderFrames(frames, &out);
    return out;
}

TEST(SoundLawsTest, VolumeToAttenuation)
{
    EXPECT_EQ(VolumeToAttenuation(1.0), 0);
    EXPECT_EQ(VolumeToAttenuation(0.5), -605);
    EXPECT_EQ(VolumeToAttenuation(1.0 / 3.0), -928);
    EXPECT_EQ(VolumeToAttenuation(0.05), -1956);
    EXPECT_EQ(VolumeToAttenuation(0.04), -10000);
    EXPECT_EQ(VolumeToAttenuation(0.0), -10000);
    // Outside 0..1 the volume is clamped, never a refused or undefined value.
    EXPECT_EQ(VolumeToAttenuation(2.5), 0);
    EXPECT_EQ(VolumeToAttenuation(-1.0 / 9.0), -10000);
    EXPECT_EQ(VolumeToAttenuation(-5.0), -10000);
    EXPECT_EQ(VolumeToAttenuation(std::nan("")), -10000);
}

TEST(SoundLawsTest, PitchToFrequency)
{
    EXPECT_EQ(PitchToFrequency(0.0, 44100), 44100u);
    EXPECT_EQ(PitchToFrequency(12.0, 22050), 44100u);
    EXPECT_EQ(PitchToFrequency(-12.0, 44100), 22049u) << "truncated, not rounded";
    EXPECT_EQ(PitchToFrequency(1.0, 44100), 46722u);
    EXPECT_EQ(PitchToFrequency(100.0, 44100), 100000u);
    EXPECT_EQ(PitchToFrequency(-100.0, 44100), 136u);
    EXPECT_EQ(PitchToFrequency(-200.0, 44100), 100u);
    EXPECT_EQ(PitchToFrequency(std::nan(""), 44100), 100u);
}

class DSoundManagerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!gDSoundLibrary)
            gDSoundLibrary = Platform::LoadModule("dsound.dll");
        ASSERT_NE(gDSoundLibrary, nullptr);
        Mixer::SetMasterVolume(Mixer::kMaxMasterVolume);
        mManager = std::make_unique<DSoundManager>(&mWindow, false, &mClock);
        ASSERT_TRUE(mManager->HasSoundDevice());
    }

    // Loads a mono 44100 Hz WAV of `frames` frames of `value` under the id.
    void LoadConstant(unsigned id, size_t frames, int16_t value, const std::string& name = "sound/beep")
    {
        WriteFile(name + ".wav", MonoWav(std::vector<int16_t>(frames, value)));
        ASSERT_TRUE(mManager->LoadSound(id, name));
    }

    TestFolder mFolder;
    int mWindow = 0;
    Platform::VirtualClock mClock;
    std::unique_ptr<DSoundManager> mManager;
};

TEST_F(DSoundManagerTest, PlaysAtTheLawsVolumeAndPan)
{
    LoadConstant(7, 100, 10000);
    SoundInstance* instance = mManager->CreateInstance(7);
    ASSERT_NE(instance, nullptr);
    instance->SetVolume(0.5);
    ASSERT_TRUE(instance->Play(true, false));
    const double half = 10000 * std::pow(10.0, -605 / 2000.0);
    EXPECT_NEAR(Render(1)[0], half, 1.0);

    // The effects volume reaches live instances at once.
    mManager->SetEffectsVolume(0.5);
    const double quarter = 10000 * std::pow(10.0, VolumeToAttenuation(0.25) / 2000.0);
    EXPECT_NEAR(Render(1)[1], quarter, 1.0);
    mManager->SetEffectsVolume(1.0);
    EXPECT_DOUBLE_EQ(instance->GetVolume(), 0.5);

    // Default pan + pan is summed; a sum out of range is refused by the buffer
    // and the previous pan stays.
    instance->SetVolume(1.0);
    instance->SetPan(-2000);
    auto out = Render(1);
    EXPECT_EQ(out[0], 10000);
    EXPECT_NEAR(out[1], 1000, 1.0);
    instance->SetDefaultPan(-9000); // -11000: refused
    out = Render(1);
    EXPECT_NEAR(out[1], 1000, 1.0);
    instance->SetDefaultPan(2000); // 0: centred
    out = Render(1);
    EXPECT_EQ(out[0], out[1]);
}

TEST_F(DSoundManagerTest, PitchIsRelativeToTheBaseFrequency)
{
    LoadConstant(1, 1000, 100);
    SoundInstance* instance = mManager->CreateInstance(1);
    ASSERT_NE(instance, nullptr);
    instance->SetPitch(12.0);
    instance->SetPitch(12.0); // not cumulative
    ASSERT_TRUE(instance->Play(false, false));
    Render(499);
    EXPECT_TRUE(instance->IsPlaying());
    Render(1);
    EXPECT_FALSE(instance->IsPlaying()) << "an octave up plays in half the time";
    instance->SetPitch(0.0);
    ASSERT_TRUE(instance->Play(false, false));
    Render(999);
    EXPECT_TRUE(instance->IsPlaying());
}

TEST_F(DSoundManagerTest, ThirtyTwoChannelsReclaimedByTheScanAndTheSweep)
{
    LoadConstant(255, 441, 1);
    const size_t voicesBefore = Mixer::Get().CountVoices();
    std::vector<SoundInstance*> instances;
    for (int i = 0; i < 32; ++i)
    {
        SoundInstance* instance = mManager->CreateInstance(255);
        ASSERT_NE(instance, nullptr) << i;
        ASSERT_TRUE(instance->Play(false, true));
        instances.push_back(instance);
    }
    EXPECT_EQ(mManager->CreateInstance(255), nullptr) << "a 33rd instance has no channel";
    EXPECT_EQ(mManager->CreateInstance(256), nullptr);

    Render(441); // every one-shot has finished
    // Within the sweep interval the scan still reuses a finished channel.
    mClock.Advance(1000);
    SoundInstance* reused = mManager->CreateInstance(255);
    ASSERT_NE(reused, nullptr);
    EXPECT_EQ(Mixer::Get().CountVoices(), voicesBefore + 32);

    // After the interval the sweep deletes every discarded instance.
    mClock.Advance(1);
    ASSERT_NE(mManager->CreateInstance(255), nullptr);
    EXPECT_EQ(Mixer::Get().CountVoices(), voicesBefore + 2);
}

TEST_F(DSoundManagerTest, LoopingAndStoppedInstancesKeepTheirChannels)
{
    LoadConstant(3, 100, 1);
    SoundInstance* looping = nullptr;
    SoundInstance* stoppedByCaller = nullptr;
    for (int i = 0; i < 32; ++i)
    {
        SoundInstance* instance = mManager->CreateInstance(3);
        ASSERT_NE(instance, nullptr);
        instance->Play(i == 0, true);
        if (i == 0)
            looping = instance;
        if (i == 1)
            stoppedByCaller = instance;
    }
    stoppedByCaller->Stop(); // clears auto-discard
    Render(200);
    mClock.Advance(5000);
    EXPECT_NE(mManager->CreateInstance(3), nullptr) << "finished one-shots are reclaimed";
    EXPECT_TRUE(looping->IsPlaying());
    EXPECT_FALSE(looping->IsDiscarded());
    EXPECT_FALSE(stoppedByCaller->IsDiscarded());

    // Stopping everything keeps auto-discard: the looping one goes too.
    mManager->StopAllInstances();
    EXPECT_FALSE(looping->IsPlaying());
    EXPECT_TRUE(looping->IsDiscarded());
    EXPECT_FALSE(stoppedByCaller->IsDiscarded());
    mManager->DeleteAllInstances();
}

TEST_F(DSoundManagerTest, SoundIdsAndNames)
{
    LoadConstant(10, 10, 1, "sound/a");
    EXPECT_EQ(mManager->CountLoadedSounds(), 1);
    EXPECT_EQ(mManager->FindFreeSoundId(), 0);
    WriteFile("sound/b.wav", MonoWav({1, 2}));
    EXPECT_EQ(mManager->FindOrLoadSound("sound/b"), 255) << "new sounds go to the highest free id";
    EXPECT_EQ(mManager->FindOrLoadSound("sound/a"), 10);
    EXPECT_EQ(mManager->FindOrLoadSound("sound/none"), -1);
    EXPECT_EQ(mManager->GetDataSize(255), 4u);

    // Unloading everything keeps the names: the earlier id comes back without
    // a load (the file is gone).
    mManager->UnloadAllSounds();
    EXPECT_EQ(mManager->CountLoadedSounds(), 0);
    Platform::RemoveFile("sound/b.wav");
    EXPECT_EQ(mManager->FindOrLoadSound("sound/b"), 255);
    EXPECT_EQ(mManager->CreateInstance(255), nullptr) << "but nothing is loaded there";

    // UnloadSound empties the name of a loaded id only.
    LoadConstant(10, 10, 1, "sound/a");
    mManager->UnloadSound(10);
    EXPECT_EQ(mManager->FindOrLoadSound("sound/a"), 255);
    EXPECT_FALSE(mManager->LoadSound(256, "sound/a"));
    EXPECT_FALSE(mManager->SetDefaultVolume(256, 1.0));
    EXPECT_FALSE(mManager->SetDefaultPan(256, 0));
    EXPECT_FALSE(mManager->LoadSound(4, "sound/none"));
    EXPECT_EQ(mManager->CountLoadedSounds(), 1);

    // Every reader fails on these: the id is left empty, not half-loaded.
    LoadConstant(5, 10, 1, "sound/bad");
    WriteFile("sound/bad.wav", Riff({Chunk("fmt ", FormatBody(1, 1, 44100, 16)), Chunk("data", {1, 2, 3, 4}, 400)}));
    WriteFile("sound/bad.au", AuFile(1, 8000, 1, {1, 2}, 50));
    EXPECT_FALSE(mManager->LoadSound(5, "sound/bad"));
    EXPECT_EQ(mManager->CreateInstance(5), nullptr);
    EXPECT_EQ(mManager->CountLoadedSounds(), 1);
}

TEST_F(DSoundManagerTest, MixerVolumeIsKeptByTheStandIn)
{
    mManager->SetMixerVolume(0.5);
    EXPECT_EQ(Mixer::GetMasterVolume(), 32767u);
    EXPECT_DOUBLE_EQ(mManager->GetMixerVolume(), 32767 / 65535.0);
    mManager->SetMixerVolume(1.0);
    EXPECT_DOUBLE_EQ(mManager->GetMixerVolume(), 1.0);
}

TEST_F(DSoundManagerTest, AFailedDuplicationShowsTheCodeAndEndsTheProgram)
{
    // The device refuses to duplicate its primary buffer.
    DSBufferDesc desc;
    desc.flags = kDSBufferPrimary;
    IDirectSoundBuffer* primary = nullptr;
    ASSERT_TRUE(DSSucceeded(mManager->GetDirectSound()->CreateSoundBuffer(&desc, &primary, nullptr)));
    EXPECT_EXIT(
        {
            setenv("LUMO_DEBUG_OUTPUT", "1", 1); // the headless box prints itself
            DSoundInstance instance(mManager.get(), primary);
        },
        ::testing::ExitedWithCode(0), "\\[message box\\] Hey: DSERR_INVALIDCALL");
    primary->Release();
}

TEST(SilentSoundManagerTest, WithoutWindowOrLibraryEverythingIsHarmless)
{
    Platform::ModuleHandle library = gDSoundLibrary;
    gDSoundLibrary = nullptr;
    int window = 0;
    for (SoundWindowHandle owner : {static_cast<SoundWindowHandle>(nullptr), static_cast<SoundWindowHandle>(&window)})
    {
        DSoundManager manager(owner, false);
        EXPECT_FALSE(manager.HasSoundDevice());
        EXPECT_TRUE(manager.LoadSound(3, "sound/whatever"));
        EXPECT_EQ(manager.CountLoadedSounds(), 0);
        EXPECT_EQ(manager.FindOrLoadSound("a"), 255);
        EXPECT_EQ(manager.FindOrLoadSound("a"), 255) << "nothing was stored";
        SoundInstance* instance = manager.CreateInstance(200);
        ASSERT_NE(instance, nullptr) << "a silent instance, even for an id never loaded";
        instance->SetPitch(3);
        instance->SetPan(100);
        EXPECT_FALSE(instance->Play(false, true));
        EXPECT_FALSE(instance->IsPlaying());
        EXPECT_EQ(manager.CreateInstance(256), nullptr);
        manager.SetEffectsVolume(0.3);
        manager.StopAllInstances();
    }
    gDSoundLibrary = library;
}

} // namespace
} // namespace Lumo
