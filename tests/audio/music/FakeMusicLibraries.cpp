#include "tests/audio/music/FakeMusicLibraries.h"

namespace Lumo::MusicTest {
namespace {

using Bass = FakeBassAnswers;
using Fmod = FakeFmodAnswers;

void Log(const std::string& call)
{
    FakeLog::Add(call);
}

BassHandle Load(BassBool fromMemory, const void* file, uint64_t length)
{
    if (Bass::failAll || (!fromMemory && Bass::failByName))
        return 0;
    if (fromMemory)
        Bass::memorySizes.push_back(size_t(length));
    (void)file;
    return Bass::nextHandle++;
}

} // namespace

FakeBass::FakeBass(bool newer, bool globalVolumes)
{
    mNewerGeneration = newer;
    BASS_Free = [] { Log("Free()"); return 1; };
    BASS_Stop = [] { Log("Stop()"); return 1; };
    BASS_Start = [] { Log("Start()"); return 1; };
    BASS_SetVolume = [](uint32_t v) { Log(FormatString("SetVolume(%u)", v)); return 1; };
    if (globalVolumes)
        BASS_SetGlobalVolumes = [](int m, int s, int t) {
            Log(FormatString("SetGlobalVolumes(%d,%d,%d)", m, s, t));
            return 1;
        };
    BASS_ChannelStop = [](BassHandle h) { Log(FormatString("ChannelStop(%u)", h)); return 1; };
    BASS_ChannelPlay = [](BassHandle h, BassBool r) { Log(FormatString("ChannelPlay(%u,%d)", h, r)); return 1; };
    BASS_ChannelPause = [](BassHandle h) { Log(FormatString("ChannelPause(%u)", h)); return 1; };
    BASS_ChannelSetAttributes = [](BassHandle h, int f, int v, int p) {
        Log(FormatString("ChannelSetAttributes(%u,%d,%d,%d)", h, f, v, p));
        return 1;
    };
    BASS_ChannelSetPosition = [](BassHandle h, uint64_t p) {
        Log(FormatString("ChannelSetPosition(%u,0x%llx)", h, static_cast<unsigned long long>(p)));
        return 1;
    };
    BASS_ChannelSetFlags = [](BassHandle h, uint32_t f) { Log(FormatString("ChannelSetFlags(%u,0x%x)", h, f)); return 1; };
    BASS_ChannelIsActive = [](BassHandle h) {
        Log(FormatString("ChannelIsActive(%u)", h));
        return Bass::activeState;
    };
    BASS_StreamCreateFile = [](BassBool m, const void* file, uint64_t o, uint64_t l, uint32_t f) {
        Log(FormatString("StreamCreateFile(%d,%s,%llu,%llu,0x%x)", m, m ? "<memory>" : static_cast<const char*>(file),
                         static_cast<unsigned long long>(o), static_cast<unsigned long long>(l), f));
        return Load(m, file, l);
    };
    BASS_StreamFree = [](BassHandle h) { Log(FormatString("StreamFree(%u)", h)); };
    BASS_MusicFree = [](BassHandle h) { Log(FormatString("MusicFree(%u)", h)); };
    BASS_MusicSetAttribute = [](BassHandle h, uint32_t a, uint32_t v) {
        Log(FormatString("MusicSetAttribute(%u,%u,%u)", h, a, v));
        return 0u;
    };
    if (newer)
    {
        BASS_Init = [](int d, uint32_t f, uint32_t fl, void*, const void* c) {
            Log(FormatString("Init(%d,%u,%u,window,%s)", d, f, fl, c ? "clsid" : "null"));
            return 1;
        };
        BASS_SetConfig = [](uint32_t o, uint32_t v) { Log(FormatString("SetConfig(%u,%u)", o, v)); return v; };
        BASS_MusicLoad = [](BassBool m, const void* file, uint64_t o, uint32_t l, uint32_t f, uint32_t q) {
            Log(FormatString("MusicLoad(%d,%s,%llu,%u,0x%x,%u)", m, m ? "<memory>" : static_cast<const char*>(file),
                             static_cast<unsigned long long>(o), l, f, q));
            return Load(m, file, l);
        };
    }
    else
    {
        BASS_InitOld = [](int d, uint32_t f, uint32_t fl, void*) {
            Log(FormatString("InitOld(%d,%u,%u,window)", d, f, fl));
            return 1;
        };
        BASS_MusicLoadOld = [](BassBool m, const void* file, uint32_t o, uint32_t l, uint32_t f) {
            Log(FormatString("MusicLoadOld(%d,%s,%u,%u,0x%x)", m, m ? "<memory>" : static_cast<const char*>(file), o,
                             l, f));
            return Load(m, file, l);
        };
    }
}

namespace {

unsigned int FramesOf(FmodSample* sample)
{
    auto it = Fmod::shapes.find(sample);
    return it == Fmod::shapes.end() ? Fmod::sampleFrames : it->second.first;
}

int RateOf(FmodSample* sample)
{
    auto it = Fmod::shapes.find(sample);
    return it == Fmod::shapes.end() ? Fmod::sampleRate : it->second.second;
}

template <typename T>
T TakeFirst(std::vector<T>& values, T fallback)
{
    if (values.empty())
        return fallback;
    T value = values.front();
    values.erase(values.begin());
    return value;
}

} // namespace

FakeFmod::FakeFmod()
{
    FSOUND_SetBufferSize = [](int ms) { Log(FormatString("SetBufferSize(%d)", ms)); return 1; };
    FSOUND_SetHWND = [](void*) { Log("SetHWND(window)"); return 1; };
    FSOUND_Init = [](int r, int c, unsigned f) { Log(FormatString("Init(%d,%d,%u)", r, c, f)); return 1; };
    FSOUND_Close = [] { Log("Close()"); };
    FSOUND_Sample_Load = [](int i, const char* name, unsigned m, int l) -> FmodSample* {
        const std::string shown = (m & FMOD_LOADMEMORY) ? std::string("<memory>") : std::string(name);
        Log(FormatString("Sample_Load(%d,%s,0x%x,%d)", i, shown.c_str(), m, l));
        if (Fmod::failLoads)
            return nullptr;
        for (const std::string& part : Fmod::failNames)
            if (!(m & FMOD_LOADMEMORY) && shown.find(part) != std::string::npos)
                return nullptr;
        static uintptr_t next = 0x1000;
        FmodSample* sample = FakeSample(next += 0x10);
        Fmod::shapes[sample] = {TakeFirst(Fmod::nextFrames, Fmod::sampleFrames), TakeFirst(Fmod::nextRates, Fmod::sampleRate)};
        return sample;
    };
    FSOUND_Sample_Alloc = [](int i, int length, unsigned m, int f, int v, int p, int pri) {
        Log(FormatString("Sample_Alloc(%d,%d,0x%x,%d,%d,%d,%d)", i, length, m, f, v, p, pri));
        return FakeSample(0x9000);
    };
    FSOUND_Sample_Free = [](FmodSample* s) { Log(FormatString("Sample_Free(%p)", static_cast<void*>(s))); };
    FSOUND_Sample_Lock = [](FmodSample* s, int o, int l, void** p1, void** p2, unsigned* l1, unsigned* l2) {
        Log(FormatString("Sample_Lock(%p,%d,%d)", static_cast<void*>(s), o, l));
        std::vector<uint8_t>& bytes = Fmod::memory[s];
        for (size_t i = bytes.size(); i < size_t(o + l); ++i)
            bytes.push_back(uint8_t(i + 1));
        *p1 = bytes.data() + o;
        *p2 = nullptr;
        *l1 = unsigned(l);
        *l2 = 0;
        return 1;
    };
    FSOUND_Sample_Unlock = [](FmodSample* s, void*, void*, unsigned l1, unsigned) {
        Log(FormatString("Sample_Unlock(%p,%u)", static_cast<void*>(s), l1));
        return 1;
    };
    FSOUND_Sample_SetLoopPoints = [](FmodSample* s, int a, int b) {
        Log(FormatString("Sample_SetLoopPoints(%p,%d,%d)", static_cast<void*>(s), a, b));
        return 1;
    };
    FSOUND_Sample_GetLength = [](FmodSample* s) { return FramesOf(s); };
    FSOUND_Sample_GetDefaults = [](FmodSample* s, int* f, int* v, int* p, int* pri) {
        if (f)
            *f = RateOf(s);
        if (v)
            *v = 255;
        if (p)
            *p = 128;
        if (pri)
            *pri = 128;
        return 1;
    };
    FSOUND_Sample_GetMode = [](FmodSample*) { return Fmod::sampleMode; };
    FSOUND_PlaySound = [](int c, FmodSample* s) {
        Log(FormatString("PlaySound(%d,%p)", c, static_cast<void*>(s)));
        return c;
    };
    FSOUND_StopSound = [](int c) { Log(FormatString("StopSound(%d)", c)); return 1; };
    FSOUND_SetVolume = [](int c, int v) { Log(FormatString("SetVolume(%d,%d)", c, v)); return 1; };
    FSOUND_SetPaused = [](int c, FmodBool p) { Log(FormatString("SetPaused(%d,%d)", c, p)); return 1; };
    FSOUND_SetLoopMode = [](int c, unsigned m) { Log(FormatString("SetLoopMode(%d,%u)", c, m)); return 1; };
    FSOUND_IsPlaying = [](int c) {
        Log(FormatString("IsPlaying(%d)", c));
        return FmodBool(Fmod::channelPlaying);
    };
    FMUSIC_LoadSong = [](const char* name) -> FmodSong* {
        Log(FormatString("LoadSong(%s)", name));
        static uintptr_t next = 0x100;
        return Fmod::failLoads ? nullptr : FakeSong(next += 0x10);
    };
    FMUSIC_PlaySong = [](FmodSong* s) { Log(FormatString("PlaySong(%p)", static_cast<void*>(s))); return 1; };
    FMUSIC_StopSong = [](FmodSong* s) { Log(FormatString("StopSong(%p)", static_cast<void*>(s))); return 1; };
    FMUSIC_SetLooping = [](FmodSong* s, FmodBool l) {
        Log(FormatString("SetLooping(%p,%d)", static_cast<void*>(s), l));
        return 1;
    };
    FMUSIC_SetOrder = [](FmodSong* s, int o) { Log(FormatString("SetOrder(%p,%d)", static_cast<void*>(s), o)); return 1; };
    FMUSIC_SetPaused = [](FmodSong* s, FmodBool p) {
        Log(FormatString("SongPaused(%p,%d)", static_cast<void*>(s), p));
        return 1;
    };
    FMUSIC_SetMasterVolume = [](FmodSong* s, int v) {
        Log(FormatString("SetMasterVolume(%p,%d)", static_cast<void*>(s), v));
        return 1;
    };
    FMUSIC_IsPlaying = [](FmodSong* s) {
        Log(FormatString("SongIsPlaying(%p)", static_cast<void*>(s)));
        return FmodBool(Fmod::songPlaying);
    };
}

} // namespace Lumo::MusicTest
