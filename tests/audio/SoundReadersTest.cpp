// The sound-file readers on well-formed and malformed files.
#include "audio/SoundFileReaders.h"
#include "tests/audio/SoundTestFiles.h"
#include <algorithm>
#include <cstdlib>

namespace Lumo {
namespace {

using namespace SoundTest;

class SoundReadersTest : public ::testing::Test
{
protected:
    bool ReadWav(const Bytes& bytes, DecodedSound& sound)
    {
        WriteFile("sound.wav", bytes);
        return ReadWavSound("sound.wav", sound);
    }
    bool ReadAu(const Bytes& bytes, DecodedSound& sound)
    {
        WriteFile("sound.au", bytes);
        return ReadAuSound("sound.au", sound);
    }
    TestFolder mFolder;
};

TEST_F(SoundReadersTest, WavChunksInAnyOrderWithPadBytes)
{
    DecodedSound sound;
    // "data" before any "fmt ": 22050 Hz, 16-bit mono.
    ASSERT_TRUE(ReadWav(Riff({Chunk("data", Samples16({1, 2, 3}))}), sound));
    EXPECT_EQ(sound.channels, 1);
    EXPECT_EQ(sound.sampleRate, 22050u);
    EXPECT_EQ(sound.bitsPerSample, 16);
    EXPECT_EQ(sound.pcm, Samples16({1, 2, 3}));

    // An odd-sized chunk is followed by a pad byte that is not a chunk.
    const Bytes list = {'I', 'N', 'F'};
    ASSERT_TRUE(ReadWav(Riff({Chunk("LIST", list), Chunk("fmt ", FormatBody(1, 2, 8000, 8)),
                              Chunk("data", {0x80, 0x81, 0x82, 0x83})}),
                        sound));
    EXPECT_EQ(sound.channels, 2);
    EXPECT_EQ(sound.sampleRate, 8000u);
    EXPECT_EQ(sound.bitsPerSample, 8);
    EXPECT_EQ(sound.pcm, (Bytes{0x80, 0x81, 0x82, 0x83}));

    // The cache's "xor " chunk is odd-sized but written without a pad byte.
    ASSERT_TRUE(ReadWav(Riff({Chunk("xor ", {0x0F}, -1, false), Chunk("data", {0xF0, 0x00})}), sound));
    EXPECT_EQ(sound.pcm, (Bytes{0xFF, 0x0F}));
}

TEST_F(SoundReadersTest, WavFilesThatAreRefused)
{
    DecodedSound sound;
    const Bytes data = Chunk("data", Samples16({5, 6}));
    EXPECT_FALSE(ReadWav(Riff({Chunk("fmt ", FormatBody(3, 1, 44100, 32)), data}), sound)) << "not PCM";
    EXPECT_FALSE(ReadWav(Riff({Chunk("fmt ", FormatBody(1, 0, 44100, 16)), data}), sound)) << "0 channels";
    EXPECT_FALSE(ReadWav(Riff({Chunk("fmt ", FormatBody(1, 6, 44100, 16)), data}), sound)) << "6 channels";
    EXPECT_FALSE(ReadWav(Riff({Chunk("fmt ", FormatBody(1, 1, 44100, 24)), data}), sound)) << "24 bits";
    EXPECT_FALSE(ReadWav(Riff({Chunk("fmt ", FormatBody(1, 1, 5, 16)), data}), sound)) << "5 Hz";
    EXPECT_FALSE(ReadWav(Riff({Chunk("fmt ", {1, 0, 1, 0}), data}), sound)) << "short fmt chunk";
    EXPECT_FALSE(ReadWav(Riff({Chunk("data", {})}), sound)) << "no samples";
    EXPECT_FALSE(ReadWav(Riff({Chunk("data", Samples16({1, 2}), 0xFFFFFFF0)}), sound)) << "data past the end";
    EXPECT_FALSE(ReadWav(Riff({Chunk("fmt ", FormatBody(1, 1, 44100, 16))}), sound)) << "no data chunk";
    EXPECT_FALSE(ReadWav({'R', 'I', 'F', 'F', 0, 0, 0, 0, 'A', 'V', 'I', ' '}, sound));
    EXPECT_FALSE(ReadWavSound("missing.wav", sound));

    // Chunk sizes that would step back (or stand still) in 32-bit arithmetic
    // end the walk instead of looping forever.
    for (uint32_t size : {0xFFFFFFF8u, 0xFFFFFFF7u, 0xFFFFFFFFu, 0x7FFFFFFFu})
        EXPECT_FALSE(ReadWav(Riff({Chunk("junk", {1, 2, 3, 4}, size), data}), sound)) << size;
    EXPECT_TRUE(sound.pcm.empty()) << "a refused file leaves nothing behind";
}

TEST_F(SoundReadersTest, AuMuLawAndLinear)
{
    EXPECT_EQ(MuLawToSample(0xFF), 0);
    EXPECT_EQ(MuLawToSample(0x80), 1020);
    EXPECT_EQ(MuLawToSample(0x00), -1020);
    EXPECT_EQ(MuLawToSample(0x81), 30592);
    EXPECT_EQ(MuLawToSample(0x01), -30592);
    EXPECT_EQ(MuLawToSample(0xF0), 120);

    DecodedSound sound;
    ASSERT_TRUE(ReadAu(AuFile(1, 8000, 1, {0xFF, 0x80, 0x00, 0x81}, 4), sound));
    EXPECT_EQ(sound.bitsPerSample, 16);
    EXPECT_EQ(sound.sampleRate, 8000u);
    EXPECT_EQ(sound.pcm, Samples16({0, 1020, -1020, 30592}));

    // Signed 8-bit in the file, unsigned in the buffer; the header may be
    // longer than 24 bytes.
    ASSERT_TRUE(ReadAu(AuFile(2, 11025, 2, {0x00, 0x7F, 0x80, 0xFF}, 4, 32), sound));
    EXPECT_EQ(sound.channels, 2);
    EXPECT_EQ(sound.bitsPerSample, 8);
    EXPECT_EQ(sound.pcm, (Bytes{0x80, 0xFF, 0x00, 0x7F}));

    // A size of 0xFFFFFFFF means "unknown": read to the end of the file.
    ASSERT_TRUE(ReadAu(AuFile(2, 8000, 1, {1, 2, 3}, 0xFFFFFFFF), sound));
    EXPECT_EQ(sound.pcm.size(), 3u);
}

TEST_F(SoundReadersTest, AuFilesThatAreRefused)
{
    DecodedSound sound;
    EXPECT_FALSE(ReadAu(AuFile(1, 8000, 1, {1, 2}, 100), sound)) << "shorter than stated";
    EXPECT_FALSE(ReadAu(AuFile(1, 8000, 1, {}, 0), sound)) << "no samples";
    EXPECT_FALSE(ReadAu(AuFile(3, 8000, 1, {1, 2}, 2), sound)) << "16-bit linear is not supported";
    EXPECT_FALSE(ReadAu(AuFile(1, 8000, 0, {1, 2}, 2), sound)) << "0 channels";
    EXPECT_FALSE(ReadAu(AuFile(1, 8000, 7, {1, 2}, 2), sound)) << "7 channels";
    EXPECT_FALSE(ReadAu(AuFile(1, 0, 1, {1, 2}, 2), sound)) << "0 Hz";
    EXPECT_FALSE(ReadAu(AuFile(1, 8000, 1, {1, 2}, 0x80000001), sound)) << "twice the size overflows";
    Bytes badOffset = AuFile(1, 8000, 1, {1, 2}, 2);
    badOffset[7] = 200;
    EXPECT_FALSE(ReadAu(badOffset, sound)) << "data offset past the end";
    EXPECT_FALSE(ReadAu({'.', 's', 'n', 'd', 0, 0}, sound)) << "short header";
}

TEST_F(SoundReadersTest, OggVorbisDecodesToItsStatedLength)
{
    const Bytes ogg = ReadFile(std::string(LUMO_AUDIO_TEST_DATA) + "/tone.ogg");
    ASSERT_FALSE(ogg.empty());
    WriteFile("tone.ogg", ogg);
    DecodedSound sound;
    ASSERT_TRUE(ReadOggSound("tone.ogg", sound));
    EXPECT_EQ(sound.channels, 1);
    EXPECT_EQ(sound.sampleRate, 22050u);
    EXPECT_EQ(sound.bitsPerSample, 16);
    EXPECT_EQ(sound.pcm.size(), 1102u * 2);
    int peak = 0;
    for (size_t i = 0; i + 1 < sound.pcm.size(); i += 2)
        peak = std::max(peak, std::abs(int(int16_t(sound.pcm[i] | sound.pcm[i + 1] << 8))));
    EXPECT_GT(peak, 8000) << "a half-scale sine";

    // Cut inside its headers, or not Vorbis at all: refused.
    WriteFile("cut.ogg", Bytes(ogg.begin(), ogg.begin() + 200));
    EXPECT_FALSE(ReadOggSound("cut.ogg", sound));
    WriteFile("noise.ogg", Bytes(300, 0x4F));
    EXPECT_FALSE(ReadOggSound("noise.ogg", sound));
    EXPECT_FALSE(ReadOggSound("missing.ogg", sound));
}

} // namespace
} // namespace Lumo
