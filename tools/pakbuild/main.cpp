// pakbuild <output.pak> <folder> [<folder>...]
//
// Packs every file under the folders into one pack file; the output is written
// atomically. A relative folder keeps its path in the names, so the game's
// assets are packed from the folder that holds them with
//   pakbuild main.pak images sound
// while an absolute folder (or ".") stands for its contents.
#include "app/pak/PakWriter.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    if (argc < 3)
    {
        std::fprintf(stderr, "usage: pakbuild <output.pak> <folder> [<folder>...]\n");
        return 2;
    }
    const std::vector<std::string> folders(argv + 2, argv + argc);
    std::string error;
    if (!Lumo::BuildPak(argv[1], folders, error))
    {
        std::fprintf(stderr, "pakbuild: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
