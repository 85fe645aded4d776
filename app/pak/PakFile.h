#pragma once
// The file wrappers every reader of the framework and the game uses. They go to
// the process-wide PakInterface (GetSharedPakInterface) when one is registered
// and the file is in the pack, else to the file on disk through the platform's
// file-system boundary ('\\' or '/', any case).
#include <cstddef>
#include <string>

namespace Lumo {

struct PFILE; // an open file: inside the pack or on disk

// Null when the file is neither in the pack nor on disk.
PFILE* PakFileOpen(const std::string& path, const char* mode);
// Closes the file and frees the handle; 0 on success.
int PakFileClose(PFILE* file);
// origin 0 (SEEK_SET), 1 (SEEK_CUR) or 2 (SEEK_END); 0 on success.
int PakFileSeek(PFILE* file, long offset, int origin);
long PakFileTell(PFILE* file);
// The number of whole items read (0 at the end of the file).
size_t PakFileRead(void* buffer, size_t itemSize, size_t itemCount, PFILE* file);
// The next byte 0..255, or -1 at the end of the file.
int PakFileGetChar(PFILE* file);
// Non-zero once the end of the file has been reached.
int PakFileAtEnd(PFILE* file);

} // namespace Lumo
