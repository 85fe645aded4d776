#pragma once
// Small music files built byte by byte for the music tests, the committed Ogg
// fixture, and a per-test folder (current folder and data folder).
#include "tests/audio/SoundTestFiles.h"
#include <gtest/gtest.h>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace Lumo::MusicTest {

using SoundTest::Bytes;
using SoundTest::Put16;
using SoundTest::Put32;
using SoundTest::ReadFile;
using SoundTest::WriteFile;

// 0.2 s of a 440 Hz tone at half scale, mono 44100 Hz Ogg Vorbis.
constexpr size_t kToneOggFrames = 8820;
inline std::string ToneOggPath()
{
    return std::string(LUMO_MUSIC_TEST_DATA) + "/tone.ogg";
}

inline void PutText(Bytes& out, const char* text)
{
    while (*text)
        out.push_back(uint8_t(*text++));
}

// A mono 16-bit 44100 Hz WAV holding `frames` frames of a constant value.
inline Bytes ConstantWav(size_t frames, int16_t value)
{
    Bytes out;
    PutText(out, "RIFF");
    Put32(out, uint32_t(36 + frames * 2));
    PutText(out, "WAVEfmt ");
    Put32(out, 16);
    Put16(out, 1);
    Put16(out, 1);
    Put32(out, 44100);
    Put32(out, 88200);
    Put16(out, 2);
    Put16(out, 16);
    PutText(out, "data");
    Put32(out, uint32_t(frames * 2));
    for (size_t i = 0; i < frames; ++i)
        Put16(out, uint16_t(value));
    return out;
}

// A 4-channel ProTracker module of two orders (patterns 0 and 1), one tick a
// row: order 0 starts a looping square-wave note on channel 1 and breaks to
// the next order after two rows; order 1 silences the channel and ends after
// two rows. So the song sounds only when it plays order 0.
inline Bytes TwoOrderModule()
{
    Bytes out(20, 0); // title
    for (int sample = 0; sample < 31; ++sample)
    {
        Bytes header(30, 0);
        if (sample == 0)
        {
            header[22] = 0, header[23] = 16; // length 16 words
            header[25] = 64;                 // volume
            header[28] = 0, header[29] = 16; // loop length 16 words
        }
        out.insert(out.end(), header.begin(), header.end());
    }
    out.push_back(2);   // orders
    out.push_back(127); // restart
    Bytes orders(128, 0);
    orders[1] = 1;
    out.insert(out.end(), orders.begin(), orders.end());
    PutText(out, "M.K.");
    auto cell = [](int sample, int period, int effect, int parameter) {
        return Bytes{uint8_t((sample & 0xF0) | (period >> 8)), uint8_t(period & 0xFF),
                     uint8_t(((sample & 0x0F) << 4) | effect), uint8_t(parameter)};
    };
    for (int pattern = 0; pattern < 2; ++pattern)
    {
        for (int row = 0; row < 64; ++row)
        {
            for (int channel = 0; channel < 4; ++channel)
            {
                Bytes c = cell(0, 0, 0, 0);
                if (pattern == 0 && row == 0 && channel == 0)
                    c = cell(1, 214, 0, 0); // note with sample 1
                if (row == 0 && channel == 1)
                    c = cell(0, 0, 0xF, 1); // one tick a row
                if (pattern == 1 && row == 0 && channel == 0)
                    c = cell(0, 0, 0xC, 0); // volume 0
                if (row == 1 && channel == 1)
                    c = cell(0, 0, 0xD, 0); // on to the next order
                out.insert(out.end(), c.begin(), c.end());
            }
        }
    }
    for (int i = 0; i < 32; ++i)
        out.push_back(uint8_t(i < 16 ? 100 : 256 - 100)); // signed 8-bit square
    return out;
}

// MPEG-1 Layer III frames of silence (mono, 44100 Hz, 128 kbit/s): every side
// information and main data bit zero. Each frame holds 1152 frames of sound.
inline Bytes SilentMp3(int frames)
{
    Bytes out;
    for (int i = 0; i < frames; ++i)
    {
        Bytes frame(417, 0);
        frame[0] = 0xFF;
        frame[1] = 0xFB;
        frame[2] = 0x90;
        frame[3] = 0xC0;
        out.insert(out.end(), frame.begin(), frame.end());
    }
    return out;
}

// Peak absolute sample of interleaved frames.
inline int Peak(const std::vector<int16_t>& samples)
{
    int peak = 0;
    for (int16_t s : samples)
        peak = std::max(peak, std::abs(int(s)));
    return peak;
}

// A fresh folder for the running test, made the current folder; its "data/"
// subfolder is the application data folder.
class TestFolder : public SoundTest::TestFolder
{
public:
    TestFolder() : SoundTest::TestFolder("music-tests/") {}
};

} // namespace Lumo::MusicTest
