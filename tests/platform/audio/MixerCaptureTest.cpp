// LUMO_AUDIO_CAPTURE: what the mixer produced is written as a WAV file.
#include "platform/FileSystem.h"
#include "platform/audio/Mixer.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <cstring>

namespace Lumo::Platform {
namespace {

uint32_t U32At(const std::vector<uint8_t>& bytes, size_t at)
{
    return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
           uint32_t(bytes[at + 3]) << 24;
}

TEST(MixerCaptureTest, WritesEverythingRenderedAsAWavFileAtShutdown)
{
    if (!std::getenv("LUMO_AUDIO_CAPTURE"))
        setenv("LUMO_AUDIO_CAPTURE", (testing::TempDir() + "capture/audio.wav").c_str(), 1);
    const char* path = std::getenv("LUMO_AUDIO_CAPTURE");
    const std::string folder = std::string(path).substr(0, std::string(path).find_last_of('/'));
    CreateDirectories(folder);
    RemoveFile(path);

    auto data = std::make_shared<SampleData>(PcmFormat{1, 16, 44100}, 4);
    const int16_t samples[2] = {300, -300};
    std::memcpy(data->Bytes(), samples, 4);
    VoiceId voice = Mixer::Get().CreateVoice(data);
    Mixer::Get().Play(voice, true);
    Mixer::RenderUpdate();
    Mixer::RenderUpdate();
    Mixer::Get().DestroyVoice(voice);
    Mixer::ShutdownIfCreated();

    std::vector<uint8_t> wav;
    ASSERT_TRUE(ReadWholeFile(path, wav));
    const size_t frames = 2 * Mixer::kFramesPerUpdate;
    ASSERT_EQ(wav.size(), 44 + frames * 4);
    EXPECT_EQ(std::memcmp(wav.data(), "RIFF", 4), 0);
    EXPECT_EQ(U32At(wav, 4), 36 + frames * 4);
    EXPECT_EQ(std::memcmp(wav.data() + 8, "WAVEfmt ", 8), 0);
    EXPECT_EQ(U32At(wav, 24), 44100u);
    EXPECT_EQ(U32At(wav, 28), 176400u);
    EXPECT_EQ(U32At(wav, 40), frames * 4);
    int16_t first[4];
    std::memcpy(first, wav.data() + 44, 8);
    EXPECT_EQ(first[0], 300);
    EXPECT_EQ(first[1], 300);
    EXPECT_EQ(first[2], -300);
    EXPECT_EQ(first[3], -300);

    // A second shutdown writes nothing new.
    RemoveFile(path);
    Mixer::ShutdownIfCreated();
    EXPECT_FALSE(FileExists(path));
}

} // namespace
} // namespace Lumo::Platform
