#pragma once
// PCM buffers and their files: 16-bit PCM WAV, and Ogg Vorbis through
// libvorbisenc with a fixed stream serial number (so the bytes never change).
#include <cstddef>
#include <cstdint>
#include <vector>

namespace Lumo::AssetGen {

struct PcmBuffer
{
    int rate = 44100;
    int channels = 1;
    std::vector<float> samples; // interleaved, nominally -1..1

    size_t Frames() const { return channels > 0 ? samples.size() / static_cast<size_t>(channels) : 0; }
};

// Scales the buffer so that its peak is at the given level (0..1).
void Normalise(PcmBuffer& pcm, double peak);

// "RIFF"/"WAVE" with a 16-byte "fmt " chunk (PCM, 16 bits) and "data".
std::vector<uint8_t> EncodeWav(const PcmBuffer& pcm);
// An Ogg Vorbis stream of the given VBR quality (-0.1..1); empty on failure.
std::vector<uint8_t> EncodeOgg(const PcmBuffer& pcm, uint32_t serial, float quality);

} // namespace Lumo::AssetGen
