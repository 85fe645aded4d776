#pragma once
// Helpers the image readers share: an owning pack-file handle and exact reads.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "app/pak/PakFile.h"

namespace Lumo::ImageLib {

struct PakFileCloser
{
    void operator()(PFILE* file) const { PakFileClose(file); }
};
using PakFilePtr = std::unique_ptr<PFILE, PakFileCloser>;

// Opens the file for reading ("rb"); null when it is neither in the pack nor
// on disk.
inline PakFilePtr OpenImageFile(const std::string& path)
{
    return PakFilePtr(PakFileOpen(path, "rb"));
}

// True when exactly size bytes were read.
[[nodiscard]] inline bool ReadExact(PFILE* file, void* buffer, size_t size)
{
    return size == 0 || PakFileRead(buffer, 1, size, file) == size;
}

// Little-endian 16-bit value from two bytes.
inline uint16_t LoadLE16(const uint8_t* bytes)
{
    return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}

// The number of bytes from the current position to the end of the file, the
// position left unchanged; nothing when the file cannot seek.
std::optional<int64_t> BytesLeft(PFILE* file);

// One "IMAGE" log line naming the file.
void LogBadImage(const std::string& path, const char* what);

} // namespace Lumo::ImageLib
