#pragma once
// The pack file format ("main.pak"): a directory of names, offsets and sizes,
// then the data. All numbers are little-endian.
//
//   magic        4 bytes   "LPAK"
//   version      uint32    1
//   count        uint32    number of entries
//   count times:
//     nameLength uint16    1..kMaxNameLength
//     name       bytes     the relative path as written, '/' or '\\' separating
//                          folders (pakbuild writes '/'); no NUL bytes
//     offset     uint32    from the start of the file, at or after the end of
//                          the directory
//     size       uint32    offset + size within the file
//   the files' data (pakbuild writes them back to back in directory order)
//
// Names are matched without regard to ASCII case, with '\\' equal to '/' and
// "." and ".." parts resolved (NormalizePakName); two entries of one pack may
// not match each other.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Lumo {

namespace PakFormat {
constexpr char kMagic[4] = {'L', 'P', 'A', 'K'};
constexpr uint32_t kVersion = 1;
constexpr size_t kHeaderSize = 12;
constexpr size_t kMaxNameLength = 1024;
constexpr size_t kMinEntrySize = 2 + 1 + 4 + 4;
} // namespace PakFormat

struct PakEntryInfo
{
    std::string name;    // as stored
    uint32_t offset = 0; // from the start of the pack
    uint32_t size = 0;
};

// The lookup key of a name: ASCII lower case, '/' between the parts, empty and
// "." parts dropped, ".." removing the part before it
// ("./Images\\..\\Images//Tiles.PNG" -> "images/tiles.png").
std::string NormalizePakName(const std::string& name);

// Reads and checks the directory of a whole pack image. False with a short
// error text (no entries kept) when the data is not a valid pack.
[[nodiscard]] bool ParsePakDirectory(const uint8_t* data, size_t size, std::vector<PakEntryInfo>& entries,
                                     std::string& error);

} // namespace Lumo
