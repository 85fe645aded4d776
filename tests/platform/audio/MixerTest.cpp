// The mixer on the null output: what it renders for static and pull voices.
#include "platform/audio/Mixer.h"
#include <gtest/gtest.h>
#include <cstring>

namespace Lumo::Platform {
namespace {

std::shared_ptr<SampleData> MonoSamples(const std::vector<int16_t>& samples, uint32_t rate = 44100)
{
    auto data = std::make_shared<SampleData>(PcmFormat{1, 16, rate}, samples.size() * 2);
    std::memcpy(data->Bytes(), samples.data(), samples.size() * 2);
    return data;
}

// A voice that is destroyed with the test.
struct ScopedVoice
{
    explicit ScopedVoice(VoiceId voice) : id(voice) {}
    ~ScopedVoice() { Mixer::Get().DestroyVoice(id); }
    VoiceId id;
};

std::vector<int16_t> Render(size_t frames)
{
    std::vector<int16_t> out;
    EXPECT_EQ(Mixer::Get().RenderFrames(frames, &out), frames);
    return out;
}

class MixerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Mixer::Get().IsNullOutput());
        Mixer::SetMasterVolume(Mixer::kMaxMasterVolume);
    }
};

TEST_F(MixerTest, StaticVoicePlaysItsSamplesExactlyAtFullGain)
{
    ScopedVoice voice(Mixer::Get().CreateVoice(MonoSamples({100, -200, 300, 32767})));
    Mixer::Get().Play(voice.id, false);
    const auto out = Render(6);
    const std::vector<int16_t> expected = {100, 100, -200, -200, 300, 300, 32767, 32767, 0, 0, 0, 0};
    EXPECT_EQ(out, expected);
    EXPECT_FALSE(Mixer::Get().IsPlaying(voice.id)) << "a one-shot stops at its end";
    EXPECT_EQ(Mixer::Get().GetPosition(voice.id), 0u) << "and starts over when played again";
}

TEST_F(MixerTest, LoopingVoiceWrapsAndGainsApplyPerSide)
{
    ScopedVoice voice(Mixer::Get().CreateVoice(MonoSamples({1000, 2000, 3000})));
    Mixer::Get().SetGains(voice.id, 0.5f, 0.0f);
    Mixer::Get().Play(voice.id, true);
    const auto out = Render(7);
    const std::vector<int16_t> expected = {500, 0, 1000, 0, 1500, 0, 500, 0, 1000, 0, 1500, 0, 500, 0};
    EXPECT_EQ(out, expected);
    EXPECT_TRUE(Mixer::Get().IsPlaying(voice.id));
    EXPECT_TRUE(Mixer::Get().IsLooping(voice.id));
    EXPECT_EQ(Mixer::Get().GetPosition(voice.id), 1u);
}

TEST_F(MixerTest, VoicesAddAndTheSumClips)
{
    ScopedVoice a(Mixer::Get().CreateVoice(MonoSamples({20000, -20000, 100})));
    ScopedVoice b(Mixer::Get().CreateVoice(MonoSamples({20000, -20000, 50})));
    Mixer::Get().Play(a.id, false);
    Mixer::Get().Play(b.id, false);
    const auto out = Render(3);
    const std::vector<int16_t> expected = {32767, 32767, -32768, -32768, 150, 150};
    EXPECT_EQ(out, expected);
}

TEST_F(MixerTest, FormatsFrequencyAndMasterVolume)
{
    // 8-bit unsigned stereo: 0x80 is silence, 0xC0 is +16384.
    auto data = std::make_shared<SampleData>(PcmFormat{2, 8, 44100}, 4);
    const uint8_t bytes[4] = {0xC0, 0x40, 0x80, 0xFF};
    std::memcpy(data->Bytes(), bytes, 4);
    ScopedVoice stereo(Mixer::Get().CreateVoice(data));
    Mixer::Get().Play(stereo.id, false);
    EXPECT_EQ(Render(2), (std::vector<int16_t>{16384, -16384, 0, 32512}));

    // At twice its rate a voice advances two frames per output frame; halfway
    // frames are interpolated.
    ScopedVoice fast(Mixer::Get().CreateVoice(MonoSamples({0, 100, 200, 300, 400, 500})));
    Mixer::Get().SetFrequency(fast.id, 88200);
    Mixer::Get().Play(fast.id, false);
    EXPECT_EQ(Render(4), (std::vector<int16_t>{0, 0, 200, 200, 400, 400, 0, 0}));
    ScopedVoice slow(Mixer::Get().CreateVoice(MonoSamples({0, 100})));
    Mixer::Get().SetFrequency(slow.id, 22050);
    Mixer::Get().Play(slow.id, true);
    EXPECT_EQ(Render(3), (std::vector<int16_t>{0, 0, 50, 50, 100, 100}));
    Mixer::Get().Stop(slow.id);

    ScopedVoice quiet(Mixer::Get().CreateVoice(MonoSamples({30000})));
    Mixer::SetMasterVolume(Mixer::kMaxMasterVolume / 2);
    Mixer::Get().Play(quiet.id, false);
    EXPECT_EQ(Render(1), (std::vector<int16_t>{15000, 15000}));
    Mixer::SetMasterVolume(Mixer::kMaxMasterVolume);
}

TEST_F(MixerTest, SharedSampleDataLivesWhileAnyVoiceUsesIt)
{
    auto data = MonoSamples({7, 8});
    std::weak_ptr<SampleData> watch = data;
    VoiceId first = Mixer::Get().CreateVoice(data);
    VoiceId second = Mixer::Get().CreateVoice(data);
    data.reset();
    Mixer::Get().DestroyVoice(first);
    EXPECT_FALSE(watch.expired());
    Mixer::Get().Play(second, false);
    EXPECT_EQ(Render(1), (std::vector<int16_t>{7, 7}));
    Mixer::Get().DestroyVoice(second);
    EXPECT_TRUE(watch.expired());
    // Calls on a destroyed voice do nothing.
    Mixer::Get().Play(second, true);
    EXPECT_FALSE(Mixer::Get().IsPlaying(second));
}

// A stream of a ramp 0, 1, 2, ... of `total` frames, pulled in pieces.
class RampSource : public VoiceSource
{
public:
    explicit RampSource(size_t total) : mTotal(total) {}
    PcmFormat Format() const override { return PcmFormat{1, 16, 44100}; }
    size_t Pull(int16_t* out, size_t frames) override
    {
        size_t n = std::min(frames, mTotal - mNext);
        for (size_t i = 0; i < n; ++i)
            out[i] = int16_t(mNext++);
        ++pulls;
        return n;
    }
    int pulls = 0;

private:
    size_t mTotal;
    size_t mNext = 0;
};

TEST_F(MixerTest, PullVoiceStreamsUntilItsSourceEnds)
{
    auto source = std::make_shared<RampSource>(1500);
    ScopedVoice voice(Mixer::Get().CreateStreamVoice(source));
    Mixer::Get().Play(voice.id, true); // looping means nothing to a stream
    const auto out = Render(2000);
    for (size_t i = 0; i < 1500; ++i)
        ASSERT_EQ(out[2 * i], int16_t(i)) << "frame " << i;
    EXPECT_EQ(out[2 * 1500], 0);
    EXPECT_FALSE(Mixer::Get().IsPlaying(voice.id));
    EXPECT_EQ(Mixer::Get().GetPosition(voice.id), 1500u);
    EXPECT_GT(source->pulls, 1);
}

TEST_F(MixerTest, RenderUpdateAdvancesOneUpdateOfFrames)
{
    ScopedVoice voice(Mixer::Get().CreateVoice(MonoSamples(std::vector<int16_t>(1000, 1))));
    Mixer::Get().Play(voice.id, false);
    Mixer::RenderUpdate();
    EXPECT_EQ(Mixer::Get().GetPosition(voice.id), Mixer::kFramesPerUpdate);
}

} // namespace
} // namespace Lumo::Platform
