// PNG writer: encodes 8-bit RGBA into memory with libpng, then replaces the
// file. Same jump rule as the reader: owners live in WritePng's frame.
#include <cstdlib>
#include <cstring>

#include <png.h>

#include "platform/DebugOutput.h"
#include "platform/FileSystem.h"
#include "resources/ImageLib.h"
#include "resources/ImageLibFile.h"

namespace Lumo::ImageLib {

namespace {

// Everything the jump-protected encoder uses; trivially destructible.
struct PngWriteState
{
    png_structp png;
    png_infop info;
    const char* path;
    png_bytep data; // malloc'd encoded bytes, freed by the guard
    size_t size;
    size_t capacity;
};

void WritePngData(png_structp png, png_bytep data, size_t length)
{
    auto* state = static_cast<PngWriteState*>(png_get_io_ptr(png));
    if (length > state->capacity - state->size)
    {
        size_t grown = state->capacity < 4096 ? 4096 : state->capacity * 2;
        while (grown - state->size < length)
            grown *= 2;
        auto* bigger = static_cast<png_bytep>(std::realloc(state->data, grown));
        if (bigger == nullptr)
            png_error(png, "out of memory");
        state->data = bigger;
        state->capacity = grown;
    }
    std::memcpy(state->data + state->size, data, length);
    state->size += length;
}

void FlushPngData(png_structp) {}

[[noreturn]] void PngError(png_structp png, png_const_charp message)
{
    auto* state = static_cast<PngWriteState*>(png_get_error_ptr(png));
    Platform::Log("IMAGE", std::string(state->path) + ": PNG " + message);
    png_longjmp(png, 1);
}

void PngWarning(png_structp, png_const_charp) {}

// The image's 0xAARRGGBB words are B, G, R, A bytes: libpng swaps them to the
// file's R, G, B, A.
bool EncodePng(PngWriteState& state, const Image& image)
{
    if (setjmp(png_jmpbuf(state.png)))
        return false;
    png_set_write_fn(state.png, &state, &WritePngData, &FlushPngData);
    png_color_8 significant{};
    significant.red = significant.green = significant.blue = significant.alpha = 8;
    png_set_sBIT(state.png, state.info, &significant);
    png_set_IHDR(state.png, state.info, static_cast<png_uint_32>(image.GetWidth()),
                 static_cast<png_uint_32>(image.GetHeight()), 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(state.png, state.info);
    png_set_bgr(state.png);
    for (int y = 0; y < image.GetHeight(); ++y)
    {
        auto row = reinterpret_cast<png_bytep>(const_cast<uint32_t*>(image.GetBits()) + size_t(y) * size_t(image.GetWidth()));
        png_write_row(state.png, row);
    }
    png_write_end(state.png, nullptr);
    return true;
}

struct PngWriteGuard
{
    PngWriteState* state;
    ~PngWriteGuard()
    {
        if (state->png != nullptr)
            png_destroy_write_struct(&state->png, state->info != nullptr ? &state->info : nullptr);
        std::free(state->data);
    }
};

} // namespace

bool WritePng(const std::string& path, const Image& image)
{
    if (image.GetBits() == nullptr)
    {
        LogBadImage(path, "PNG not written: empty image");
        return false;
    }
    PngWriteState state{};
    state.path = path.c_str();
    PngWriteGuard guard{&state};
    state.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &state, &PngError, &PngWarning);
    if (state.png == nullptr || (state.info = png_create_info_struct(state.png)) == nullptr)
    {
        LogBadImage(path, "PNG writer could not start");
        return false;
    }
    if (!EncodePng(state, image))
        return false;
    // A failed write logs its own line and leaves the old file as it was.
    return Platform::WriteFileAtomically(path, state.data, state.size);
}

} // namespace Lumo::ImageLib
