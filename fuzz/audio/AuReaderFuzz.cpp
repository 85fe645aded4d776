// Fuzz target: the Sun audio reader.
#include "audio/SoundFileReaders.h"
#include "fuzz/audio/SoundFuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const Lumo::SoundFuzz::InputFile input(data, size, ".au");
    const std::string& path = input.Path();
    Lumo::DecodedSound sound;
    // What a reader accepts must fit a sound buffer.
    if (Lumo::ReadAuSound(path, sound) &&
        !Lumo::IsStorableSound(sound.channels, sound.sampleRate, sound.bitsPerSample, sound.pcm.size()))
        __builtin_trap();
    return 0;
}
