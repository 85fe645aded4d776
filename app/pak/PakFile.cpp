#include "app/pak/PakFile.h"

#include "app/pak/PakInterface.h"

namespace Lumo {

namespace {

// The shared interface when one is registered; otherwise an interface without
// packs, which reads from disk with the same behaviour.
PakInterface& Files()
{
    if (PakInterface* shared = GetSharedPakInterface())
        return *shared;
    static PakInterface diskOnly;
    return diskOnly;
}

} // namespace

PFILE* PakFileOpen(const std::string& path, const char* mode)
{
    return Files().FOpen(path, mode);
}

int PakFileClose(PFILE* file)
{
    return Files().FClose(file);
}

int PakFileSeek(PFILE* file, long offset, int origin)
{
    return Files().FSeek(file, offset, origin);
}

long PakFileTell(PFILE* file)
{
    return Files().FTell(file);
}

size_t PakFileRead(void* buffer, size_t itemSize, size_t itemCount, PFILE* file)
{
    return Files().FRead(buffer, itemSize, itemCount, file);
}

int PakFileGetChar(PFILE* file)
{
    return Files().FGetC(file);
}

int PakFileAtEnd(PFILE* file)
{
    return Files().FEof(file);
}

} // namespace Lumo
