#pragma once
// Building pack files (format in PakFormat.h), for the pakbuild tool and tests.
#include <cstdint>
#include <string>
#include <vector>

namespace Lumo {

struct PakSourceFile
{
    std::string name; // the name stored in the pack, e.g. "images/tiles.png"
    std::vector<uint8_t> bytes;
};

// The bytes of a pack holding the files in the given order. False, with an
// error text, when a name is empty, too long or holds a NUL byte, when two
// names match each other, or when the pack would not fit 32-bit offsets.
[[nodiscard]] bool MakePakImage(const std::vector<PakSourceFile>& files, std::vector<uint8_t>& image,
                                std::string& error);

// Packs every regular file under the folders (recursively, symbolic links to
// files followed) into outputPath, written atomically. Names use '/' between
// folders. A folder given as a relative path keeps that path in the names, as
// archivers do ("pakbuild main.pak images sound" stores "images/tiles.png");
// an absolute folder, "." and a folder reached through ".." stand for their
// contents ("pakbuild main.pak /x/assets" stores "/x/assets/images/tiles.png"
// as "images/tiles.png"). Entries are sorted by name; the output file itself
// is skipped when it lies inside a folder. False, with an error text and the
// output left as it was, on any failure.
[[nodiscard]] bool BuildPak(const std::string& outputPath, const std::vector<std::string>& folders,
                            std::string& error);

} // namespace Lumo
