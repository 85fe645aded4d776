#include "audio/MusicFileBytes.h"
#include "audio/PakFileHandle.h"

namespace Lumo {

MusicBytes ReadMusicFile(const std::string& path)
{
    PakFileHandle file(PakFileOpen(path, "rb"));
    if (!file)
        return nullptr;
    const int64_t size = PakFileSize(file.get());
    if (size <= 0 || size > kMaxMusicFileBytes)
        return nullptr;
    auto bytes = std::make_shared<std::vector<uint8_t>>(size_t(size));
    if (!PakReadExact(file.get(), bytes->data(), bytes->size()))
        return nullptr;
    return bytes;
}

} // namespace Lumo
