#pragma once
// The decoded-sound cache file: a WAV file with two extra chunks, "dep " (the
// source it was decoded from and that file's last-write time) and "xor " (the
// byte every data byte is scrambled with). Read back by ReadWavSound.
//
// Layout, little-endian, no pad bytes between chunks:
//   "RIFF" u32(L + 36) "WAVE"
//   "fmt " u32 16, u16 1, u16 channels, u32 rate, u32 rate*align, u16 align, u16 bits
//   "dep " u32(n + 10), u16 n, n bytes of source path, u32 time low, u32 time high
//   "xor " u32 1, u8 0x5E
//   "data" u32 L, L bytes each XORed with 0x5E
#include <cstdint>
#include <string>
#include <vector>

namespace Lumo {

constexpr uint8_t kSoundCacheScramble = 0x5E;

// The cache file of a sound name: dataFolder + "cached\\" + name + ".wav";
// "" for names that get no cache (2 characters or fewer, a leading '\\' or
// '/', ':' as the second character, or a ".." component between either slash),
// so the file never lands outside the data folder.
std::string SoundCachePath(const std::string& dataFolder, const std::string& name);

// The whole file; pcm is copied (scrambled), never changed. The path length
// is written as 16 bits (a longer path is cut to 65535 bytes).
std::vector<uint8_t> BuildSoundCacheFile(uint16_t channels, uint32_t sampleRate, uint16_t bitsPerSample,
                                         const std::string& sourcePath, uint64_t sourceWriteTime,
                                         const uint8_t* pcm, uint32_t pcmBytes);

} // namespace Lumo
