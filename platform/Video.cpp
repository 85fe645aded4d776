// Chooses the video back end: headless when asked or without a display, SDL
// otherwise, headless again when SDL video cannot start.
#include "platform/Video.h"

#include "platform/DebugOutput.h"
#include "platform/Environment.h"
#include "platform/VideoSdl.h"

namespace Lumo::Platform {

std::unique_ptr<VideoBackend> CreateVideoBackend()
{
    if (IsHeadless())
        return std::make_unique<HeadlessVideo>();
    std::string error;
    if (auto sdl = SdlVideo::Create(&error))
        return sdl;
    Log("VIDEO", "SDL video is not available (" + error + "); running headless");
    return std::make_unique<HeadlessVideo>();
}

} // namespace Lumo::Platform
