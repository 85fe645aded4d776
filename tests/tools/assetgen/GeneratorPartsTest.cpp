// The generator's building blocks: oscillators and fast maths, the WAV and
// Ogg Vorbis writers (the same bytes on every run; the game's readers decode
// the generated files in AssetFilesTest, a program without the Vorbis
// encoder, whose symbols would clash with the game's integer decoder), the
// note and drum notation, looping song tails, and the canvas's conversion to
// straight-alpha pixels and its cel sheets.
#include "app/pak/PakFormat.h"
#include "platform/FileSystem.h"
#include "tools/assetgen/AssetSink.h"
#include "tools/assetgen/AudioFiles.h"
#include "tools/assetgen/Canvas.h"
#include "tools/assetgen/Sequencer.h"
#include "tools/assetgen/Synth.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

namespace Lumo::AssetGen {
namespace {

TEST(GeneratorSynth, OscillatorsKeepPitchAndRangeAndFastMathsIsClose)
{
    Oscillator sine(WaveShape::Sine);
    int crossings = 0;
    double previous = sine.Next(441);
    for (int i = 1; i < kSampleRate; ++i)
    {
        const double v = sine.Next(441);
        crossings += (previous < 0) != (v < 0);
        previous = v;
    }
    EXPECT_NEAR(crossings, 882, 2);
    for (WaveShape shape : {WaveShape::Saw, WaveShape::Square, WaveShape::Pulse25, WaveShape::Triangle})
    {
        Oscillator osc(shape);
        double low = 0, high = 0;
        for (int i = 0; i < kSampleRate; ++i)
        {
            const double v = osc.Next(1000);
            low = std::min(low, v), high = std::max(high, v);
        }
        EXPECT_GT(high, 0.7);
        EXPECT_LT(high, 1.3);
        EXPECT_LT(low, -0.7);
        EXPECT_GT(low, -1.3);
    }
    for (double x = -40; x <= 0; x += 0.37)
        EXPECT_NEAR(FastExp(x) / std::exp(x), 1.0, 1e-6) << x;
    for (double p = -2; p < 2; p += 0.013)
        EXPECT_NEAR(SineCycles(p), std::sin(2 * 3.14159265358979323846 * p), 2e-6) << p;
}

PcmBuffer Tone(int channels, size_t frames)
{
    PcmBuffer pcm;
    pcm.channels = channels;
    Oscillator osc(WaveShape::Sine);
    for (size_t i = 0; i < frames; ++i)
    {
        const double v = 0.5 * osc.Next(440);
        for (int c = 0; c < channels; ++c)
            pcm.samples.push_back(static_cast<float>(c == 0 ? v : -v));
    }
    return pcm;
}

uint32_t Le32(const std::vector<uint8_t>& b, size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (uint32_t{b[at + 3]} << 24);
}

TEST(GeneratorFiles, WavIsPlainSixteenBitPcm)
{
    const PcmBuffer pcm = Tone(2, 1000);
    const std::vector<uint8_t> wav = EncodeWav(pcm);
    ASSERT_EQ(wav.size(), 44u + 4000u);
    EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
    EXPECT_EQ(Le32(wav, 4), 4000u + 36);
    EXPECT_EQ(std::string(wav.begin() + 8, wav.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(wav[20] | (wav[21] << 8), 1);      // PCM
    EXPECT_EQ(wav[22] | (wav[23] << 8), 2);      // channels
    EXPECT_EQ(Le32(wav, 24), 44100u);            // rate
    EXPECT_EQ(Le32(wav, 28), 44100u * 4);        // bytes a second
    EXPECT_EQ(wav[34] | (wav[35] << 8), 16);     // bits
    EXPECT_EQ(std::string(wav.begin() + 36, wav.begin() + 40), "data");
    EXPECT_EQ(Le32(wav, 40), 4000u);
    for (size_t i = 0; i < 2000; ++i)
    {
        const int16_t s = static_cast<int16_t>(wav[44 + i * 2] | (wav[45 + i * 2] << 8));
        EXPECT_NEAR(s / 32767.0, pcm.samples[i], 1.0 / 32767) << i;
    }
}

TEST(GeneratorFiles, OggIsTheSameBytesEveryTimeWithItsSerialAndLength)
{
    const PcmBuffer pcm = Tone(1, 30000);
    const std::vector<uint8_t> first = EncodeOgg(pcm, 0x12345678, 0.3f);
    const std::vector<uint8_t> second = EncodeOgg(pcm, 0x12345678, 0.3f);
    ASSERT_GT(first.size(), 100u);
    EXPECT_EQ(first, second);
    EXPECT_NE(first, EncodeOgg(pcm, 0x12345679, 0.3f));
    // Walk the pages: every one carries the serial; the last ends the stream
    // and its granule position is the stream's length in frames.
    size_t at = 0, pages = 0;
    uint64_t granule = 0;
    bool ended = false;
    while (at + 27 <= first.size())
    {
        ASSERT_EQ(std::string(first.begin() + at, first.begin() + at + 4), "OggS") << at;
        EXPECT_EQ(Le32(first, at + 14), 0x12345678u);
        granule = Le32(first, at + 6) | (uint64_t{Le32(first, at + 10)} << 32);
        ended = (first[at + 5] & 4) != 0;
        const size_t segments = first[at + 26];
        size_t body = 0;
        for (size_t i = 0; i < segments; ++i)
            body += first[at + 27 + i];
        at += 27 + segments + body;
        ++pages;
    }
    EXPECT_EQ(at, first.size());
    EXPECT_GE(pages, 3u);
    EXPECT_TRUE(ended);
    EXPECT_EQ(granule, 30000u);
}

TEST(GeneratorSequencer, NoteStringsAndDrumStepsBecomeEvents)
{
    Song song;
    EXPECT_DOUBLE_EQ(song.Notes(1, "C4:1 F#4:0.5 Bb3+D4:2 r:1 A4", Instrument::Bass, 0.5, 0.25, 12), 6.5);
    ASSERT_EQ(song.events.size(), 5u);
    const double expected[5][3] = {{1, 1, 72}, {2, 0.5, 78}, {2.5, 2, 70}, {2.5, 2, 74}, {5.5, 1, 81}};
    for (size_t i = 0; i < 5; ++i)
    {
        EXPECT_DOUBLE_EQ(song.events[i].beat, expected[i][0]) << i;
        EXPECT_DOUBLE_EQ(song.events[i].length, expected[i][1]) << i;
        EXPECT_DOUBLE_EQ(song.events[i].note, expected[i][2]) << i;
        EXPECT_DOUBLE_EQ(song.events[i].velocity, 0.5);
    }
    Song drums;
    drums.Steps(4, "x.o.....", Instrument::Kick, 36, 2, 0.8);
    ASSERT_EQ(drums.events.size(), 4u);
    EXPECT_DOUBLE_EQ(drums.events[1].beat, 4.5);
    EXPECT_DOUBLE_EQ(drums.events[1].velocity, 0.8 * 0.55);
    EXPECT_DOUBLE_EQ(drums.events[2].beat, 8);
}

TEST(GeneratorSequencer, LoopingSongsWrapTheirTailsIntoTheStart)
{
    for (bool loop : {true, false})
    {
        Song song;
        song.bpm = 120;
        song.beats = 4;
        song.loop = loop;
        song.reverb = 0;
        song.Notes(0, "C4:1", Instrument::Marimba); // keeps the buffer's scale
        song.Notes(3.9, "C5:0.1", Instrument::Bell); // rings past the end
        const PcmBuffer pcm = RenderSong(song);
        ASSERT_EQ(pcm.Frames(), static_cast<size_t>(2.0 * 44100));
        // Three quarters of a second in, the marimba has ended; only a wrapped
        // bell rings.
        double energy = 0;
        for (size_t i = 33075; i < 37000; ++i)
            energy += pcm.samples[i * 2] * pcm.samples[i * 2];
        if (loop)
            EXPECT_GT(energy, 1.0);
        else
            EXPECT_LT(energy, 1.0);
    }
}

TEST(GeneratorCanvas, PixelsComeOutStraightAndCelsStayInTheirPlace)
{
    Canvas canvas(4, 2);
    cairo_set_source_rgba(canvas.cr(), 1, 0, 0, 0.5);
    cairo_rectangle(canvas.cr(), 0, 0, 2, 2);
    cairo_fill(canvas.cr());
    const auto image = canvas.ToImage();
    const uint32_t half = image->GetBits()[0];
    EXPECT_NEAR(half >> 24, 128, 1);
    EXPECT_EQ((half >> 16) & 0xFF, 255u);
    EXPECT_EQ(half & 0xFFFF, 0u);
    EXPECT_EQ(image->GetBits()[3], 0u);

    // Each cel is painted in its own place and clipped to it.
    auto sheet = PaintSheet(3, 2, 3, 2, [](cairo_t* cr, int column, int row) {
        if (column == 1 && row == 1)
        {
            cairo_set_source_rgb(cr, 0, 0, 1);
            cairo_paint(cr);
        }
    });
    const auto cels = sheet->ToImage();
    ASSERT_EQ(cels->GetWidth(), 9);
    ASSERT_EQ(cels->GetHeight(), 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 9; ++x)
            EXPECT_EQ(cels->GetBits()[y * 9 + x], (x >= 3 && x < 6 && y >= 2) ? 0xFF0000FFu : 0u) << x << "," << y;
}

TEST(GeneratorSink, WritesFilesAndPacksAllButTheLooseOnes)
{
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        ("assetgen_sink_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::remove_all(folder);
    {
        AssetSink sink(folder.string());
        Canvas canvas(3, 2);
        sink.AddCanvas("images/dot.png", canvas);
        sink.AddFile("sound/beep.wav", EncodeWav(Tone(1, 10)));
        sink.AddFile("demo_board", std::vector<uint8_t>(154, 1), true);
        EXPECT_TRUE(sink.Ok());
        EXPECT_EQ(sink.FileCount(), 3);
        EXPECT_TRUE(Platform::FileExists((folder / "images/dot.png").string()));
        EXPECT_TRUE(Platform::FileExists((folder / "demo_board").string()));
        ASSERT_TRUE(sink.WritePack((folder / "main.pak").string()));
    }
    std::vector<uint8_t> pack;
    ASSERT_TRUE(Platform::ReadWholeFile((folder / "main.pak").string(), pack));
    std::vector<PakEntryInfo> entries;
    std::string error;
    ASSERT_TRUE(ParsePakDirectory(pack.data(), pack.size(), entries, error)) << error;
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "images/dot.png");
    EXPECT_EQ(entries[1].name, "sound/beep.wav");
    EXPECT_EQ(entries[1].size, 44u + 20u);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

} // namespace
} // namespace Lumo::AssetGen
