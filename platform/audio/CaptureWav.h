#pragma once
// The WAV image of captured mixer output: 44100 Hz, 16-bit, stereo PCM.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace Lumo::Platform {

// A complete RIFF/WAVE file holding `frames` interleaved stereo frames.
std::vector<uint8_t> MakeCaptureWav(const int16_t* samples, size_t frames);

} // namespace Lumo::Platform
