// PNG reader over libpng, reading through the pack-file wrappers.
//
// Jump rule: the functions that call setjmp and the callbacks libpng calls
// keep only trivially destructible locals; owners live in ReadPng's frame.
#include <cstdint>
#include <optional>
#include <vector>

#include <png.h>

#include "platform/DebugOutput.h"
#include "resources/ImageLib.h"
#include "resources/ImageLibFile.h"

namespace Lumo::ImageLib {

namespace {

// Everything the jump-protected steps share; trivially destructible.
struct PngReadState
{
    png_structp png;
    png_infop info;
    PFILE* file;
    const char* path;
    png_uint_32 width;
    png_uint_32 height;
};

void ReadPngData(png_structp png, png_bytep data, size_t length)
{
    auto* state = static_cast<PngReadState*>(png_get_io_ptr(png));
    if (PakFileRead(data, 1, length, state->file) != length)
        png_error(png, "Read Error");
}

[[noreturn]] void PngError(png_structp png, png_const_charp message)
{
    auto* state = static_cast<PngReadState*>(png_get_error_ptr(png));
    Platform::Log("IMAGE", std::string(state->path) + ": PNG " + message);
    png_longjmp(png, 1);
}

// Warnings (ancillary chunks, profiles) do not stop the image: ignored.
void PngWarning(png_structp, png_const_charp) {}

enum class StartResult
{
    Started,
    LibraryError, // already logged
    BadRowSize,
    DataCannotFit,
};

// Deflate gives at most this many bytes for each byte it reads.
constexpr uint64_t kMostDeflateExpansion = 1032;

// Whether the rows the header asks for (every interlace pass's rows, each with
// its filter byte) could come out of the bytes left in the file. A header that
// asks for more is a damaged or crafted file: it is refused before its pixels
// are allocated, so a few bytes never cost the memory of a huge image.
bool ImageDataCanFit(const PngReadState& state)
{
    const std::optional<int64_t> left = BytesLeft(state.file);
    if (!left)
        return true; // no size to judge by
    const uint64_t fileBytes = static_cast<uint64_t>(*left);
    const uint64_t limit =
        fileBytes > UINT64_MAX / kMostDeflateExpansion ? UINT64_MAX : fileBytes * kMostDeflateExpansion;
    const uint64_t pixelBits =
        uint64_t{png_get_bit_depth(state.png, state.info)} * png_get_channels(state.png, state.info);
    const bool interlaced = png_get_interlace_type(state.png, state.info) == PNG_INTERLACE_ADAM7;
    uint64_t total = 0;
    for (int pass = 0; pass < (interlaced ? 7 : 1); ++pass)
    {
        const uint64_t columns = interlaced ? PNG_PASS_COLS(state.width, pass) : state.width;
        const uint64_t rows = interlaced ? PNG_PASS_ROWS(state.height, pass) : state.height;
        if (columns == 0 || rows == 0)
            continue; // an empty pass has no rows, not even filter bytes
        const uint64_t rowBytes = 1 + (columns * pixelBits + 7) / 8;
        if (rows > (limit - total) / rowBytes)
            return false;
        total += rows * rowBytes;
    }
    return true;
}

// Header and the transformations to 8-bit B, G, R, A samples: palettes, grey
// and transparency expanded, 16-bit samples reduced, interlacing undone.
StartResult StartPngDecode(PngReadState& state)
{
    if (setjmp(png_jmpbuf(state.png)))
        return StartResult::LibraryError;
    png_read_info(state.png, state.info);
    state.width = png_get_image_width(state.png, state.info);
    state.height = png_get_image_height(state.png, state.info);
    if (!ImageDataCanFit(state))
        return StartResult::DataCannotFit;
    png_set_expand(state.png);
    png_set_strip_16(state.png);
    png_set_filler(state.png, 0xFF, PNG_FILLER_AFTER);
    png_set_gray_to_rgb(state.png);
    png_set_bgr(state.png);
    png_set_interlace_handling(state.png);
    png_read_update_info(state.png, state.info);
    if (png_get_rowbytes(state.png, state.info) != size_t(state.width) * 4)
        return StartResult::BadRowSize;
    return StartResult::Started;
}

bool DecodePngRows(PngReadState& state, png_bytepp rows)
{
    if (setjmp(png_jmpbuf(state.png)))
        return false;
    png_read_image(state.png, rows);
    png_read_end(state.png, nullptr);
    return true;
}

struct PngReadGuard
{
    PngReadState* state;
    ~PngReadGuard()
    {
        if (state->png != nullptr)
            png_destroy_read_struct(&state->png, state->info != nullptr ? &state->info : nullptr, nullptr);
    }
};

} // namespace

std::unique_ptr<Image> ReadPng(const std::string& path)
{
    PakFilePtr file = OpenImageFile(path);
    if (!file)
        return nullptr;
    PngReadState state{};
    state.file = file.get();
    state.path = path.c_str();
    PngReadGuard guard{&state};
    state.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &state, &PngError, &PngWarning);
    if (state.png == nullptr || (state.info = png_create_info_struct(state.png)) == nullptr)
        return nullptr;
    png_set_read_fn(state.png, &state, &ReadPngData);
    // The pixels need only IHDR, PLTE, tRNS and IDAT: every other chunk is
    // skipped unread, so a damaged length never makes libpng buffer it.
    png_set_keep_unknown_chunks(state.png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    const StartResult started = StartPngDecode(state);
    if (started == StartResult::BadRowSize)
        LogBadImage(path, "PNG row size not supported");
    if (started == StartResult::DataCannotFit)
        LogBadImage(path, "PNG image data cannot fit in the file (cut short or damaged)");
    if (started != StartResult::Started)
        return nullptr;
    auto image = std::make_unique<Image>();
    if (state.width > 0x7FFFFFFF || state.height > 0x7FFFFFFF ||
        !image->Allocate(static_cast<int>(state.width), static_cast<int>(state.height)))
    {
        LogBadImage(path, "PNG image too large");
        return nullptr;
    }
    std::vector<png_bytep> rows(state.height);
    for (png_uint_32 y = 0; y < state.height; ++y)
        rows[y] = reinterpret_cast<png_bytep>(image->GetBits() + size_t(y) * state.width);
    if (!DecodePngRows(state, rows.data()))
        return nullptr;
    return image;
}

} // namespace Lumo::ImageLib
