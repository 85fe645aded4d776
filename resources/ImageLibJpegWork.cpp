#include "resources/ImageLibJpegWork.h"

#include <cstdio>

namespace Lumo::ImageLib {

namespace {

// No encoder writes more scans than this (libjpeg's progressive script uses
// at most 18, optimising encoders a few dozen); each scan costs a pass over
// the blocks it covers, however few bytes it has.
constexpr int kMaxScans = 256;

// Every scan walks all the 8x8 blocks it covers, data or not, at some 10 to
// 25 ns a block. A Huffman-coded file pays for that with its bytes: every
// component has a DC scan, and a DC scan spends at least one bit on each block
// it covers, so a real file holds at least a bit for each block of any of its
// scans (AC scans cover no more blocks than the DC scans before them). Each
// scan may thus cover 8 blocks per byte of the file; the fixed allowance on
// top covers MCU padding and pictures whose data was cut off, about eight
// passes over the largest picture the memory check lets a tiny file have.
//
// A file of 1 KB so gets at most about 1.8M block visits (some 90 scans fit
// in it), where it could otherwise ask for 90 passes over a 2400 x 2400
// picture.
//
// Arithmetic coding has no least size a block (a flat picture takes a few
// hundred bytes), so its files are bounded only by the scan limit.
constexpr int64_t kBaseBlocks = int64_t{1} << 20;
constexpr int64_t kBlocksPerByte = 8;

// Called by libjpeg before each step of input or output; charges each new
// scan once, when the library has set it up and before any of it is decoded.
void MeterScans(j_common_ptr common)
{
    auto* info = reinterpret_cast<j_decompress_ptr>(common);
    auto* meter = reinterpret_cast<JpegWorkMeter*>(info->progress);
    const int scans = info->input_scan_number;
    if (scans <= meter->scansCharged)
        return;
    meter->scansCharged = scans;
    // Plain buffers: the failure jumps past this frame.
    char text[96];
    if (scans > kMaxScans)
    {
        std::snprintf(text, sizeof text, "JPEG has more than %d scans", kMaxScans);
        JpegFail(common, text);
    }
    meter->blocks += int64_t{info->MCUs_per_row} * int64_t{info->MCU_rows_in_scan} * int64_t{info->blocks_in_MCU};
    if (!info->arith_code && meter->blocks > kBaseBlocks + scans * kBlocksPerByte * meter->fileSize)
    {
        std::snprintf(text, sizeof text, "JPEG scans cover more blocks than a file of %lld bytes may",
                      static_cast<long long>(meter->fileSize));
        JpegFail(common, text);
    }
}

} // namespace

void InstallJpegWorkMeter(jpeg_decompress_struct& info, JpegWorkMeter& meter, int64_t fileSize)
{
    meter = {};
    meter.pub.progress_monitor = &MeterScans;
    meter.fileSize = fileSize;
    info.progress = &meter.pub;
}

} // namespace Lumo::ImageLib
