#include "tests/resources/ImageTestFiles.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include <gtest/gtest.h>
#include <jpeglib.h>
#include <openjpeg.h>
#include <png.h>

#include "platform/FileSystem.h"

namespace Lumo::ImageLib::Testing {

TestFolder::TestFolder()
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "imagelib-tmp" /
                                       (std::string(info->test_suite_name()) + "." + info->name());
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
    mPath = path.string() + "/";
}

TestFolder::~TestFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(mPath, ignored);
}

void WriteBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

Bytes ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteTestPng(const std::string& path, const PngSpec& spec)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(spec.width), static_cast<png_uint_32>(spec.height),
                 spec.bitDepth, spec.colorType, spec.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    for (size_t i = 0; i + 2 < spec.palette.size(); i += 3)
        palette.push_back({spec.palette[i], spec.palette[i + 1], spec.palette[i + 2]});
    if (!palette.empty())
        png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    if (!spec.transparency.empty())
        png_set_tRNS(png, info, spec.transparency.data(), static_cast<int>(spec.transparency.size()), nullptr);
    png_write_info(png, info);
    const size_t rowBytes = spec.samples.size() / static_cast<size_t>(spec.height);
    std::vector<png_bytep> rows;
    for (int y = 0; y < spec.height; ++y)
        rows.push_back(const_cast<png_bytep>(spec.samples.data() + y * rowBytes));
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
}

void WriteTestJpeg(const std::string& path, int width, int height, int components, const Bytes& samples)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = components;
    info.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 3 ? JCS_RGB : JCS_CMYK;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height)
    {
        auto row = const_cast<JSAMPROW>(samples.data() + size_t(info.next_scanline) * size_t(width * components));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(file);
}

Bytes MakeTga(const TgaSpec& spec, const std::vector<uint32_t>& pixels)
{
    const size_t pixelStart = 18 + spec.idLength + size_t(spec.colourMapLength) * 3;
    Bytes bytes(pixelStart + pixels.size() * 4, 0x7F);
    std::fill(bytes.begin(), bytes.begin() + 18, 0);
    bytes[0] = spec.idLength;
    bytes[1] = spec.colourMapType;
    bytes[2] = spec.imageType;
    bytes[5] = static_cast<uint8_t>(spec.colourMapLength);
    bytes[6] = static_cast<uint8_t>(spec.colourMapLength >> 8);
    bytes[7] = spec.colourMapType ? 24 : 0;
    bytes[12] = static_cast<uint8_t>(spec.width);
    bytes[13] = static_cast<uint8_t>(spec.width >> 8);
    bytes[14] = static_cast<uint8_t>(spec.height);
    bytes[15] = static_cast<uint8_t>(spec.height >> 8);
    bytes[16] = spec.bitsPerPixel;
    bytes[17] = spec.descriptor;
    for (size_t i = 0; i < pixels.size(); ++i)
        for (size_t b = 0; b < 4; ++b)
            bytes[pixelStart + i * 4 + b] = static_cast<uint8_t>(pixels[i] >> (8 * b));
    return bytes;
}

namespace {

// Packs codes least significant bit first.
class BitWriter
{
public:
    void Put(int code, int width)
    {
        mBits |= uint32_t(code) << mCount;
        mCount += width;
        while (mCount >= 8)
        {
            mBytes.push_back(static_cast<uint8_t>(mBits));
            mBits >>= 8;
            mCount -= 8;
        }
    }
    Bytes Finish()
    {
        if (mCount > 0)
            mBytes.push_back(static_cast<uint8_t>(mBits));
        return mBytes;
    }

private:
    Bytes mBytes;
    uint32_t mBits = 0;
    int mCount = 0;
};

int BitLength(int value)
{
    int bits = 0;
    while (value >> bits)
        ++bits;
    return bits;
}

} // namespace

Bytes EncodeGifLzw(const Bytes& indices, int minimumCodeSize, bool deferClear)
{
    const int clear = 1 << minimumCodeSize;
    BitWriter out;
    std::map<uint32_t, int> table; // (prefix << 8 | character) -> code
    int encoderNext = clear + 2;
    int decoderNext = clear + 2; // the decoder's next free code when it reads the next code
    bool firstAfterClear = true;
    auto width = [&] { return std::clamp(BitLength(decoderNext), minimumCodeSize + 1, 12); };
    auto emit = [&](int code) {
        out.Put(code, width());
        if (!firstAfterClear)
            decoderNext = std::min(decoderNext + 1, 4096);
        firstAfterClear = false;
    };
    out.Put(clear, minimumCodeSize + 1);
    int prefix = indices.at(0);
    for (size_t i = 1; i < indices.size(); ++i)
    {
        const uint32_t key = uint32_t(prefix) << 8 | indices[i];
        if (auto found = table.find(key); found != table.end())
        {
            prefix = found->second;
            continue;
        }
        emit(prefix);
        if (encoderNext < 4096)
            table[key] = encoderNext++;
        if (encoderNext == 4096 && !deferClear)
        {
            out.Put(clear, width());
            table.clear();
            encoderNext = decoderNext = clear + 2;
            firstAfterClear = true;
        }
        prefix = indices[i];
    }
    emit(prefix);
    out.Put(clear + 1, width());
    return out.Finish();
}

namespace {

void PutLE16(Bytes& bytes, int value)
{
    bytes.push_back(static_cast<uint8_t>(value));
    bytes.push_back(static_cast<uint8_t>(value >> 8));
}

// The size field of a colour table's flags: 2^(field + 1) entries.
uint8_t TableField(const Bytes& table)
{
    return static_cast<uint8_t>(std::max(BitLength(static_cast<int>(table.size() / 3)) - 2, 0));
}

} // namespace

GifBuilder::GifBuilder(const Bytes& globalTable)
{
    const std::string signature = "GIF89a";
    bytes.assign(signature.begin(), signature.end());
    PutLE16(bytes, 1);
    PutLE16(bytes, 1);
    bytes.push_back(globalTable.empty() ? 0 : static_cast<uint8_t>(0x80 | TableField(globalTable)));
    bytes.push_back(0);
    bytes.push_back(0);
    bytes.insert(bytes.end(), globalTable.begin(), globalTable.end());
}

GifBuilder& GifBuilder::GraphicControl(bool transparent, uint8_t index)
{
    return Extension(0xF9, {{static_cast<uint8_t>(transparent ? 1 : 0), 0, 0, index}});
}

GifBuilder& GifBuilder::Extension(uint8_t label, const std::vector<Bytes>& subBlocks)
{
    bytes.push_back(0x21);
    bytes.push_back(label);
    for (const Bytes& block : subBlocks)
    {
        bytes.push_back(static_cast<uint8_t>(block.size()));
        bytes.insert(bytes.end(), block.begin(), block.end());
    }
    bytes.push_back(0);
    return *this;
}

GifBuilder& GifBuilder::Image(int width, int height, bool interlaced, int minimumCodeSize, const Bytes& lzw,
                              const Bytes& localTable)
{
    bytes.push_back(0x2C);
    PutLE16(bytes, 0);
    PutLE16(bytes, 0);
    PutLE16(bytes, width);
    PutLE16(bytes, height);
    uint8_t flags = interlaced ? 0x40 : 0;
    if (!localTable.empty())
        flags |= static_cast<uint8_t>(0x80 | TableField(localTable));
    bytes.push_back(flags);
    bytes.insert(bytes.end(), localTable.begin(), localTable.end());
    bytes.push_back(static_cast<uint8_t>(minimumCodeSize));
    for (size_t i = 0; i < lzw.size(); i += 255)
    {
        const size_t count = std::min<size_t>(255, lzw.size() - i);
        bytes.push_back(static_cast<uint8_t>(count));
        bytes.insert(bytes.end(), lzw.begin() + static_cast<long>(i), lzw.begin() + static_cast<long>(i + count));
    }
    bytes.push_back(0);
    return *this;
}

GifBuilder& GifBuilder::Trailer()
{
    bytes.push_back(0x3B);
    return *this;
}

bool EncodeJpeg2000(const std::string& path, opj_image* image, opj_cparameters& parameters, bool jp2)
{
    opj_codec_t* codec = opj_create_compress(jp2 ? OPJ_CODEC_JP2 : OPJ_CODEC_J2K);
    opj_stream_t* stream = opj_stream_create_default_file_stream(path.c_str(), OPJ_FALSE);
    const bool ok = opj_setup_encoder(codec, &parameters, image) && opj_start_compress(codec, image, stream) &&
                    opj_encode(codec, stream) && opj_end_compress(codec, stream);
    opj_stream_destroy(stream);
    opj_destroy_codec(codec);
    opj_image_destroy(image);
    return ok;
}

void WriteTestJpeg2000(const std::string& path, int width, int height, int components, const Bytes& samples,
                       bool jp2)
{
    opj_cparameters_t parameters;
    opj_set_default_encoder_parameters(&parameters);
    parameters.tcp_numlayers = 1;
    parameters.tcp_rates[0] = 0;
    parameters.cp_disto_alloc = 1;
    while (parameters.numresolution > 1 && (1 << (parameters.numresolution - 1)) > std::min(width, height))
        --parameters.numresolution;
    std::vector<opj_image_cmptparm_t> componentParameters(static_cast<size_t>(components));
    for (auto& component : componentParameters)
    {
        component = {};
        component.dx = component.dy = 1;
        component.w = static_cast<OPJ_UINT32>(width);
        component.h = static_cast<OPJ_UINT32>(height);
        component.prec = 8;
    }
    opj_image_t* image = opj_image_create(static_cast<OPJ_UINT32>(components), componentParameters.data(),
                                          components == 1 ? OPJ_CLRSPC_GRAY : OPJ_CLRSPC_SRGB);
    ASSERT_NE(image, nullptr);
    image->x1 = static_cast<OPJ_UINT32>(width);
    image->y1 = static_cast<OPJ_UINT32>(height);
    if (components == 4)
        image->comps[3].alpha = 1;
    for (int c = 0; c < components; ++c)
        for (int i = 0; i < width * height; ++i)
            image->comps[c].data[i] = samples[size_t(i * components + c)];
    const bool ok = EncodeJpeg2000(path, image, parameters, jp2);
    ASSERT_TRUE(ok);
}

} // namespace Lumo::ImageLib::Testing
