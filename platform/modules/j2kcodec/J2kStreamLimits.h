#pragma once
// A look at a JPEG 2000 file's headers before OpenJPEG reads it: OpenJPEG
// sets up memory for every tile while it reads the main header and for every
// code block before it decodes a tile, so a file of a few hundred bytes can
// otherwise cost hundreds of megabytes and much of a second.
#include <cstddef>
#include <cstdint>

namespace Lumo::Platform {

enum class J2kStreamCheck
{
    Accepted,
    Malformed,        // no image size could be read
    OutOfProportion,  // decoding would cost far more than the file's size allows
};

// Reads the image and tile sizes, the components and the code-block and
// precinct sizes from the main header and every tile-part header (of a code
// stream or of a JP2 file's code stream box) and weighs the memory decoding
// would take against the file's size. The limits are in J2kStreamLimits.cpp.
J2kStreamCheck CheckJ2kStream(const uint8_t* data, size_t size);

} // namespace Lumo::Platform
