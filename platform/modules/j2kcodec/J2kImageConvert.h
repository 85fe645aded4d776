#pragma once
// Turns a decoded OpenJPEG image into 32-bit 0xAARRGGBB pixels.
#include <cstdint>

#include <openjpeg.h>

namespace Lumo::Platform {

// Writes the image (the size of its first component) into rows `pitch` bytes
// apart in a buffer of `size` bytes. One component is grey, two grey and
// alpha, three colour (sYCC converted to RGB), four colour and alpha; other
// components are ignored. Samples of any precision are scaled to 8 bits and
// smaller (subsampled) components are stretched. Without an alpha component
// pixels are opaque. False when the buffer is too small or a component has no
// samples.
bool J2kImageToArgb(const opj_image_t& image, uint8_t* buffer, int64_t size, int64_t pitch);

} // namespace Lumo::Platform
