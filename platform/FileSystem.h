#pragma once
// The one file-system boundary. Paths throughout the framework and the game are
// written as on Windows ("images\\tiles", "sound/blob.wav"): this layer maps '\\'
// to '/' and, when the exact path does not exist, matches each component without
// regard to case. Every file access of the program goes through here.
#include <chrono>
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

// Reads the whole file. False (and bytes empty) when it cannot be read; error,
// when given, then gets the reason ("No such file or directory").
[[nodiscard]] bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes,
                                 std::string* error = nullptr);
// Reads at most maxBytes from the start of the file, so a huge file costs no
// more than that. False (and bytes empty) when it cannot be read, with the
// reason in error when given.
[[nodiscard]] bool ReadFileStart(const std::string& path, size_t maxBytes, std::vector<uint8_t>& bytes,
                                 std::string* error = nullptr);

// Writes the bytes to a temporary file beside the target, flushes it, then
// renames it over the target: a failed write never leaves a truncated file and
// the old file stays as it was. False on any failure (the temporary is removed);
// error, when given, then gets a short reason that names the file, such as
// "cannot write <file>: cannot create a file in <folder>: Permission denied".
// A target that is a symbolic link is written through it: the link stays and
// the file it points to is replaced. The new file keeps the permission bits of
// the file it replaces, and is readable by its owner only until all bytes are
// written; a file written for the first time gets what creating it in its
// folder gives (0666 less the umask, or the folder's default ACL).
// Each write has its own temporary "<target>.tmp<process id>-<random hex>",
// created exclusively and held under an exclusive flock() until it has been
// renamed, so writers never share one, whatever their process ids. A temporary
// that another writer's clean-up took before it was locked is given up for a
// new one. Before writing, the stale temporaries of this target are removed
// (see below).
[[nodiscard]] bool WriteFileAtomically(const std::string& path, const void* data, size_t size,
                                       std::string* error = nullptr);

// WriteFileAtomically, after making the file's folder when it is missing; a
// folder that cannot be made gives "cannot write <file>: <why>".
[[nodiscard]] bool WriteFileAtomicallyMakingFolder(const std::string& path, const void* data, size_t size,
                                                   std::string* error = nullptr);

// For tests: called with the name of each temporary WriteFileAtomically
// creates, before it is locked or written. Null for none.
void SetTemporaryCreatedHook(void (*hook)(const std::string& temporary));

// A temporary whose last write is younger than this is never taken for stale:
// it covers file systems that have no locks (a writer that lost its temporary
// before locking it starts again with a new one).
inline constexpr std::chrono::seconds kStaleTemporaryAge{120};

// Removes the temporaries that WriteFileAtomically left for this target when
// its writer died mid-write (a kill -9, a crash, a power cut): regular files
// "<target>.tmp<digits>" (earlier versions) and "<target>.tmp<digits>-<hex>"
// beside the target (beside the file a link points to) that no one holds
// locked and that were last written at least kStaleTemporaryAge ago. A live
// writer always holds its lock, so its temporary is kept whatever process-id
// namespace or host it runs in. Links and folders are never removed. Returns
// how many were removed; failures are ignored.
int RemoveStaleTemporaries(const std::string& path);

// Probes that a new file can be created in the folder ("" is the current
// folder): creates a file of a new, unique name there, never opening or
// following anything that exists, and removes it again. False, with a reason
// in error when given, when it cannot.
[[nodiscard]] bool CanCreateFileIn(const std::string& folder, std::string* error = nullptr);

// Probes, as CanCreateFileIn, the folder where WriteFileAtomically(path) would
// create its new file: beside the file that path's links end at.
[[nodiscard]] bool CanWriteFileAtomically(const std::string& path, std::string* error = nullptr);

// Creates every missing folder level of the path ('\\' and '/' both separate).
// False, with a reason naming the folder in error when given, on failure.
bool CreateDirectories(const std::string& path, std::string* error = nullptr);
bool RemoveFile(const std::string& path);
bool RenameFile(const std::string& from, const std::string& to);
// Renames only when nothing is called `to` yet (not even a link); false, with
// errno EEXIST, when something is. Never replaces a file, not even in a race.
[[nodiscard]] bool RenameFileNoReplace(const std::string& from, const std::string& to);

// The current working folder, and changing it (for "-changedir").
std::string GetCurrentFolder();
bool SetCurrentFolder(const std::string& path);

// The folder that holds the running program, ending with '/'.
std::string GetExecutableFolder();

} // namespace Lumo::Platform
