// The DirectSound stand-in module as its users see it: loaded by name, one
// entry point, buffers that play through the mixer.
#include "platform/ModuleLoader.h"
#include "platform/audio/DirectSoundApi.h"
#include "platform/audio/Mixer.h"
#include <gtest/gtest.h>
#include <cmath>
#include <cstring>

namespace Lumo {
namespace {

using Platform::Mixer;

class DirectSoundStandInTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Platform::ModuleHandle module = Platform::LoadModule("dsound.dll");
        ASSERT_NE(module, nullptr);
        auto create = reinterpret_cast<DirectSoundCreateFunction>(Platform::GetModuleEntry(module, "DirectSoundCreate"));
        ASSERT_NE(create, nullptr);
        EXPECT_EQ(create(nullptr, nullptr, nullptr), DSERR_INVALIDPARAM);
        ASSERT_EQ(create(nullptr, &mSound, nullptr), DS_OK);
        ASSERT_EQ(mSound->SetCooperativeLevel(&mWindow, kDSLevelPriority), DS_OK);
        Mixer::SetMasterVolume(Mixer::kMaxMasterVolume);
    }
    void TearDown() override
    {
        for (IDirectSoundBuffer* buffer : mBuffers)
            buffer->Release();
        if (mSound)
            mSound->Release();
    }

    // A mono 16-bit buffer holding the samples.
    IDirectSoundBuffer* MakeBuffer(const std::vector<int16_t>& samples, uint32_t flags = kDSSoundBufferFlags)
    {
        DSWaveFormat format{1, 1, 44100, 88200, 2, 16};
        DSBufferDesc desc;
        desc.flags = flags;
        desc.bufferBytes = uint32_t(samples.size() * 2);
        desc.format = &format;
        IDirectSoundBuffer* buffer = nullptr;
        EXPECT_EQ(mSound->CreateSoundBuffer(&desc, &buffer, nullptr), DS_OK);
        void* p1 = nullptr;
        void* p2 = nullptr;
        uint32_t n1 = 0, n2 = 0;
        EXPECT_EQ(buffer->Lock(0, desc.bufferBytes, &p1, &n1, &p2, &n2, 0), DS_OK);
        std::memcpy(p1, samples.data(), n1);
        EXPECT_EQ(buffer->Unlock(p1, n1, p2, n2), DS_OK);
        mBuffers.push_back(buffer);
        return buffer;
    }

    static std::vector<int16_t> Render(size_t frames)
    {
        std::vector<int16_t> out;
        Mixer::Get().RenderFrames(frames, &out);
        return out;
    }

    int mWindow = 0;
    IDirectSound* mSound = nullptr;
    std::vector<IDirectSoundBuffer*> mBuffers;
};

TEST_F(DirectSoundStandInTest, VolumeAndPanInHundredthsOfADecibel)
{
    IDirectSoundBuffer* buffer = MakeBuffer(std::vector<int16_t>(64, 10000));
    EXPECT_EQ(buffer->SetVolume(-600), DS_OK);
    EXPECT_EQ(buffer->SetVolume(1), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetVolume(-10001), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetPan(10001), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetPan(-1000), DS_OK); // right side 10 dB down
    ASSERT_EQ(buffer->Play(0, 0, kDSPlayLooping), DS_OK);
    const auto out = Render(4);
    EXPECT_NEAR(out[0], 10000 * std::pow(10.0, -0.3), 1.0); // about half
    EXPECT_NEAR(out[1], 10000 * std::pow(10.0, -0.3) * std::pow(10.0, -0.5), 1.0);
    int32_t volume = 0, pan = 0;
    buffer->GetVolume(&volume);
    buffer->GetPan(&pan);
    EXPECT_EQ(volume, -600);
    EXPECT_EQ(pan, -1000);

    EXPECT_EQ(buffer->SetVolume(-10000), DS_OK);
    EXPECT_EQ(Render(1), (std::vector<int16_t>{0, 0})) << "-10000 is silence";
}

TEST_F(DirectSoundStandInTest, PlayStatusPositionAndFrequency)
{
    IDirectSoundBuffer* buffer = MakeBuffer(std::vector<int16_t>(100, 1));
    uint32_t status = 99;
    EXPECT_EQ(buffer->GetStatus(&status), DS_OK);
    EXPECT_EQ(status, 0u);
    ASSERT_EQ(buffer->Play(0, 0, kDSPlayLooping), DS_OK);
    buffer->GetStatus(&status);
    EXPECT_EQ(status, kDSStatusPlaying | kDSStatusLooping);
    Render(30);
    uint32_t play = 0;
    buffer->GetCurrentPosition(&play, nullptr);
    EXPECT_EQ(play, 60u) << "bytes";
    EXPECT_EQ(buffer->SetCurrentPosition(200), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetCurrentPosition(180), DS_OK);
    buffer->Stop();
    buffer->GetStatus(&status);
    EXPECT_EQ(status, 0u);

    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    Render(10);
    buffer->GetStatus(&status);
    EXPECT_EQ(status, 0u) << "a one-shot has ended";

    uint32_t hz = 0;
    EXPECT_EQ(buffer->GetFrequency(&hz), DS_OK);
    EXPECT_EQ(hz, 44100u);
    EXPECT_EQ(buffer->SetFrequency(99), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetFrequency(100001), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetFrequency(100000), DS_OK);
    buffer->GetFrequency(&hz);
    EXPECT_EQ(hz, 100000u);
}

TEST_F(DirectSoundStandInTest, DuplicatesShareTheSamples)
{
    IDirectSoundBuffer* source = MakeBuffer({5, 5, 5, 5});
    source->SetVolume(-300);
    IDirectSoundBuffer* copy = nullptr;
    ASSERT_EQ(mSound->DuplicateSoundBuffer(source, &copy), DS_OK);
    mBuffers.push_back(copy);
    int32_t volume = 0;
    copy->GetVolume(&volume);
    EXPECT_EQ(volume, -300);
    copy->SetVolume(0);

    // Writing through the source is heard in the duplicate.
    void* p1 = nullptr;
    void* p2 = nullptr;
    uint32_t n1 = 0, n2 = 0;
    ASSERT_EQ(source->Lock(6, 4, &p1, &n1, &p2, &n2, 0), DS_OK);
    EXPECT_EQ(n1, 2u) << "the lock wraps at the end of the buffer";
    EXPECT_EQ(n2, 2u);
    const int16_t value = 1234;
    std::memcpy(p1, &value, 2);
    std::memcpy(p2, &value, 2);
    EXPECT_EQ(source->Unlock(p1, n1, p2, n2), DS_OK);
    ASSERT_EQ(copy->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(Render(4), (std::vector<int16_t>{1234, 1234, 5, 5, 5, 5, 1234, 1234}));

    // The samples outlive the source buffer.
    mBuffers.erase(mBuffers.begin());
    source->Release();
    copy->Play(0, 0, 0);
    EXPECT_EQ(Render(1), (std::vector<int16_t>{1234, 1234}));
}

TEST_F(DirectSoundStandInTest, RefusesWhatItCannotHold)
{
    DSWaveFormat format{1, 3, 44100, 264600, 6, 16};
    DSBufferDesc desc;
    desc.flags = kDSSoundBufferFlags;
    desc.bufferBytes = 600;
    desc.format = &format;
    IDirectSoundBuffer* buffer = nullptr;
    EXPECT_EQ(mSound->CreateSoundBuffer(&desc, &buffer, nullptr), DSERR_INVALIDPARAM) << "3 channels";
    format = DSWaveFormat{1, 2, 44100, 176400, 4, 16};
    desc.bufferBytes = kDSBufferSizeMax + 1;
    EXPECT_EQ(mSound->CreateSoundBuffer(&desc, &buffer, nullptr), DSERR_INVALIDPARAM);
    desc.bufferBytes = 0;
    EXPECT_EQ(mSound->CreateSoundBuffer(&desc, &buffer, nullptr), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer, nullptr);

    // The primary buffer takes the output format only at the priority level.
    DSBufferDesc primaryDesc;
    primaryDesc.flags = kDSBufferPrimary;
    IDirectSoundBuffer* primary = nullptr;
    ASSERT_EQ(mSound->CreateSoundBuffer(&primaryDesc, &primary, nullptr), DS_OK);
    EXPECT_EQ(primary->SetFormat(&format), DS_OK);
    mSound->SetCooperativeLevel(&mWindow, kDSLevelNormal);
    EXPECT_EQ(primary->SetFormat(&format), DSERR_INVALIDCALL);
    EXPECT_EQ(mSound->DuplicateSoundBuffer(primary, &buffer), DSERR_INVALIDCALL);
    primary->Release();
    EXPECT_EQ(mSound->SetCooperativeLevel(nullptr, kDSLevelNormal), DSERR_INVALIDPARAM);
}

} // namespace
} // namespace Lumo
