// JPEG reader over libjpeg, reading through the pack-file wrappers.
#include "resources/ImageLib.h"
#include "resources/ImageLibFile.h"
#include "resources/ImageLibJpegError.h"
#include "resources/ImageLibJpegWork.h"
#include "resources/ImageLibPixels.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include <jerror.h>

namespace Lumo::ImageLib {

namespace {

constexpr size_t kSourceBufferSize = 4096;

// The source manager: libjpeg's public fields, then our file and buffer.
struct PakSource
{
    jpeg_source_mgr pub;
    PFILE* file;
    JOCTET* buffer;
    boolean startOfFile;
};

PakSource* Source(j_decompress_ptr info)
{
    return reinterpret_cast<PakSource*>(info->src);
}

void InitSource(j_decompress_ptr info)
{
    Source(info)->startOfFile = TRUE;
}

boolean FillInputBuffer(j_decompress_ptr info)
{
    PakSource* source = Source(info);
    size_t count = PakFileRead(source->buffer, 1, kSourceBufferSize, source->file);
    if (count == 0)
    {
        if (source->startOfFile)
            ERREXIT(info, JERR_INPUT_EMPTY);
        // A cut-off file: warn and end the image, as the library expects.
        WARNMS(info, JWRN_JPEG_EOF);
        source->buffer[0] = 0xFF;
        source->buffer[1] = JPEG_EOI;
        count = 2;
    }
    source->pub.next_input_byte = source->buffer;
    source->pub.bytes_in_buffer = count;
    source->startOfFile = FALSE;
    return TRUE;
}

void SkipInputData(j_decompress_ptr info, long count)
{
    if (count <= 0)
        return;
    jpeg_source_mgr* source = info->src;
    while (count > static_cast<long>(source->bytes_in_buffer))
    {
        count -= static_cast<long>(source->bytes_in_buffer);
        source->fill_input_buffer(info);
    }
    source->next_input_byte += count;
    source->bytes_in_buffer -= static_cast<size_t>(count);
}

void TermSource(j_decompress_ptr) {}

// Installs a source manager reading the file (once per decompressor; later
// calls only restart the buffer).
void SetJpegPakSource(j_decompress_ptr info, PFILE* file)
{
    if (info->src == nullptr)
    {
        auto* source = static_cast<PakSource*>(
            info->mem->alloc_small(reinterpret_cast<j_common_ptr>(info), JPOOL_PERMANENT, sizeof(PakSource)));
        source->buffer = static_cast<JOCTET*>(
            info->mem->alloc_small(reinterpret_cast<j_common_ptr>(info), JPOOL_PERMANENT, kSourceBufferSize));
        info->src = &source->pub;
    }
    PakSource* source = Source(info);
    source->pub.init_source = &InitSource;
    source->pub.fill_input_buffer = &FillInputBuffer;
    source->pub.skip_input_data = &SkipInputData;
    source->pub.resync_to_restart = &jpeg_resync_to_restart;
    source->pub.term_source = &TermSource;
    source->file = file;
    source->pub.next_input_byte = nullptr;
    source->pub.bytes_in_buffer = 0;
}

// Everything the jump-protected steps share; trivially destructible.
struct JpegReadState
{
    jpeg_decompress_struct info;
    JpegErrorManager error;
    JpegWorkMeter meter;
    int64_t fileSize; // whole file, in bytes; 0 when unknown
    int64_t cost;     // the decode's memory estimate, for the log line
    int64_t allowed;  // what the file may cost
    bool direct;      // rows decode straight into the pixel array
};

// What a file may cost to decode, in bytes of memory: the picture, libjpeg's
// whole-image coefficient buffer (128 bytes a block) when the file has more
// than one scan, and libjpeg's row buffers.
//
// A Huffman code spends at least one bit on every symbol, and every 8x8 block
// of every component needs at least one symbol (its DC value), so a real file
// holds at least a bit a block. A file with less has lost its data, and
// libjpeg decodes the missing blocks as flat ones at full cost. So each byte
// of file pays for the picture and coefficients of 8 blocks, at most: about
// 3 KB for a grey progressive file (256 bytes of picture and 128 of
// coefficients a block), 2.3 KB for a 4:2:0 colour one. On top of that every
// file gets a fixed 32 MB, which covers the row buffers (under 6 MB even at
// the widest JPEG) and a picture of about 8M pixels. Real files thus always
// pass, up to the pixel bound, while a Huffman-coded file under 1 KB costs at
// most about 37 MB.
//
// Arithmetic coding has no such floor: a flat 4096 x 4096 picture codes into a
// few hundred bytes and still needs its whole coefficient buffer. Such files
// are held only by the pixel bound, the scan limit and libjpeg's own limit.
constexpr int64_t kBaseAllowance = 32LL * 1024 * 1024;
constexpr int64_t kMinimumBitsPerBlock = 1;

int64_t RoundUp(int64_t value, int64_t step)
{
    return (value + step - 1) / step * step;
}

// The memory estimate and the allowance, after the header and the output
// dimensions are known. The row buffers follow libjpeg's layout: per
// component ten row groups (with context rows for smooth upsampling) of
// v_samp_factor rows of padded component width, plus max_v_samp_factor
// output-wide rows for upsampling; then one output row for our conversion and
// the library's tables.
void EstimateCost(JpegReadState& state)
{
    const jpeg_decompress_struct& info = state.info;
    const bool wholeImage = info.buffered_image || jpeg_has_multiple_scans(&state.info);
    const int64_t width = info.output_width;
    const int64_t picture = width * int64_t{info.output_height} * 4;
    int64_t coefficients = 0;
    int64_t rows = width * 4 + 256 * 1024;
    int64_t blocks = 0;
    for (int c = 0; c < info.num_components; ++c)
    {
        const jpeg_component_info& component = info.comp_info[c];
        const int64_t across = component.width_in_blocks;
        const int64_t down = component.height_in_blocks;
        blocks += across * down;
        if (wholeImage)
            coefficients += RoundUp(across, component.h_samp_factor) * RoundUp(down, component.v_samp_factor) *
                            int64_t{sizeof(JBLOCK)};
        rows += 10 * int64_t{component.v_samp_factor} * across * DCTSIZE +
                int64_t{info.max_v_samp_factor} * RoundUp(width, info.max_h_samp_factor);
    }
    // The share of picture and coefficients the file's bytes can carry.
    const int64_t paidBlocks =
        info.arith_code ? blocks : std::min(blocks, state.fileSize * 8 / kMinimumBitsPerBlock);
    const int64_t paid = blocks > 0 ? (picture + coefficients) * paidBlocks / blocks : 0;
    state.cost = picture + coefficients + rows;
    state.allowed = kBaseAllowance + paid;
}

// Output colour space for the file's: 0xAARRGGBB straight from the library
// where it can, else samples that ConvertJpegRow turns into pixels.
bool ChooseOutput(JpegReadState& state)
{
    jpeg_decompress_struct& info = state.info;
    state.direct = false;
    switch (info.jpeg_color_space)
    {
    case JCS_GRAYSCALE:
    case JCS_YCbCr:
    case JCS_RGB:
#ifdef JCS_ALPHA_EXTENSIONS
        info.out_color_space = JCS_EXT_BGRA;
        state.direct = true;
#endif
        return true;
    case JCS_CMYK:
    case JCS_YCCK:
        info.out_color_space = JCS_CMYK;
        return true;
    default:
        return false;
    }
}

enum class StartResult
{
    Started,
    LibraryError, // already logged by the error manager
    Unsupported,  // a colour space the reader cannot show
    TooLarge,     // more pixels than kMaxImagePixels
    TooCostly,    // more memory than the file's size allows
};

// Header, cost check and decompression start: nothing big is allocated before
// the check passes.
StartResult StartJpegDecode(JpegReadState& state, PFILE* file)
{
    if (setjmp(state.error.jump))
        return StartResult::LibraryError;
    jpeg_decompress_struct& info = state.info;
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = kJpegMemoryLimit;
    InstallJpegWorkMeter(info, state.meter, state.fileSize);
    SetJpegPakSource(&info, file);
    jpeg_read_header(&info, TRUE);
    if (!ChooseOutput(state))
        return StartResult::Unsupported;
    jpeg_calc_output_dimensions(&info);
    if (int64_t{info.output_width} * int64_t{info.output_height} > kMaxImagePixels)
        return StartResult::TooLarge;
    EstimateCost(state);
    if (state.cost > state.allowed)
        return StartResult::TooCostly;
    // libjpeg checks its whole-image buffers against this before it takes them.
    const int64_t picture = int64_t{info.output_width} * int64_t{info.output_height} * 4;
    info.mem->max_memory_to_use = static_cast<long>(std::min<int64_t>(kJpegMemoryLimit, state.allowed - picture));
    jpeg_start_decompress(&info);
    return StartResult::Started;
}

std::string CostText(const JpegReadState& state)
{
    constexpr int64_t kMegabyte = 1024 * 1024;
    return "JPEG would take " + std::to_string((state.cost + kMegabyte - 1) / kMegabyte) +
           " MB to decode, more than a file of " + std::to_string(state.fileSize) + " bytes may";
}

// One row of samples as pixels. CMYK from Adobe files is stored inverted.
void ConvertJpegRow(const jpeg_decompress_struct& info, const JSAMPLE* row, uint32_t* pixels)
{
    const size_t width = info.output_width;
    if (info.out_color_space == JCS_CMYK)
    {
        const bool inverted = info.saw_Adobe_marker;
        ConvertRow<4>(row, pixels, width, [inverted](const JSAMPLE* s) {
            const uint32_t k = inverted ? s[3] : 255u - s[3];
            auto channel = [&](uint32_t v) { return (inverted ? v : 255u - v) * k / 255u; };
            return PackRgb(channel(s[0]), channel(s[1]), channel(s[2]));
        });
    }
    else if (info.output_components == 1)
        ConvertRow<1>(row, pixels, width, [](const JSAMPLE* s) { return PackRgb(s[0], s[0], s[0]); });
    else
        ConvertRow<3>(row, pixels, width, [](const JSAMPLE* s) { return PackRgb(s[0], s[1], s[2]); });
}

bool DecodeJpegRows(JpegReadState& state, uint32_t* pixels)
{
    if (setjmp(state.error.jump))
        return false;
    jpeg_decompress_struct& info = state.info;
    JSAMPARRAY buffer = nullptr;
    if (!state.direct)
        buffer = info.mem->alloc_sarray(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                        info.output_width * static_cast<JDIMENSION>(info.output_components), 1);
    while (info.output_scanline < info.output_height)
    {
        uint32_t* row = pixels + size_t(info.output_scanline) * info.output_width;
        if (state.direct)
        {
            JSAMPROW target = reinterpret_cast<JSAMPROW>(row);
            jpeg_read_scanlines(&info, &target, 1);
            continue;
        }
        jpeg_read_scanlines(&info, buffer, 1);
        ConvertJpegRow(info, buffer[0], row);
    }
    jpeg_finish_decompress(&info);
    return true;
}

struct DecompressorGuard
{
    jpeg_decompress_struct* info;
    ~DecompressorGuard() { jpeg_destroy_decompress(info); }
};

} // namespace

std::unique_ptr<Image> ReadJpeg(const std::string& path)
{
    PakFilePtr file = OpenImageFile(path);
    if (!file)
        return nullptr;
    JpegReadState state{};
    state.fileSize = BytesLeft(file.get()).value_or(0);
    state.info.err = InitJpegErrorManager(state.error, path.c_str());
    DecompressorGuard guard{&state.info};
    const StartResult started = StartJpegDecode(state, file.get());
    if (started == StartResult::Unsupported)
        LogBadImage(path, "JPEG colour space not supported");
    if (started == StartResult::TooLarge)
        LogBadImage(path, "JPEG image too large");
    if (started == StartResult::TooCostly)
        LogBadImage(path, CostText(state).c_str());
    if (started != StartResult::Started)
        return nullptr;
    auto image = std::make_unique<Image>();
    if (!image->Allocate(static_cast<int>(state.info.output_width), static_cast<int>(state.info.output_height)))
    {
        LogBadImage(path, "JPEG image too large");
        return nullptr;
    }
    if (!DecodeJpegRows(state, image->GetBits()))
        return nullptr;
    if (state.error.pub.num_warnings > 0)
        LogBadImage(path, state.error.firstWarning);
    return image;
}

} // namespace Lumo::ImageLib
