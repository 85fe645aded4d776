// MP3 through mpg123, read a block at a time, always as signed 16-bit.
#include "platform/modules/bass/StreamDecoder.h"
#include <mpg123.h>
#include <mutex>

namespace Lumo::Platform {
namespace {

mpg123_ssize_t ReadCallback(void* source, void* out, size_t bytes)
{
    return mpg123_ssize_t(static_cast<ByteSource*>(source)->Read(out, bytes));
}

off_t SeekCallback(void* source, off_t offset, int whence)
{
    auto* bytes = static_cast<ByteSource*>(source);
    return bytes->Seek(offset, whence) ? off_t(bytes->Tell()) : off_t(-1);
}

class Mp3Decoder final : public StreamDecoder
{
public:
    explicit Mp3Decoder(std::unique_ptr<ByteSource> source) : mSource(std::move(source)) {}
    ~Mp3Decoder() override
    {
        if (mHandle)
        {
            mpg123_close(mHandle);
            mpg123_delete(mHandle);
        }
    }

    bool Open()
    {
        mHandle = mpg123_new(nullptr, nullptr);
        if (!mHandle)
            return false;
        mpg123_param(mHandle, MPG123_ADD_FLAGS, MPG123_QUIET, 0.0);
        mpg123_format_none(mHandle);
        const long* rates = nullptr;
        size_t count = 0;
        mpg123_rates(&rates, &count);
        for (size_t i = 0; i < count; ++i)
            mpg123_format(mHandle, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
        if (mpg123_replace_reader_handle(mHandle, ReadCallback, SeekCallback, nullptr) != MPG123_OK ||
            mpg123_open_handle(mHandle, mSource.get()) != MPG123_OK)
            return false;
        long rate = 0;
        int channels = 0;
        int encoding = 0;
        if (mpg123_getformat(mHandle, &rate, &channels, &encoding) != MPG123_OK || channels < 1 || channels > 2 ||
            rate < 1 || encoding != MPG123_ENC_SIGNED_16)
            return false;
        mpg123_format_none(mHandle); // the format stays as it starts
        mpg123_format(mHandle, rate, channels, MPG123_ENC_SIGNED_16);
        mFormat.channels = uint16_t(channels);
        mFormat.sampleRate = uint32_t(rate);
        mFormat.bitsPerSample = 16;
        return true;
    }

    PcmFormat Format() const override { return mFormat; }

    uint64_t Length() override
    {
        const off_t length = mpg123_length(mHandle);
        return length > 0 ? uint64_t(length) : 0;
    }

    size_t Read(int16_t* out, size_t frames) override
    {
        const size_t frameBytes = mFormat.channels * 2u;
        auto* bytes = reinterpret_cast<unsigned char*>(out);
        size_t done = 0;
        while (done < frames * frameBytes)
        {
            size_t got = 0;
            const int result = mpg123_read(mHandle, bytes + done, frames * frameBytes - done, &got);
            done += got;
            if (result != MPG123_OK && result != MPG123_NEW_FORMAT)
                break;
            if (got == 0 && result == MPG123_OK)
                break;
        }
        return done / frameBytes;
    }

    bool Seek(uint64_t frame) override { return mpg123_seek(mHandle, off_t(frame), SEEK_SET) >= 0; }

private:
    std::unique_ptr<ByteSource> mSource;
    mpg123_handle* mHandle = nullptr;
    PcmFormat mFormat;
};

} // namespace

void InitDecoders()
{
    static std::once_flag once;
    std::call_once(once, [] { mpg123_init(); });
}

std::unique_ptr<StreamDecoder> OpenMp3Decoder(std::unique_ptr<ByteSource> source)
{
    if (!source)
        return nullptr;
    InitDecoders();
    auto decoder = std::make_unique<Mp3Decoder>(std::move(source));
    if (!decoder->Open())
        return nullptr;
    return decoder;
}

} // namespace Lumo::Platform
