// The song decoders of the music stand-ins (WAV, Ogg Vorbis, MP3, tracker
// modules) on arbitrary bytes: the first byte picks streams or modules.
#include "platform/modules/bass/StreamDecoder.h"
#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

constexpr size_t kMaxFrames = 44100 * 2;
constexpr size_t kBlockFrames = 4096;

void Drain(Lumo::Platform::StreamDecoder& decoder)
{
    std::vector<int16_t> block(kBlockFrames * 2);
    for (size_t total = 0; total < kMaxFrames;)
    {
        const size_t got = decoder.Read(block.data(), kBlockFrames);
        if (got == 0 || got > kBlockFrames)
            break;
        total += got;
    }
    (void)decoder.Length();
    if (decoder.Seek(0))
        (void)decoder.Read(block.data(), 100);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    Lumo::Platform::InitDecoders();
    const uint8_t kind = data[0];
    ++data;
    --size;
    if (kind & 1)
    {
        if (auto module = Lumo::Platform::OpenModuleDecoder(data, size))
        {
            (void)module->SetOrderRow(1, 0);
            Drain(*module);
        }
        return 0;
    }
    if (auto decoder = Lumo::Platform::OpenStreamDecoder(Lumo::Platform::ByteSource::FromMemory(data, size)))
        Drain(*decoder);
    return 0;
}
