#pragma once
// The JPEG reader's progress monitor: it bounds the number of scans in a file
// and the decoding work of those scans by the file's size, and stops the
// decode (a log line, then the reader's jump) when a file asks for more.
#include <cstdint>

#include "resources/ImageLibJpegError.h"

namespace Lumo::ImageLib {

struct JpegWorkMeter
{
    jpeg_progress_mgr pub; // first: the library sees only this part
    int64_t fileSize;      // whole file, in bytes
    int scansCharged;      // scans whose blocks are counted in `blocks`
    int64_t blocks;        // blocks the counted scans cover, summed
};

// Resets the meter and makes it the decompressor's progress monitor. The
// meter must outlive the decompression.
void InstallJpegWorkMeter(jpeg_decompress_struct& info, JpegWorkMeter& meter, int64_t fileSize);

} // namespace Lumo::ImageLib
