// The JPEG 2000 codec module over OpenJPEG: reads a whole stream into memory,
// decodes it and hands out 32-bit 0xAARRGGBB rows.
#include <algorithm>
#include <atomic>
#include <cstring>
#include <fstream>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include <openjpeg.h>

#include "platform/modules/j2kcodec/J2kCodecApi.h"
#include "platform/modules/j2kcodec/J2kImageConvert.h"
#include "platform/modules/j2kcodec/J2kStreamLimits.h"

#define J2K_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr int32_t kVersion = 0x120000;
constexpr size_t kMaxStreamBytes = size_t{256} << 20;
constexpr int64_t kMaxPixels = int64_t{1} << 24; // as many as the image reader takes
constexpr int32_t kHeaderNotRead = -1;

// The error of the last call that failed. Process-wide, not per thread: images
// are decoded on one thread at a time, and a module that is unloaded must not
// leave thread-local storage behind in the threads that called it.
std::atomic<int32_t> gLastError{J2K_ERROR_NONE};

int32_t Fail(int32_t error)
{
    gLastError = error;
    return error;
}

J2K_Handle FailOpen(int32_t error)
{
    gLastError = error;
    return nullptr;
}

// Reading position in the stream bytes, for OpenJPEG's stream callbacks.
struct MemoryStream
{
    const uint8_t* data;
    size_t size;
    size_t position;
};

OPJ_SIZE_T StreamRead(void* buffer, OPJ_SIZE_T size, void* user)
{
    auto* stream = static_cast<MemoryStream*>(user);
    const size_t count = std::min(size, stream->size - stream->position);
    if (count == 0)
        return static_cast<OPJ_SIZE_T>(-1);
    std::memcpy(buffer, stream->data + stream->position, count);
    stream->position += count;
    return count;
}

OPJ_OFF_T StreamSkip(OPJ_OFF_T count, void* user)
{
    auto* stream = static_cast<MemoryStream*>(user);
    const auto target = static_cast<int64_t>(stream->position) + count;
    if (target < 0 || target > static_cast<int64_t>(stream->size))
        return -1;
    stream->position = static_cast<size_t>(target);
    return count;
}

OPJ_BOOL StreamSeek(OPJ_OFF_T position, void* user)
{
    auto* stream = static_cast<MemoryStream*>(user);
    if (position < 0 || position > static_cast<OPJ_OFF_T>(stream->size))
        return OPJ_FALSE;
    stream->position = static_cast<size_t>(position);
    return OPJ_TRUE;
}

void IgnoreMessage(const char*, void*) {}

struct CodecDeleter
{
    void operator()(opj_codec_t* codec) const { opj_destroy_codec(codec); }
};
struct StreamDeleter
{
    void operator()(opj_stream_t* stream) const { opj_stream_destroy(stream); }
};
struct ImageDeleter
{
    void operator()(opj_image_t* image) const { opj_image_destroy(image); }
};

// One open stream: its bytes, and the OpenJPEG decoder once the header is read.
struct Decoder
{
    std::vector<uint8_t> bytes;
    void* user = nullptr;
    J2K_Callbacks callbacks{};
    MemoryStream memory{};
    std::unique_ptr<opj_codec_t, CodecDeleter> codec;
    std::unique_ptr<opj_stream_t, StreamDeleter> stream;
    std::unique_ptr<opj_image_t, ImageDeleter> image;
    int32_t headerResult = kHeaderNotRead; // once read, what every later call answers
    bool decoded = false;
};

OPJ_CODEC_FORMAT DetectFormat(const std::vector<uint8_t>& bytes)
{
    static const uint8_t kJp2[] = {0, 0, 0, 0x0C, 'j', 'P', ' ', ' ', 0x0D, 0x0A, 0x87, 0x0A};
    static const uint8_t kCodestream[] = {0xFF, 0x4F, 0xFF, 0x51};
    if (bytes.size() >= sizeof(kJp2) && std::memcmp(bytes.data(), kJp2, sizeof(kJp2)) == 0)
        return OPJ_CODEC_JP2;
    if (bytes.size() >= sizeof(kCodestream) && std::memcmp(bytes.data(), kCodestream, sizeof(kCodestream)) == 0)
        return OPJ_CODEC_J2K;
    return OPJ_CODEC_UNKNOWN;
}

// Sets up OpenJPEG over the bytes and reads the main header, once the file
// has shown that decoding it costs no more than its size allows.
int32_t ReadHeaderOnce(Decoder& decoder)
{
    const OPJ_CODEC_FORMAT format = DetectFormat(decoder.bytes);
    if (format == OPJ_CODEC_UNKNOWN)
        return J2K_ERROR_FORMAT;
    switch (Lumo::Platform::CheckJ2kStream(decoder.bytes.data(), decoder.bytes.size()))
    {
    case Lumo::Platform::J2kStreamCheck::Accepted: break;
    case Lumo::Platform::J2kStreamCheck::Malformed: return J2K_ERROR_HEADER;
    case Lumo::Platform::J2kStreamCheck::OutOfProportion: return J2K_ERROR_LIMITS;
    }
    decoder.codec.reset(opj_create_decompress(format));
    decoder.stream.reset(opj_stream_create(OPJ_J2K_STREAM_CHUNK_SIZE, OPJ_TRUE));
    if (!decoder.codec || !decoder.stream)
        return J2K_ERROR_MEMORY;
    opj_set_error_handler(decoder.codec.get(), &IgnoreMessage, nullptr);
    opj_set_warning_handler(decoder.codec.get(), &IgnoreMessage, nullptr);
    opj_set_info_handler(decoder.codec.get(), &IgnoreMessage, nullptr);
    decoder.memory = MemoryStream{decoder.bytes.data(), decoder.bytes.size(), 0};
    opj_stream_t* stream = decoder.stream.get();
    opj_stream_set_user_data(stream, &decoder.memory, nullptr);
    opj_stream_set_user_data_length(stream, decoder.bytes.size());
    opj_stream_set_read_function(stream, &StreamRead);
    opj_stream_set_skip_function(stream, &StreamSkip);
    opj_stream_set_seek_function(stream, &StreamSeek);
    opj_dparameters_t parameters;
    opj_set_default_decoder_parameters(&parameters);
    opj_image_t* image = nullptr;
    if (!opj_setup_decoder(decoder.codec.get(), &parameters) ||
        !opj_read_header(stream, decoder.codec.get(), &image))
    {
        opj_image_destroy(image);
        return J2K_ERROR_HEADER;
    }
    decoder.image.reset(image);
    const auto grid = Lumo::Platform::J2kPictureGrid(*image, 0);
    if (!grid || int64_t{grid->width} * grid->height > kMaxPixels)
        return J2K_ERROR_HEADER;
    return J2K_ERROR_NONE;
}

int32_t ReadHeader(Decoder& decoder)
{
    if (decoder.headerResult == kHeaderNotRead)
        decoder.headerResult = ReadHeaderOnce(decoder);
    return decoder.headerResult == J2K_ERROR_NONE ? J2K_ERROR_NONE : Fail(decoder.headerResult);
}

// Appends without letting an allocation failure escape to the caller.
bool Append(std::vector<uint8_t>& bytes, const uint8_t* data, size_t count)
{
    try
    {
        bytes.insert(bytes.end(), data, data + count);
        return true;
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
}

Decoder* ToDecoder(J2K_Handle handle)
{
    return static_cast<Decoder*>(handle);
}

// "bpp=4,rl=N": false on any other option or value.
bool ParseOptions(const char* options, int& level)
{
    level = 0;
    if (options == nullptr)
        return true;
    std::string text(options);
    size_t start = 0;
    while (start < text.size())
    {
        size_t end = text.find(',', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string option = text.substr(start, end - start);
        if (option.rfind("rl=", 0) == 0 && option.size() > 3 && option.size() < 6 &&
            option.find_first_not_of("0123456789", 3) == std::string::npos)
            level = std::stoi(option.substr(3));
        else if (option != "bpp=4")
            return false;
        start = end + 1;
    }
    return true;
}

} // namespace

J2K_EXPORT int32_t J2K_getVersion()
{
    return kVersion;
}

J2K_EXPORT J2K_Handle J2K_OpenCustom(void* user, const J2K_Callbacks* callbacks)
{
    if (callbacks == nullptr || callbacks->read == nullptr || callbacks->seek == nullptr)
        return FailOpen(J2K_ERROR_ARGUMENT);
    auto decoder = std::unique_ptr<Decoder>(new (std::nothrow) Decoder);
    if (!decoder || callbacks->seek(user, 0) != 0)
        return FailOpen(decoder ? J2K_ERROR_READ : J2K_ERROR_MEMORY);
    uint8_t chunk[65536];
    for (;;)
    {
        const int32_t count = callbacks->read(chunk, sizeof(chunk), user);
        if (count <= 0)
            break;
        if (decoder->bytes.size() + size_t(count) > kMaxStreamBytes || !Append(decoder->bytes, chunk, size_t(count)))
            return FailOpen(J2K_ERROR_MEMORY);
    }
    decoder->user = user;
    decoder->callbacks = *callbacks;
    return decoder.release();
}

J2K_EXPORT J2K_Handle J2K_OpenFile(const char* path)
{
    if (path == nullptr)
        return FailOpen(J2K_ERROR_ARGUMENT);
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return FailOpen(J2K_ERROR_READ);
    auto decoder = std::unique_ptr<Decoder>(new (std::nothrow) Decoder);
    if (!decoder)
        return FailOpen(J2K_ERROR_MEMORY);
    char chunk[65536];
    while (in.read(chunk, sizeof(chunk)) || in.gcount() > 0)
    {
        const auto count = static_cast<size_t>(in.gcount());
        if (decoder->bytes.size() + count > kMaxStreamBytes ||
            !Append(decoder->bytes, reinterpret_cast<const uint8_t*>(chunk), count))
            return FailOpen(J2K_ERROR_MEMORY);
    }
    return decoder.release();
}

J2K_EXPORT int32_t J2K_Close(J2K_Handle handle)
{
    Decoder* decoder = ToDecoder(handle);
    if (decoder == nullptr)
        return Fail(J2K_ERROR_ARGUMENT);
    if (decoder->callbacks.release != nullptr)
        decoder->callbacks.release(decoder->user);
    delete decoder;
    return J2K_ERROR_NONE;
}

J2K_EXPORT int32_t J2K_GetInfo(J2K_Handle handle, int32_t* width, int32_t* height, int32_t* components)
{
    Decoder* decoder = ToDecoder(handle);
    if (decoder == nullptr || width == nullptr || height == nullptr)
        return Fail(J2K_ERROR_ARGUMENT);
    if (const int32_t error = ReadHeader(*decoder))
        return error;
    const opj_image_t& image = *decoder->image;
    const auto grid = Lumo::Platform::J2kPictureGrid(image, 0); // checked by ReadHeader
    *width = static_cast<int32_t>(grid->width);
    *height = static_cast<int32_t>(grid->height);
    if (components != nullptr)
        *components = static_cast<int32_t>(image.numcomps);
    return J2K_ERROR_NONE;
}

J2K_EXPORT int32_t J2K_GetResolutionDimensions(J2K_Handle handle, int32_t level, int32_t* width, int32_t* height)
{
    Decoder* decoder = ToDecoder(handle);
    if (decoder == nullptr || level < 0 || level > 31 || width == nullptr || height == nullptr)
        return Fail(J2K_ERROR_ARGUMENT);
    if (const int32_t error = ReadHeader(*decoder))
        return error;
    const auto grid = Lumo::Platform::J2kPictureGrid(*decoder->image, static_cast<uint32_t>(level));
    if (!grid)
        return Fail(J2K_ERROR_ARGUMENT);
    *width = static_cast<int32_t>(grid->width);
    *height = static_cast<int32_t>(grid->height);
    return J2K_ERROR_NONE;
}

J2K_EXPORT int32_t J2K_Decode(J2K_Handle handle, uint8_t** buffer, int32_t* size, const char* options, int32_t* pitch)
{
    Decoder* decoder = ToDecoder(handle);
    int level = 0;
    if (decoder == nullptr || buffer == nullptr || *buffer == nullptr || size == nullptr || pitch == nullptr ||
        !ParseOptions(options, level) || decoder->decoded)
        return Fail(J2K_ERROR_ARGUMENT);
    if (const int32_t error = ReadHeader(*decoder))
        return error;
    decoder->decoded = true;
    opj_codec_t* codec = decoder->codec.get();
    opj_image_t* image = decoder->image.get();
    const auto expected = Lumo::Platform::J2kPictureGrid(*image, static_cast<uint32_t>(level));
    if (!expected)
        return Fail(J2K_ERROR_ARGUMENT);
    if ((level != 0 && !opj_set_decoded_resolution_factor(codec, static_cast<OPJ_UINT32>(level))) ||
        !opj_decode(codec, decoder->stream.get(), image) || !opj_end_decompress(codec, decoder->stream.get()))
        return Fail(J2K_ERROR_DECODE);
    // A JP2 palette or channel definition reshapes the components while
    // decoding; the picture must still be the size the caller was told.
    if (Lumo::Platform::J2kPictureGrid(*image, static_cast<uint32_t>(level)) != expected ||
        !Lumo::Platform::J2kImageToArgb(*image, static_cast<uint32_t>(level), *buffer, *size, *pitch))
        return Fail(J2K_ERROR_DECODE);
    return J2K_ERROR_NONE;
}

J2K_EXPORT int32_t J2K_getLastError()
{
    return gLastError;
}

J2K_EXPORT const char* J2K_getErrorStr(int32_t error)
{
    switch (error)
    {
    case J2K_ERROR_NONE: return "no error";
    case J2K_ERROR_ARGUMENT: return "invalid argument";
    case J2K_ERROR_READ: return "stream could not be read";
    case J2K_ERROR_HEADER: return "invalid or unsupported header";
    case J2K_ERROR_DECODE: return "image data could not be decoded";
    case J2K_ERROR_FORMAT: return "not a JPEG 2000 file";
    case J2K_ERROR_MEMORY: return "out of memory";
    case J2K_ERROR_LIMITS: return "image too costly to decode for its file size";
    default: return "unknown error";
    }
}
