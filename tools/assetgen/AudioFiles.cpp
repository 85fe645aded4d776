#include "tools/assetgen/AudioFiles.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace Lumo::AssetGen {

void Normalise(PcmBuffer& pcm, double peak)
{
    float high = 0;
    for (float s : pcm.samples)
        high = std::max(high, std::fabs(s));
    if (high <= 0)
        return;
    const float gain = static_cast<float>(peak / high);
    for (float& s : pcm.samples)
        s *= gain;
}

namespace {

void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void Put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void PutTag(std::vector<uint8_t>& out, const char* tag)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(tag[i]));
}

int16_t ToSample(float s)
{
    const float clamped = std::clamp(s, -1.0f, 1.0f);
    return static_cast<int16_t>(std::lrint(clamped * 32767.0f));
}

} // namespace

std::vector<uint8_t> EncodeWav(const PcmBuffer& pcm)
{
    const uint32_t dataBytes = static_cast<uint32_t>(pcm.samples.size() * 2);
    const uint32_t blockAlign = static_cast<uint32_t>(pcm.channels) * 2;
    std::vector<uint8_t> out;
    out.reserve(44 + dataBytes);
    PutTag(out, "RIFF");
    Put32(out, dataBytes + 36);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    Put32(out, 16);
    Put16(out, 1);
    Put16(out, static_cast<uint32_t>(pcm.channels));
    Put32(out, static_cast<uint32_t>(pcm.rate));
    Put32(out, static_cast<uint32_t>(pcm.rate) * blockAlign);
    Put16(out, blockAlign);
    Put16(out, 16);
    PutTag(out, "data");
    Put32(out, dataBytes);
    for (float s : pcm.samples)
        Put16(out, static_cast<uint16_t>(ToSample(s)));
    return out;
}

namespace {

// The libvorbis encoder state, released in reverse order of creation.
struct VorbisEncoder
{
    vorbis_info info{};
    vorbis_comment comment{};
    vorbis_dsp_state dsp{};
    vorbis_block block{};
    ogg_stream_state stream{};
    bool dspReady = false;
    bool streamReady = false;

    ~VorbisEncoder()
    {
        if (streamReady)
            ogg_stream_clear(&stream);
        if (dspReady)
        {
            vorbis_block_clear(&block);
            vorbis_dsp_clear(&dsp);
        }
        vorbis_comment_clear(&comment);
        vorbis_info_clear(&info);
    }
};

void AppendPage(std::vector<uint8_t>& out, const ogg_page& page)
{
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
}

void DrainBlocks(VorbisEncoder& enc, std::vector<uint8_t>& out)
{
    ogg_packet packet;
    ogg_page page;
    while (vorbis_analysis_blockout(&enc.dsp, &enc.block) == 1)
    {
        vorbis_analysis(&enc.block, nullptr);
        vorbis_bitrate_addblock(&enc.block);
        while (vorbis_bitrate_flushpacket(&enc.dsp, &packet) != 0)
        {
            ogg_stream_packetin(&enc.stream, &packet);
            while (ogg_stream_pageout(&enc.stream, &page) != 0)
                AppendPage(out, page);
        }
    }
}

} // namespace

std::vector<uint8_t> EncodeOgg(const PcmBuffer& pcm, uint32_t serial, float quality)
{
    std::vector<uint8_t> out;
    VorbisEncoder enc;
    vorbis_info_init(&enc.info);
    vorbis_comment_init(&enc.comment);
    if (vorbis_encode_init_vbr(&enc.info, pcm.channels, pcm.rate, quality) != 0)
        return {};
    vorbis_comment_add_tag(&enc.comment, "ENCODER", "Tumbrix assetgen");
    vorbis_analysis_init(&enc.dsp, &enc.info);
    vorbis_block_init(&enc.dsp, &enc.block);
    enc.dspReady = true;
    ogg_stream_init(&enc.stream, static_cast<int>(serial));
    enc.streamReady = true;

    ogg_packet header, commentHeader, codeHeader;
    vorbis_analysis_headerout(&enc.dsp, &enc.comment, &header, &commentHeader, &codeHeader);
    ogg_stream_packetin(&enc.stream, &header);
    ogg_stream_packetin(&enc.stream, &commentHeader);
    ogg_stream_packetin(&enc.stream, &codeHeader);
    ogg_page page;
    while (ogg_stream_flush(&enc.stream, &page) != 0)
        AppendPage(out, page);

    const size_t frames = pcm.Frames();
    const size_t chunk = 1024;
    for (size_t start = 0; start < frames; start += chunk)
    {
        const size_t count = std::min(chunk, frames - start);
        float** buffer = vorbis_analysis_buffer(&enc.dsp, static_cast<int>(count));
        for (size_t i = 0; i < count; ++i)
            for (int c = 0; c < pcm.channels; ++c)
                buffer[c][i] = pcm.samples[(start + i) * static_cast<size_t>(pcm.channels) + static_cast<size_t>(c)];
        vorbis_analysis_wrote(&enc.dsp, static_cast<int>(count));
        DrainBlocks(enc, out);
    }
    vorbis_analysis_wrote(&enc.dsp, 0);
    DrainBlocks(enc, out);
    while (ogg_stream_flush(&enc.stream, &page) != 0)
        AppendPage(out, page);
    return out;
}

} // namespace Lumo::AssetGen
