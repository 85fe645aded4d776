#include "platform/modules/bass/StreamDecoder.h"
#include <algorithm>
#include <cctype>
#include <cstring>

namespace Lumo::Platform {

std::unique_ptr<StreamDecoder> OpenStreamDecoder(std::unique_ptr<ByteSource> source)
{
    if (!source)
        return nullptr;
    char magic[4] = {};
    const size_t got = source->Read(magic, sizeof(magic));
    if (!source->Seek(0, SEEK_SET))
        return nullptr;
    if (got == 4 && std::memcmp(magic, "RIFF", 4) == 0)
        return OpenWavDecoder(std::move(source));
    if (got == 4 && std::memcmp(magic, "OggS", 4) == 0)
        return OpenOggDecoder(std::move(source));
    return OpenMp3Decoder(std::move(source));
}

bool IsStreamFileName(const std::string& path)
{
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos)
        return false;
    std::string extension = path.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return extension == "wav" || extension == "ogg" || extension == "mp3";
}

} // namespace Lumo::Platform
