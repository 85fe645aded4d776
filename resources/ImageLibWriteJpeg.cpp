// JPEG writer: encodes into memory with libjpeg, then replaces the file.
#include <cstdlib>

#include "platform/FileSystem.h"
#include "resources/ImageLib.h"
#include "resources/ImageLibFile.h"
#include "resources/ImageLibJpegError.h"
#include "resources/ImageLibPixels.h"

#include <jerror.h>

namespace Lumo::ImageLib {

namespace {

constexpr int kJpegQuality = 80;
constexpr size_t kFirstBufferSize = 64 * 1024;

// A destination manager collecting the encoded bytes in a malloc'd buffer
// that the writer frees.
struct MemoryDestination
{
    jpeg_destination_mgr pub;
    JOCTET* data;
    size_t capacity;
    size_t size;
};

MemoryDestination* Destination(j_compress_ptr info)
{
    return reinterpret_cast<MemoryDestination*>(info->dest);
}

void InitDestination(j_compress_ptr info)
{
    MemoryDestination* destination = Destination(info);
    destination->data = static_cast<JOCTET*>(std::malloc(kFirstBufferSize));
    if (destination->data == nullptr)
        ERREXIT1(info, JERR_OUT_OF_MEMORY, 0);
    destination->capacity = kFirstBufferSize;
    destination->pub.next_output_byte = destination->data;
    destination->pub.free_in_buffer = destination->capacity;
}

// Called with the whole buffer full: double it.
boolean EmptyOutputBuffer(j_compress_ptr info)
{
    MemoryDestination* destination = Destination(info);
    const size_t grown = destination->capacity * 2;
    auto* data = static_cast<JOCTET*>(std::realloc(destination->data, grown));
    if (data == nullptr)
        ERREXIT1(info, JERR_OUT_OF_MEMORY, 1);
    destination->data = data;
    destination->pub.next_output_byte = data + destination->capacity;
    destination->pub.free_in_buffer = grown - destination->capacity;
    destination->capacity = grown;
    return TRUE;
}

void TermDestination(j_compress_ptr info)
{
    MemoryDestination* destination = Destination(info);
    destination->size = destination->capacity - destination->pub.free_in_buffer;
}

// Everything the jump-protected encoder uses; trivially destructible.
struct JpegWriteState
{
    jpeg_compress_struct info;
    JpegErrorManager error;
    MemoryDestination destination;
};

bool EncodeJpeg(JpegWriteState& state, const Image& image)
{
    if (setjmp(state.error.jump))
        return false;
    jpeg_compress_struct& info = state.info;
    jpeg_create_compress(&info);
    info.image_width = static_cast<JDIMENSION>(image.GetWidth());
    info.image_height = static_cast<JDIMENSION>(image.GetHeight());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, kJpegQuality, TRUE);
    state.destination.pub.init_destination = &InitDestination;
    state.destination.pub.empty_output_buffer = &EmptyOutputBuffer;
    state.destination.pub.term_destination = &TermDestination;
    info.dest = &state.destination.pub;
    jpeg_start_compress(&info, TRUE);
    JSAMPARRAY row = info.mem->alloc_sarray(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                            info.image_width * 3, 1);
    const size_t width = info.image_width;
    while (info.next_scanline < info.image_height)
    {
        UnpackRow<3>(image.GetBits() + size_t(info.next_scanline) * width, row[0], width,
                     [](uint32_t pixel, JSAMPLE* rgb) {
                         rgb[0] = static_cast<JSAMPLE>(pixel >> 16);
                         rgb[1] = static_cast<JSAMPLE>(pixel >> 8);
                         rgb[2] = static_cast<JSAMPLE>(pixel);
                     });
        jpeg_write_scanlines(&info, row, 1);
    }
    jpeg_finish_compress(&info);
    return true;
}

struct CompressorGuard
{
    JpegWriteState* state;
    ~CompressorGuard()
    {
        jpeg_destroy_compress(&state->info);
        std::free(state->destination.data);
    }
};

} // namespace

bool WriteJpeg(const std::string& path, const Image& image)
{
    if (image.GetBits() == nullptr)
    {
        LogBadImage(path, "JPEG not written: empty image");
        return false;
    }
    JpegWriteState state{};
    state.info.err = InitJpegErrorManager(state.error, path.c_str());
    CompressorGuard guard{&state};
    if (!EncodeJpeg(state, image))
        return false;
    // A failed write logs its own line and leaves the old file as it was.
    return Platform::WriteFileAtomically(path, state.destination.data, state.destination.size);
}

} // namespace Lumo::ImageLib
