#pragma once
// The libjpeg error manager of the JPEG reader and writer: library errors
// jump back to the reader or writer, messages go to the "IMAGE" log.
//
// Jump rule: the function that calls setjmp on `jump` and the library
// callbacks between it and the error keep only trivially destructible locals;
// owning objects live in the caller's frame, which a jump never crosses.
#include <csetjmp>
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

namespace Lumo::ImageLib {

struct JpegErrorManager
{
    jpeg_error_mgr pub; // first: the library sees only this part
    std::jmp_buf jump;
    const char* path; // names the file in log lines
    // The first warning (corrupt data the library worked around), kept for
    // one log line once the file is done; pub.num_warnings counts them.
    char firstWarning[JMSG_LENGTH_MAX];
};

// Fills the manager (the standard one with our exits) and returns the pointer
// to hand to the compressor or decompressor as its `err` field.
jpeg_error_mgr* InitJpegErrorManager(JpegErrorManager& manager, const char* path);

// Ends the work on the file like a library error: one log line naming the
// file, then the jump. For the reader's own limits, which have no library
// message of their own.
[[noreturn]] void JpegFail(j_common_ptr info, const char* what);

// Largest memory the library may take for one file, in bytes; the reader
// lowers it further for files too small to need that much.
inline constexpr long kJpegMemoryLimit = 256L * 1024 * 1024;

} // namespace Lumo::ImageLib
