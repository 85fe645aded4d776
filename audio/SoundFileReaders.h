#pragma once
// Readers of the sound files the sound manager loads. Each decodes a whole
// file, read through the pack-file wrappers (so it may come from the pack or
// from the disk), into PCM bytes that fit a sound buffer: 1 or 2 channels, 8
// (unsigned) or 16 (signed little-endian) bits, 100..100000 Hz, at least one
// frame and at most kMaxSoundBytes.
//
// A reader answers false when the file cannot be opened (quietly: the loader
// tries several names) or holds data it cannot use (with one log line); it
// never leaves partial results behind. Any thread.
#include <cstdint>
#include <string>
#include <vector>

namespace Lumo {

struct DecodedSound
{
    uint16_t channels = 1;
    uint32_t sampleRate = 22050;
    uint16_t bitsPerSample = 16;
    std::vector<uint8_t> pcm;

    uint32_t BlockAlign() const { return uint32_t(channels) * bitsPerSample / 8; }
};

constexpr uint32_t kMaxSoundBytes = 0x0FFFFFFF;

// Whether a sound buffer can hold this format and byte count.
bool IsStorableSound(uint16_t channels, uint32_t sampleRate, uint16_t bitsPerSample, uint64_t bytes);

// RIFF/WAVE with PCM data; also the reader of the decoded-sound cache (its
// "dep " chunk must name a source whose last-write time is unchanged, its
// "xor " chunk gives the byte the data is scrambled with).
[[nodiscard]] bool ReadWavSound(const std::string& path, DecodedSound& sound);
// Ogg Vorbis, decoded to 16 bits; the stream must state its length.
[[nodiscard]] bool ReadOggSound(const std::string& path, DecodedSound& sound);
// Sun audio (".snd"): 8-bit mu-law (to 16 bits) or 8-bit linear.
[[nodiscard]] bool ReadAuSound(const std::string& path, DecodedSound& sound);

// One mu-law byte as a 16-bit sample, by the table this program has always
// used (0xFF -> 0, 0x80 -> 1020, 0x00 -> -1020, 0x81 -> 30592).
int16_t MuLawToSample(uint8_t byte);

} // namespace Lumo
