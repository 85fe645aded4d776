// The exported set-up and sample entries of the "fmod.dll" stand-in (see
// platform/audio/FmodApi.h).
#include "platform/modules/fmod/FmodEntries.h"
#include <cstring>
#include <new>

using Lumo::Platform::FmodState;
using Lumo::Platform::PcmFormat;
using Lumo::Platform::SampleData;

namespace {

constexpr size_t kMaxSampleBytes = size_t(256) << 20;
constexpr size_t kDecodeBlockFrames = 4096;

std::shared_ptr<SampleData> DecodeWhole(Lumo::Platform::StreamDecoder& decoder)
{
    const PcmFormat format = decoder.Format();
    std::vector<int16_t> pcm;
    for (;;)
    {
        const size_t at = pcm.size();
        pcm.resize(at + kDecodeBlockFrames * format.channels);
        const size_t got = decoder.Read(pcm.data() + at, kDecodeBlockFrames);
        pcm.resize(at + got * format.channels);
        if (got == 0 || pcm.size() * 2 > kMaxSampleBytes)
            break;
    }
    if (pcm.empty() || pcm.size() * 2 > kMaxSampleBytes)
        return nullptr;
    auto data = std::make_shared<SampleData>(format, pcm.size() * 2);
    std::memcpy(data->Bytes(), pcm.data(), data->Size());
    return data;
}

std::unique_ptr<FmodSample> MakeSample(std::shared_ptr<SampleData> data)
{
    auto sample = std::make_unique<FmodSample>();
    const PcmFormat& format = data->Format();
    sample->mode = (format.bitsPerSample == 8 ? FMOD_8BITS : FMOD_16BITS) |
                   (format.channels == 1 ? FMOD_MONO : FMOD_STEREO) | FMOD_LOOP_OFF;
    sample->frequency = int(format.sampleRate);
    sample->loopEnd = data->Frames() - 1;
    sample->data = std::move(data);
    return sample;
}

} // namespace

LUMO_FMOD_EXPORT FmodBool FSOUND_SetBufferSize(int milliseconds)
{
    FmodState& state = FmodState::Get();
    Guard guard(state.lock);
    if (milliseconds < 1)
        return 0;
    state.bufferMs = milliseconds;
    return 1;
}

LUMO_FMOD_EXPORT FmodBool FSOUND_SetHWND(void* window)
{
    FmodState& state = FmodState::Get();
    Guard guard(state.lock);
    state.window = window;
    return 1;
}

LUMO_FMOD_EXPORT FmodBool FSOUND_Init(int mixRate, int maxChannels, unsigned int /*flags*/)
{
    FmodState& state = FmodState::Get();
    Guard guard(state.lock);
    if (mixRate < 4000 || mixRate > 192000 || maxChannels < 1 || maxChannels > 1024)
        return 0;
    Lumo::Platform::InitDecoders();
    (void)Lumo::Platform::Mixer::Get(); // opens the output
    state.Open(maxChannels);
    return 1;
}

LUMO_FMOD_EXPORT void FSOUND_Close(void)
{
    FmodState& state = FmodState::Get();
    Guard guard(state.lock);
    state.CloseAll();
}

LUMO_FMOD_EXPORT FmodSample* FSOUND_Sample_Load(int /*index*/, const char* nameOrData, unsigned int mode,
                                                 int memoryLength)
{
    FmodState& state = FmodState::Get();
    Guard guard(state.lock);
    if (!state.initialized || !nameOrData)
        return nullptr;
    std::unique_ptr<Lumo::Platform::ByteSource> source;
    if (mode & FMOD_LOADMEMORY)
        source = memoryLength > 0 ? Lumo::Platform::ByteSource::FromMemory(nameOrData, size_t(memoryLength)) : nullptr;
    else
        source = Lumo::Platform::ByteSource::OpenFile(nameOrData);
    auto decoder = Lumo::Platform::OpenStreamDecoder(std::move(source));
    if (!decoder)
        return nullptr;
    try
    {
        auto data = DecodeWhole(*decoder);
        return data ? state.AddSample(MakeSample(std::move(data))) : nullptr;
    }
    catch (const std::bad_alloc&)
    {
        return nullptr;
    }
}

LUMO_FMOD_EXPORT FmodSample* FSOUND_Sample_Alloc(int /*index*/, int length, unsigned int mode, int frequency,
                                                  int volume, int pan, int priority)
{
    FmodState& state = FmodState::Get();
    Guard guard(state.lock);
    PcmFormat format;
    format.channels = (mode & FMOD_MONO) ? 1 : 2;
    format.bitsPerSample = (mode & FMOD_8BITS) ? 8 : 16;
    format.sampleRate = frequency > 0 ? uint32_t(frequency) : 0;
    if (!state.initialized || length < 1 || !format.IsValid() ||
        uint64_t(length) * format.BlockAlign() > kMaxSampleBytes)
        return nullptr;
    try
    {
        auto sample = MakeSample(std::make_shared<SampleData>(format, size_t(length) * format.BlockAlign()));
        sample->mode = mode & ~FMOD_LOADMEMORY;
        sample->volume = std::clamp(volume, 0, 255);
        sample->pan = std::clamp(pan, 0, 255);
        sample->priority = priority;
        return state.AddSample(std::move(sample));
    }
    catch (const std::bad_alloc&)
    {
        return nullptr;
    }
}

LUMO_FMOD_EXPORT void FSOUND_Sample_Free(FmodSample* sample)
{
    FmodState& state = FmodState::Get();
    Guard guard(state.lock);
    if (state.FindSample(sample))
        state.FreeSample(sample);
}

LUMO_FMOD_EXPORT FmodBool FSOUND_Sample_Lock(FmodSample* sample, int offset, int length, void** part1,
                                             void** part2, unsigned int* length1, unsigned int* length2)
{
    FmodState& state = FmodState::Get();
    Guard guard(state.lock);
    if (!state.FindSample(sample) || !part1 || !length1 || offset < 0 || length < 0 ||
        size_t(offset) + size_t(length) > sample->data->Size())
        return 0;
    *part1 = sample->data->Bytes() + offset;
    *length1 = unsigned(length);
    if (part2)
        *part2 = nullptr;
    if (length2)
        *length2 = 0;
    return 1;
}

LUMO_FMOD_EXPORT FmodBool FSOUND_Sample_Unlock(FmodSample* sample, void* part1, void* /*part2*/,
                                               unsigned int length1, unsigned int /*length2*/)
{
    FmodState& state = FmodState::Get();
    Guard guard(state.lock);
    if (!state.FindSample(sample))
        return 0;
    const auto* begin = sample->data->Bytes();
    const auto* at = static_cast<const uint8_t*>(part1);
    return at >= begin && size_t(at - begin) + length1 <= sample->data->Size();
}

LUMO_FMOD_EXPORT FmodBool FSOUND_Sample_SetLoopPoints(FmodSample* sample, int loopStart, int loopEnd)
{
    FmodState& state = FmodState::Get();
    Guard guard(state.lock);
    if (!state.FindSample(sample) || loopStart < 0 || loopEnd < loopStart ||
        size_t(loopEnd) >= sample->data->Frames())
        return 0;
    sample->loopStart = size_t(loopStart);
    sample->loopEnd = size_t(loopEnd);
    return 1;
}

LUMO_FMOD_EXPORT unsigned int FSOUND_Sample_GetLength(FmodSample* sample)
{
    FmodState& state = FmodState::Get();
    Guard guard(state.lock);
    return state.FindSample(sample) ? unsigned(sample->data->Frames()) : 0;
}

LUMO_FMOD_EXPORT FmodBool FSOUND_Sample_GetDefaults(FmodSample* sample, int* frequency, int* volume, int* pan,
                                                    int* priority)
{
    FmodState& state = FmodState::Get();
    Guard guard(state.lock);
    if (!state.FindSample(sample))
        return 0;
    if (frequency)
        *frequency = sample->frequency;
    if (volume)
        *volume = sample->volume;
    if (pan)
        *pan = sample->pan;
    if (priority)
        *priority = sample->priority;
    return 1;
}

LUMO_FMOD_EXPORT unsigned int FSOUND_Sample_GetMode(FmodSample* sample)
{
    FmodState& state = FmodState::Get();
    Guard guard(state.lock);
    return state.FindSample(sample) ? sample->mode : 0;
}
