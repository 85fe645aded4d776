// The exported entry points of the "bass.dll" stand-in (see
// platform/audio/BassApi.h): the calls a music player makes, over the shared
// mixer. Entries that the players never use answer failure with
// BASS_ERROR_NOTAVAIL.
#include "platform/modules/bass/BassState.h"
#include <algorithm>
#include <type_traits>
#include <vector>

#define LUMO_BASS_EXPORT extern "C" __attribute__((visibility("default")))

using Lumo::Platform::BassChannel;
using Lumo::Platform::BassState;
using Lumo::Platform::StreamChannel;

namespace {

using Guard = std::lock_guard<std::mutex>;

constexpr uint32_t kVersion = 0x02040000;

// The channel of a handle when the library is initialised, else null (with
// the error recorded).
BassChannel* FindChannel(BassState& state, BassHandle handle)
{
    if (!state.initialized)
        return state.Fail<BassChannel*>(BASS_ERROR_INIT, nullptr);
    return state.Find(handle);
}

std::unique_ptr<Lumo::Platform::ByteSource> OpenSource(BassBool fromMemory, const void* file, uint64_t offset,
                                                       uint64_t length)
{
    using Lumo::Platform::ByteSource;
    if (!file)
        return nullptr;
    if (fromMemory)
        return length == 0 ? nullptr : ByteSource::FromMemory(static_cast<const uint8_t*>(file) + offset, length);
    return ByteSource::OpenFile(static_cast<const char*>(file), offset, length);
}

BassHandle AddChannel(BassState& state, std::unique_ptr<Lumo::Platform::StreamDecoder> decoder, bool isModule,
                      uint32_t flags)
{
    BassChannel channel;
    channel.player = std::make_unique<StreamChannel>(std::move(decoder));
    channel.isModule = isModule;
    channel.flags = flags;
    channel.player->Source().SetLooping((flags & BASS_FLAG_LOOP) != 0);
    state.error = BASS_OK;
    return state.Add(std::move(channel));
}

BassHandle LoadModule(BassBool fromMemory, const void* file, uint64_t offset, uint32_t length, uint32_t flags)
{
    BassState& state = BassState::Get();
    Guard guard(state.lock);
    if (!state.initialized)
        return state.Fail<BassHandle>(BASS_ERROR_INIT, 0);
    auto source = OpenSource(fromMemory, file, offset, length);
    std::vector<uint8_t> bytes;
    if (!source || !source->ReadAll(bytes))
        return state.Fail<BassHandle>(BASS_ERROR_FILEOPEN, 0);
    auto decoder = Lumo::Platform::OpenModuleDecoder(bytes.data(), bytes.size());
    if (!decoder)
        return state.Fail<BassHandle>(BASS_ERROR_FORMAT, 0);
    return AddChannel(state, std::move(decoder), true, flags);
}

template <typename T = BassBool>
T NotAvailable(T result = 0)
{
    BassState& state = BassState::Get();
    Guard guard(state.lock);
    return state.Fail<T>(BASS_ERROR_NOTAVAIL, result);
}

} // namespace

LUMO_BASS_EXPORT uint32_t BASS_GetVersion(void)
{
    return kVersion;
}

LUMO_BASS_EXPORT BassBool BASS_Init(int device, uint32_t /*freq*/, uint32_t /*flags*/, void* /*window*/,
                                    const void* /*clsid*/)
{
    BassState& state = BassState::Get();
    Guard guard(state.lock);
    if (device != -1 && device != 1)
        return state.Fail<BassBool>(BASS_ERROR_ILLPARAM, 0);
    if (state.initialized)
        return state.Fail<BassBool>(BASS_ERROR_ALREADY, 0);
    Lumo::Platform::InitDecoders();
    (void)Lumo::Platform::Mixer::Get(); // opens the output
    state.initialized = true;
    state.running = true;
    state.error = BASS_OK;
    return 1;
}

LUMO_BASS_EXPORT BassBool BASS_Free(void)
{
    BassState& state = BassState::Get();
    Guard guard(state.lock);
    if (!state.initialized)
        return state.Fail<BassBool>(BASS_ERROR_INIT, 0);
    state.FreeAll();
    state.initialized = false;
    state.running = false;
    state.error = BASS_OK;
    return 1;
}

LUMO_BASS_EXPORT BassBool BASS_Stop(void)
{
    BassState& state = BassState::Get();
    Guard guard(state.lock);
    if (!state.initialized)
        return state.Fail<BassBool>(BASS_ERROR_INIT, 0);
    state.SetRunning(false);
    return 1;
}

LUMO_BASS_EXPORT BassBool BASS_Start(void)
{
    BassState& state = BassState::Get();
    Guard guard(state.lock);
    if (!state.initialized)
        return state.Fail<BassBool>(BASS_ERROR_INIT, 0);
    state.SetRunning(true);
    return 1;
}

LUMO_BASS_EXPORT BassBool BASS_SetGlobalVolumes(int music, int sample, int stream)
{
    BassState& state = BassState::Get();
    Guard guard(state.lock);
    auto set = [](uint32_t& target, int value) {
        if (value >= 0)
            target = uint32_t(std::min(value, 100));
    };
    set(state.musicVolume, music);
    set(state.sampleVolume, sample);
    set(state.streamVolume, stream);
    state.ApplyAllGains();
    return 1;
}

LUMO_BASS_EXPORT BassBool BASS_SetVolume(uint32_t volume)
{
    BassState& state = BassState::Get();
    Guard guard(state.lock);
    if (volume > 100)
        return state.Fail<BassBool>(BASS_ERROR_ILLPARAM, 0);
    state.outputVolume = volume;
    state.ApplyAllGains();
    return 1;
}

LUMO_BASS_EXPORT int BASS_GetVolume(void)
{
    BassState& state = BassState::Get();
    Guard guard(state.lock);
    return int(state.outputVolume);
}

LUMO_BASS_EXPORT BassBool BASS_GetInfo(BassDeviceInfo* info)
{
    BassState& state = BassState::Get();
    Guard guard(state.lock);
    if (!state.initialized)
        return state.Fail<BassBool>(BASS_ERROR_INIT, 0);
    if (!info)
        return state.Fail<BassBool>(BASS_ERROR_ILLPARAM, 0);
    *info = BassDeviceInfo{0, Lumo::Platform::Mixer::kOutputRate, 2, state.bufferMs};
    return 1;
}

LUMO_BASS_EXPORT uint32_t BASS_SetConfig(uint32_t option, uint32_t value)
{
    BassState& state = BassState::Get();
    Guard guard(state.lock);
    uint32_t* target = option == BASS_CONFIG_BUFFER_MS       ? &state.bufferMs
                       : option == BASS_CONFIG_STREAM_VOLUME ? &state.streamVolume
                       : option == BASS_CONFIG_MUSIC_VOLUME  ? &state.musicVolume
                                                             : nullptr;
    if (!target)
        return state.Fail<uint32_t>(BASS_ERROR_ILLPARAM, uint32_t(-1));
    *target = option == BASS_CONFIG_BUFFER_MS ? value : std::min(value, 100u);
    state.ApplyAllGains();
    return *target;
}

LUMO_BASS_EXPORT uint32_t BASS_GetConfig(uint32_t option)
{
    BassState& state = BassState::Get();
    Guard guard(state.lock);
    switch (option)
    {
    case BASS_CONFIG_BUFFER_MS: return state.bufferMs;
    case BASS_CONFIG_STREAM_VOLUME: return state.streamVolume;
    case BASS_CONFIG_MUSIC_VOLUME: return state.musicVolume;
    default: return state.Fail<uint32_t>(BASS_ERROR_ILLPARAM, uint32_t(-1));
    }
}

LUMO_BASS_EXPORT BassBool BASS_ChannelStop(BassHandle handle)
{
    BassState& state = BassState::Get();
    Guard guard(state.lock);
    BassChannel* channel = FindChannel(state, handle);
    if (!channel)
        return 0;
    channel->player->Stop();
    return 1;
}

LUMO_BASS_EXPORT BassBool BASS_ChannelPlay(BassHandle handle, BassBool restart)
{
    BassState& state = BassState::Get();
    Guard guard(state.lock);
    BassChannel* channel = FindChannel(state, handle);
    if (!channel)
        return 0;
    channel->player->Play(restart != 0);
    return 1;
}

LUMO_BASS_EXPORT BassBool BASS_ChannelPause(BassHandle handle)
{
    BassState& state = BassState::Get();
    Guard guard(state.lock);
    BassChannel* channel = FindChannel(state, handle);
    if (!channel)
        return 0;
    if (channel->player->GetState() != StreamChannel::State::Playing)
        return state.Fail<BassBool>(BASS_ERROR_NOTAVAIL, 0); // nothing playing to pause
    channel->player->Pause();
    return 1;
}

LUMO_BASS_EXPORT BassBool BASS_ChannelSetAttributes(BassHandle handle, int /*freq*/, int volume, int pan)
{
    BassState& state = BassState::Get();
    Guard guard(state.lock);
    BassChannel* channel = FindChannel(state, handle);
    if (!channel)
        return 0;
    if (volume != BASS_KEEP_VOLUME)
        channel->volume = uint32_t(std::clamp(volume, 0, 100));
    if (pan != BASS_KEEP_PAN)
        channel->pan = std::clamp(pan, -100, 100);
    state.ApplyGains(*channel);
    return 1;
}

LUMO_BASS_EXPORT BassBool BASS_ChannelGetAttributes(BassHandle handle, uint32_t* freq, uint32_t* volume, int* pan)
{
    BassState& state = BassState::Get();
    Guard guard(state.lock);
    BassChannel* channel = FindChannel(state, handle);
    if (!channel)
        return 0;
    if (freq)
        *freq = channel->player->Source().Format().sampleRate;
    if (volume)
        *volume = channel->volume;
    if (pan)
        *pan = channel->pan;
    return 1;
}

LUMO_BASS_EXPORT BassBool BASS_ChannelSetPosition(BassHandle handle, uint64_t position)
{
    BassState& state = BassState::Get();
    Guard guard(state.lock);
    BassChannel* channel = FindChannel(state, handle);
    if (!channel)
        return 0;
    bool moved = false;
    if (channel->isModule && uint32_t(position >> 32) == BASS_POSITION_ORDER_ROW_HIGH &&
        (position & BASS_POSITION_ORDER_ROW_FLAG) != 0)
        moved = channel->player->SetOrderRow(int(position & 0xFFFF), int((position >> 16) & 0x7FFF));
    else
        moved = channel->player->Seek(position / channel->player->Source().Format().BlockAlign());
    return moved ? 1 : state.Fail<BassBool>(BASS_ERROR_POSITION, 0);
}

LUMO_BASS_EXPORT uint64_t BASS_ChannelGetPosition(BassHandle handle)
{
    BassState& state = BassState::Get();
    Guard guard(state.lock);
    BassChannel* channel = FindChannel(state, handle);
    if (!channel)
        return uint64_t(-1);
    return channel->player->Source().Position() * channel->player->Source().Format().BlockAlign();
}

LUMO_BASS_EXPORT BassBool BASS_ChannelSetFlags(BassHandle handle, uint32_t flags)
{
    BassState& state = BassState::Get();
    Guard guard(state.lock);
    BassChannel* channel = FindChannel(state, handle);
    if (!channel)
        return 0;
    channel->flags = flags;
    channel->player->Source().SetLooping((flags & BASS_FLAG_LOOP) != 0);
    return 1;
}

LUMO_BASS_EXPORT uint32_t BASS_ChannelIsActive(BassHandle handle)
{
    BassState& state = BassState::Get();
    Guard guard(state.lock);
    BassChannel* channel = FindChannel(state, handle);
    if (!channel)
        return BASS_ACTIVE_STOPPED;
    switch (channel->player->GetState())
    {
    case StreamChannel::State::Playing: return BASS_ACTIVE_PLAYING;
    case StreamChannel::State::Paused: return BASS_ACTIVE_PAUSED;
    default: return BASS_ACTIVE_STOPPED;
    }
}

LUMO_BASS_EXPORT uint64_t BASS_ChannelGetLength(BassHandle handle)
{
    BassState& state = BassState::Get();
    Guard guard(state.lock);
    BassChannel* channel = FindChannel(state, handle);
    if (!channel)
        return uint64_t(-1);
    return channel->player->Source().Length() * channel->player->Source().Format().BlockAlign();
}

LUMO_BASS_EXPORT BassHandle BASS_MusicLoad(BassBool fromMemory, const void* file, uint64_t offset, uint32_t length,
                                          uint32_t flags, uint32_t /*freq*/)
{
    return LoadModule(fromMemory, file, offset, length, flags);
}

LUMO_BASS_EXPORT void BASS_MusicFree(BassHandle handle)
{
    BassState& state = BassState::Get();
    Guard guard(state.lock);
    if (FindChannel(state, handle) && state.Find(handle)->isModule)
        state.Remove(handle);
}

LUMO_BASS_EXPORT BassHandle BASS_StreamCreateFile(BassBool fromMemory, const void* file, uint64_t offset,
                                                 uint64_t length, uint32_t flags)
{
    BassState& state = BassState::Get();
    Guard guard(state.lock);
    if (!state.initialized)
        return state.Fail<BassHandle>(BASS_ERROR_INIT, 0);
    auto source = OpenSource(fromMemory, file, offset, length);
    if (!source)
        return state.Fail<BassHandle>(BASS_ERROR_FILEOPEN, 0);
    auto decoder = Lumo::Platform::OpenStreamDecoder(std::move(source));
    if (!decoder)
        return state.Fail<BassHandle>(BASS_ERROR_FORMAT, 0);
    return AddChannel(state, std::move(decoder), false, flags);
}

LUMO_BASS_EXPORT void BASS_StreamFree(BassHandle handle)
{
    BassState& state = BassState::Get();
    Guard guard(state.lock);
    if (FindChannel(state, handle) && !state.Find(handle)->isModule)
        state.Remove(handle);
}

LUMO_BASS_EXPORT uint32_t BASS_MusicGetAttribute(BassHandle handle, uint32_t attribute)
{
    BassState& state = BassState::Get();
    Guard guard(state.lock);
    BassChannel* channel = FindChannel(state, handle);
    if (!channel || !channel->isModule || attribute != BASS_MUSIC_ATTRIB_AMPLIFY)
        return state.Fail<uint32_t>(channel ? BASS_ERROR_ILLPARAM : state.error, uint32_t(-1));
    return channel->amplify;
}

LUMO_BASS_EXPORT uint32_t BASS_MusicSetAttribute(BassHandle handle, uint32_t attribute, uint32_t value)
{
    BassState& state = BassState::Get();
    Guard guard(state.lock);
    BassChannel* channel = FindChannel(state, handle);
    if (!channel || !channel->isModule || attribute != BASS_MUSIC_ATTRIB_AMPLIFY)
        return state.Fail<uint32_t>(channel ? BASS_ERROR_ILLPARAM : state.error, uint32_t(-1));
    const uint32_t previous = channel->amplify;
    channel->amplify = std::min(value, 100u);
    state.ApplyGains(*channel);
    return previous;
}

LUMO_BASS_EXPORT uint32_t BASS_MusicGetOrders(BassHandle handle)
{
    BassState& state = BassState::Get();
    Guard guard(state.lock);
    BassChannel* channel = FindChannel(state, handle);
    if (!channel || !channel->isModule)
        return state.Fail<uint32_t>(channel ? BASS_ERROR_NOTAVAIL : state.error, uint32_t(-1));
    return uint32_t(channel->player->Source().WithModule([](auto* module) { return module->CountOrders(); }));
}

LUMO_BASS_EXPORT uint32_t BASS_MusicGetOrderPosition(BassHandle handle)
{
    BassState& state = BassState::Get();
    Guard guard(state.lock);
    BassChannel* channel = FindChannel(state, handle);
    if (!channel || !channel->isModule)
        return state.Fail<uint32_t>(channel ? BASS_ERROR_NOTAVAIL : state.error, uint32_t(-1));
    return channel->player->Source().WithModule([](auto* module) {
        return uint32_t(module->CurrentOrder() & 0xFFFF) | uint32_t(module->CurrentRow()) << 16;
    });
}

LUMO_BASS_EXPORT int BASS_ErrorGetCode(void)
{
    BassState& state = BassState::Get();
    Guard guard(state.lock);
    return state.error;
}

// Entries the music players never use.
LUMO_BASS_EXPORT BassBool BASS_ChannelSlideAttributes(BassHandle, int, int, int, uint32_t) { return NotAvailable(); }
LUMO_BASS_EXPORT uint32_t BASS_ChannelIsSliding(BassHandle) { return NotAvailable<uint32_t>(); }
LUMO_BASS_EXPORT uint32_t BASS_ChannelGetLevel(BassHandle) { return NotAvailable<uint32_t>(uint32_t(-1)); }
LUMO_BASS_EXPORT uint32_t BASS_ChannelSetFX(BassHandle, uint32_t, int) { return NotAvailable<uint32_t>(); }
LUMO_BASS_EXPORT BassBool BASS_ChannelRemoveFX(BassHandle, uint32_t) { return NotAvailable(); }
LUMO_BASS_EXPORT uint32_t BASS_ChannelGetData(BassHandle, void*, uint32_t) { return NotAvailable<uint32_t>(uint32_t(-1)); }
LUMO_BASS_EXPORT BassBool BASS_ChannelPreBuf(BassHandle) { return NotAvailable(); }
LUMO_BASS_EXPORT uint32_t BASS_ChannelSetSync(BassHandle, uint32_t, uint64_t, BassSyncProc, void*) { return NotAvailable<uint32_t>(); }
LUMO_BASS_EXPORT BassBool BASS_ChannelRemoveSync(BassHandle, uint32_t) { return NotAvailable(); }
LUMO_BASS_EXPORT BassBool BASS_FXSetParameters(uint32_t, const void*) { return NotAvailable(); }
LUMO_BASS_EXPORT BassBool BASS_FXGetParameters(uint32_t, void*) { return NotAvailable(); }
LUMO_BASS_EXPORT uint32_t BASS_PluginLoad(const char*, uint32_t) { return NotAvailable<uint32_t>(); }
LUMO_BASS_EXPORT uint32_t BASS_SampleLoad(BassBool, const void*, uint64_t, uint32_t, uint32_t, uint32_t) { return NotAvailable<uint32_t>(); }
LUMO_BASS_EXPORT BassBool BASS_SampleFree(uint32_t) { return NotAvailable(); }
LUMO_BASS_EXPORT BassBool BASS_SampleSetInfo(uint32_t, const BassSampleInfo*) { return NotAvailable(); }
LUMO_BASS_EXPORT BassBool BASS_SampleGetInfo(uint32_t, BassSampleInfo*) { return NotAvailable(); }
LUMO_BASS_EXPORT BassHandle BASS_SampleGetChannel(uint32_t, BassBool) { return NotAvailable<BassHandle>(); }
LUMO_BASS_EXPORT BassBool BASS_SampleStop(uint32_t) { return NotAvailable(); }

// The exports must keep the types the players call them through.
static_assert(std::is_same_v<decltype(&BASS_Init), BassInitFunction>);
static_assert(std::is_same_v<decltype(&BASS_MusicLoad), BassMusicLoadFunction>);
static_assert(std::is_same_v<decltype(&BASS_StreamCreateFile), BassStreamCreateFileFunction>);
static_assert(std::is_same_v<decltype(&BASS_ChannelSetPosition), BassChannelSetPositionFunction>);
static_assert(std::is_same_v<decltype(&BASS_ChannelSetAttributes), BassChannelSetAttributesFunction>);
static_assert(std::is_same_v<decltype(&BASS_SetGlobalVolumes), BassSetGlobalVolumesFunction>);
static_assert(std::is_same_v<decltype(&BASS_MusicSetAttribute), BassMusicSetAttributeFunction>);
