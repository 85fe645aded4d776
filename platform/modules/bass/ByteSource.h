#pragma once
// The bytes of a music file for the stand-in decoders: a file opened by its
// program path (through the platform's path mapping), or a block of memory,
// either limited to a window (offset, length). Positions are relative to the
// window. One thread at a time.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace Lumo::Platform {

class ByteSource
{
public:
    // Null when the file cannot be opened or the window lies outside it;
    // length 0: to the end of the file.
    static std::unique_ptr<ByteSource> OpenFile(const std::string& path, uint64_t offset = 0, uint64_t length = 0);
    // Memory that the caller keeps valid while the source lives.
    static std::unique_ptr<ByteSource> FromMemory(const void* data, size_t size);
    // A copy of the memory.
    static std::unique_ptr<ByteSource> CopyOf(const void* data, size_t size);
    ~ByteSource();
    ByteSource(const ByteSource&) = delete;
    ByteSource& operator=(const ByteSource&) = delete;

    // Up to `bytes` bytes; fewer at the end (0 there, or on a read error).
    size_t Read(void* out, size_t bytes);
    // whence as for fseek (SEEK_SET, SEEK_CUR, SEEK_END); false (position
    // unchanged) outside 0..Size().
    bool Seek(int64_t offset, int whence);
    int64_t Tell() const { return mPosition; }
    int64_t Size() const { return mSize; }
    // The whole window read into memory; false on a read error.
    bool ReadAll(std::vector<uint8_t>& out);

private:
    ByteSource() = default;

    FILE* mFile = nullptr;
    const uint8_t* mMemory = nullptr;
    std::vector<uint8_t> mCopy;
    int64_t mBase = 0; // the window's start in the file
    int64_t mSize = 0;
    int64_t mPosition = 0;
};

} // namespace Lumo::Platform
