#include "audio/AudioLibraryError.h"
#include "platform/DebugOutput.h"
#include "platform/Video.h"
#include <cstdio>
#include <cstdlib>

namespace Lumo {

void FailAudioLibrary(const std::string& text)
{
    Platform::Log("AUDIO", text);
    std::fprintf(stderr, "Error: %s\n", text.c_str()); // also when no box can be shown
    // No window of the application's is needed: the box stands alone.
    if (auto video = Platform::CreateVideoBackend())
        video->ShowMessageBox("Error", text, Platform::MessageBoxKind::Ok);
    std::fflush(nullptr);
    std::exit(0);
}

} // namespace Lumo
