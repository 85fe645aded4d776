// JPEG reader over libjpeg, reading through the pack-file wrappers.
#include "resources/ImageLib.h"
#include "resources/ImageLibFile.h"
#include "resources/ImageLibJpegError.h"
#include "resources/ImageLibPixels.h"

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
    bool direct; // rows decode straight into the pixel array
};

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
};

// Header and decompression start.
StartResult StartJpegDecode(JpegReadState& state, PFILE* file)
{
    if (setjmp(state.error.jump))
        return StartResult::LibraryError;
    jpeg_create_decompress(&state.info);
    state.info.mem->max_memory_to_use = kJpegMemoryLimit;
    SetJpegPakSource(&state.info, file);
    jpeg_read_header(&state.info, TRUE);
    if (!ChooseOutput(state))
        return StartResult::Unsupported;
    jpeg_start_decompress(&state.info);
    return StartResult::Started;
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
    state.info.err = InitJpegErrorManager(state.error, path.c_str());
    DecompressorGuard guard{&state.info};
    const StartResult started = StartJpegDecode(state, file.get());
    if (started == StartResult::Unsupported)
        LogBadImage(path, "JPEG colour space not supported");
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
