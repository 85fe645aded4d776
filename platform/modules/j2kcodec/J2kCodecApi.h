#pragma once
// The calling interface of the JPEG 2000 codec module "j2k-codec.dll"
// (libj2k-codec.so), shared by the module and the image reader that loads it
// at run time. All entry points are plain C; the reader looks each one up by
// name. Results of 0 mean success unless said otherwise.
#include <cstdint>

extern "C" {

// Lowest codec version the reader accepts (major << 16 | minor << 8 | patch).
#define J2K_REQUIRED_VERSION 0x120000

// A byte stream the caller supplies. `user` is the caller's stream value.
struct J2K_Callbacks
{
    // Moves to `offset` bytes from the start of the stream; 0 on success.
    int32_t (*seek)(void* user, int32_t offset);
    // Reads up to `size` bytes; returns the number read (0 at the end).
    int32_t (*read)(void* buffer, int32_t size, void* user);
    // The codec no longer needs the stream.
    void (*release)(void* user);
};

typedef void* J2K_Handle;

typedef int32_t (*J2K_getVersion_t)(void);
// A handle over the caller's stream (read once, from its start), or null.
// The callbacks record must stay valid until J2K_Close.
typedef J2K_Handle (*J2K_OpenCustom_t)(void* user, const J2K_Callbacks* callbacks);
// A handle over a file by name, or null.
typedef J2K_Handle (*J2K_OpenFile_t)(const char* path);
typedef int32_t (*J2K_Close_t)(J2K_Handle handle);
// Full-size width and height in pixels (the size of the finest component of
// the picture), and the number of components.
typedef int32_t (*J2K_GetInfo_t)(J2K_Handle handle, int32_t* width, int32_t* height, int32_t* components);
// Width and height at a resolution level (0 = full size, each level halves).
typedef int32_t (*J2K_GetResolutionDimensions_t)(J2K_Handle handle, int32_t level, int32_t* width,
                                                 int32_t* height);
// Decodes into the caller's buffer of *size bytes, rows *pitch bytes apart.
// Options: "bpp=4" (32-bit 0xAARRGGBB pixels, the only format) and "rl=N"
// (resolution level N). Opaque images get alpha 0xFF.
typedef int32_t (*J2K_Decode_t)(J2K_Handle handle, uint8_t** buffer, int32_t* size, const char* options,
                                int32_t* pitch);
// The error of the last failed call (of any thread), and its text.
typedef int32_t (*J2K_getLastError_t)(void);
typedef const char* (*J2K_getErrorStr_t)(int32_t error);

// Error codes.
#define J2K_ERROR_NONE 0
#define J2K_ERROR_ARGUMENT 1
#define J2K_ERROR_READ 2
#define J2K_ERROR_HEADER 3
#define J2K_ERROR_DECODE 4
#define J2K_ERROR_FORMAT 5
#define J2K_ERROR_MEMORY 6
// Refused before decoding: the file declares far more tiles or samples than
// its size can hold in a real image.
#define J2K_ERROR_LIMITS 7
}
