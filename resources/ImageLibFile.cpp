#include "resources/ImageLibFile.h"

#include "platform/DebugOutput.h"

namespace Lumo::ImageLib {

std::optional<int64_t> BytesLeft(PFILE* file)
{
    const long here = PakFileTell(file);
    if (here < 0 || PakFileSeek(file, 0, 2) != 0)
        return std::nullopt;
    const long end = PakFileTell(file);
    if (PakFileSeek(file, here, 0) != 0 || end < here)
        return std::nullopt;
    return int64_t{end} - int64_t{here};
}

void LogBadImage(const std::string& path, const char* what)
{
    Platform::Log("IMAGE", path + ": " + what);
}

} // namespace Lumo::ImageLib
