#include "platform/audio/SdlAudioOutput.h"
#include <SDL.h>

namespace Lumo::Platform {

std::unique_ptr<SdlAudioOutput> SdlAudioOutput::Open(FillFunction fill, void* user, std::string& error)
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
    {
        error = SDL_GetError();
        return nullptr;
    }
    std::unique_ptr<SdlAudioOutput> output(new SdlAudioOutput());
    output->mFill = fill;
    output->mUser = user;

    SDL_AudioSpec wanted{};
    wanted.freq = 44100;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = 1024; // about 23 ms per callback
    wanted.callback = [](void* self, Uint8* stream, int length) { Callback(self, stream, length); };
    wanted.userdata = output.get();
    SDL_AudioSpec obtained{};
    output->mDevice = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (output->mDevice == 0)
    {
        error = SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    SDL_PauseAudioDevice(output->mDevice, 0);
    return output;
}

SdlAudioOutput::~SdlAudioOutput()
{
    if (mDevice != 0)
    {
        SDL_CloseAudioDevice(mDevice); // waits for a running callback
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

void SdlAudioOutput::Callback(void* self, uint8_t* stream, int length)
{
    auto* output = static_cast<SdlAudioOutput*>(self);
    output->mFill(output->mUser, reinterpret_cast<int16_t*>(stream), size_t(length) / 4);
}

} // namespace Lumo::Platform
