// PCM WAV files, read a block at a time.
#include "platform/modules/bass/StreamDecoder.h"
#include <algorithm>
#include <cstring>
#include <vector>

namespace Lumo::Platform {
namespace {

uint32_t Le32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

uint16_t Le16(const uint8_t* p)
{
    return uint16_t(p[0] | p[1] << 8);
}

class WavDecoder final : public StreamDecoder
{
public:
    WavDecoder(std::unique_ptr<ByteSource> source, PcmFormat format, uint16_t bits, int64_t dataStart,
               int64_t dataBytes)
        : mSource(std::move(source)), mFormat(format), mBits(bits), mDataStart(dataStart),
          mFrames(uint64_t(dataBytes) / (format.channels * (bits / 8u)))
    {
    }

    PcmFormat Format() const override { return mFormat; }
    uint64_t Length() override { return mFrames; }

    size_t Read(int16_t* out, size_t frames) override
    {
        frames = size_t(std::min<uint64_t>(frames, mFrames - mPosition));
        const size_t samples = frames * mFormat.channels;
        const size_t bytesPerSample = mBits / 8u;
        mScratch.resize(samples * bytesPerSample);
        const size_t got = mSource->Read(mScratch.data(), mScratch.size()) / (bytesPerSample * mFormat.channels);
        for (size_t i = 0; i < got * mFormat.channels; ++i)
            out[i] = mBits == 8 ? int16_t((int(mScratch[i]) - 128) * 256) : int16_t(Le16(&mScratch[i * 2]));
        mPosition += got;
        return got;
    }

    bool Seek(uint64_t frame) override
    {
        if (frame > mFrames)
            return false;
        const int64_t offset = mDataStart + int64_t(frame * mFormat.channels * (mBits / 8u));
        if (!mSource->Seek(offset, SEEK_SET))
            return false;
        mPosition = frame;
        return true;
    }

private:
    std::unique_ptr<ByteSource> mSource;
    PcmFormat mFormat;
    uint16_t mBits;
    int64_t mDataStart;
    uint64_t mFrames;
    uint64_t mPosition = 0;
    std::vector<uint8_t> mScratch;
};

} // namespace

std::unique_ptr<StreamDecoder> OpenWavDecoder(std::unique_ptr<ByteSource> source)
{
    uint8_t header[12];
    if (!source || source->Read(header, 12) != 12 || std::memcmp(header, "RIFF", 4) != 0 ||
        std::memcmp(header + 8, "WAVE", 4) != 0)
        return nullptr;
    PcmFormat format;
    uint16_t bits = 0;
    bool haveFormat = false;
    // Chunks move forward only and stop at the end of the file.
    for (int64_t at = 12; at + 8 <= source->Size();)
    {
        uint8_t chunk[8];
        if (!source->Seek(at, SEEK_SET) || source->Read(chunk, 8) != 8)
            return nullptr;
        const int64_t size = Le32(chunk + 4);
        const int64_t body = at + 8;
        if (std::memcmp(chunk, "fmt ", 4) == 0)
        {
            uint8_t fmt[16];
            if (size < 16 || source->Read(fmt, 16) != 16 || Le16(fmt) != 1)
                return nullptr;
            format.channels = Le16(fmt + 2);
            format.sampleRate = Le32(fmt + 4);
            bits = Le16(fmt + 14);
            format.bitsPerSample = 16;
            haveFormat = (bits == 8 || bits == 16) && format.IsValid() && format.sampleRate <= 1000000;
            if (!haveFormat)
                return nullptr;
        }
        else if (std::memcmp(chunk, "data", 4) == 0)
        {
            if (!haveFormat)
                return nullptr;
            const int64_t bytes = std::min(size, source->Size() - body);
            if (bytes < int64_t(format.channels * (bits / 8u)) || !source->Seek(body, SEEK_SET))
                return nullptr;
            return std::make_unique<WavDecoder>(std::move(source), format, bits, body, bytes);
        }
        at = body + size + (size & 1);
    }
    return nullptr;
}

} // namespace Lumo::Platform
