// Ogg Vorbis through Tremor (the integer decoder), read a block at a time.
// Tremor is linked statically and kept private to the module, apart from the
// libvorbisfile that libopenmpt brings in.
#include "platform/modules/bass/StreamDecoder.h"
#include <algorithm>
#include <tremor/ivorbisfile.h>

namespace Lumo::Platform {
namespace {

size_t ReadCallback(void* out, size_t size, size_t count, void* source)
{
    if (size == 0)
        return 0;
    return static_cast<ByteSource*>(source)->Read(out, size * count) / size;
}

int SeekCallback(void* source, ogg_int64_t offset, int whence)
{
    return static_cast<ByteSource*>(source)->Seek(offset, whence) ? 0 : -1;
}

long TellCallback(void* source)
{
    return long(static_cast<ByteSource*>(source)->Tell());
}

class OggDecoder final : public StreamDecoder
{
public:
    explicit OggDecoder(std::unique_ptr<ByteSource> source) : mSource(std::move(source)) {}
    ~OggDecoder() override
    {
        if (mOpen)
            ov_clear(&mFile);
    }

    bool Open()
    {
        const ov_callbacks callbacks{ReadCallback, SeekCallback, nullptr, TellCallback};
        if (ov_open_callbacks(mSource.get(), &mFile, nullptr, 0, callbacks) < 0)
            return false;
        mOpen = true;
        const vorbis_info* info = ov_info(&mFile, -1);
        if (!info || info->channels < 1 || info->channels > 2 || info->rate < 1 || info->rate > 1000000)
            return false;
        mFormat.channels = uint16_t(info->channels);
        mFormat.sampleRate = uint32_t(info->rate);
        mFormat.bitsPerSample = 16;
        return true;
    }

    PcmFormat Format() const override { return mFormat; }

    uint64_t Length() override
    {
        const ogg_int64_t total = ov_pcm_total(&mFile, -1);
        return total > 0 ? uint64_t(total) : 0;
    }

    size_t Read(int16_t* out, size_t frames) override
    {
        const size_t frameBytes = mFormat.channels * 2u;
        size_t done = 0;
        int failures = 0;
        while (done < frames && failures < 8)
        {
            int bitstream = 0;
            const size_t room = std::min<size_t>((frames - done) * frameBytes, 1 << 20);
            const long got = ov_read(&mFile, reinterpret_cast<char*>(out + done * mFormat.channels), int(room),
                                     &bitstream);
            if (got == 0)
                break;
            if (got < 0)
            {
                ++failures; // a hole in the data: go on with what follows
                continue;
            }
            done += size_t(got) / frameBytes;
        }
        return done;
    }

    bool Seek(uint64_t frame) override { return ov_pcm_seek(&mFile, ogg_int64_t(frame)) == 0; }

private:
    std::unique_ptr<ByteSource> mSource;
    OggVorbis_File mFile{};
    bool mOpen = false;
    PcmFormat mFormat;
};

} // namespace

std::unique_ptr<StreamDecoder> OpenOggDecoder(std::unique_ptr<ByteSource> source)
{
    if (!source)
        return nullptr;
    auto decoder = std::make_unique<OggDecoder>(std::move(source));
    if (!decoder->Open())
        return nullptr;
    return decoder;
}

} // namespace Lumo::Platform
