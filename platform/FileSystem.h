#pragma once
// The one file-system boundary. Paths throughout the framework and the game are
// written as on Windows ("images\\tiles", "sound/blob.wav"): this layer maps '\\'
// to '/' and, when the exact path does not exist, matches each component without
// regard to case. Every file access of the program goes through here.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace Lumo::Platform {

// The host path for a program path: '\\' becomes '/', and when that path does not
// exist each existing component is matched without regard to case. Components
// that do not exist are kept as written (so a new file can be created there).
std::string MapPath(const std::string& path);

// fopen through MapPath. Null when the file cannot be opened.
FILE* OpenFile(const std::string& path, const char* mode);

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);

// Last-write time as a 64-bit Windows file time (100 ns ticks since 1601-01-01).
// False when the file does not exist.
[[nodiscard]] bool GetFileWriteTime(const std::string& path, uint64_t& fileTime);

// Reads the whole file. False (and bytes empty) when it cannot be read.
[[nodiscard]] bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes);
// Reads at most maxBytes from the start of the file, so a huge file costs no
// more than that. False (and bytes empty) when it cannot be read.
[[nodiscard]] bool ReadFileStart(const std::string& path, size_t maxBytes, std::vector<uint8_t>& bytes);

// Writes the bytes to a temporary file beside the target, flushes it, then
// renames it over the target: a failed write never leaves a truncated file and
// the old file stays as it was. False on any failure (the temporary is removed).
// The temporary is "<target>.tmp<process id>": one target is written by one
// thread at a time. A target that is a symbolic link is written through it:
// the link stays and the file it points to is replaced.
[[nodiscard]] bool WriteFileAtomically(const std::string& path, const void* data, size_t size);
// Removes the temporaries that WriteFileAtomically left for this target when
// its process died mid-write (a kill -9): "<target>.tmp<process id>" beside the
// target (beside the file a link points to), for processes that no longer
// run. Returns how many were removed; failures are ignored.
int RemoveStaleTemporaries(const std::string& path);

// Creates every missing folder level of the path ('\\' and '/' both separate).
bool CreateDirectories(const std::string& path);
bool RemoveFile(const std::string& path);
bool RenameFile(const std::string& from, const std::string& to);

// The current working folder, and changing it (for "-changedir").
std::string GetCurrentFolder();
bool SetCurrentFolder(const std::string& path);

// The folder that holds the running program, ending with '/'.
std::string GetExecutableFolder();

} // namespace Lumo::Platform
