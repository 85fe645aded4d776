#pragma once
// Small helpers over the pack-file wrappers for the sound readers.
#include "app/pak/PakFile.h"
#include <cstdint>
#include <memory>

namespace Lumo {

struct PakFileCloser
{
    void operator()(PFILE* file) const { PakFileClose(file); }
};
using PakFileHandle = std::unique_ptr<PFILE, PakFileCloser>;

// The file's size in bytes (the position is put back to the start); -1 when
// it cannot be found.
inline int64_t PakFileSize(PFILE* file)
{
    if (PakFileSeek(file, 0, 2) != 0)
        return -1;
    const long size = PakFileTell(file);
    if (PakFileSeek(file, 0, 0) != 0)
        return -1;
    return size;
}

inline bool PakReadExact(PFILE* file, void* buffer, size_t bytes)
{
    return bytes == 0 || PakFileRead(buffer, 1, bytes, file) == bytes;
}

inline bool PakReadU16(PFILE* file, uint16_t& value)
{
    uint8_t b[2];
    if (!PakReadExact(file, b, 2))
        return false;
    value = uint16_t(b[0] | b[1] << 8);
    return true;
}

inline bool PakReadU32(PFILE* file, uint32_t& value)
{
    uint8_t b[4];
    if (!PakReadExact(file, b, 4))
        return false;
    value = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
    return true;
}

inline bool PakReadU32BigEndian(PFILE* file, uint32_t& value)
{
    uint8_t b[4];
    if (!PakReadExact(file, b, 4))
        return false;
    value = uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | uint32_t(b[3]);
    return true;
}

} // namespace Lumo
