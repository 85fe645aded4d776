#pragma once
// Image files: TGA, JPEG, PNG, GIF and JPEG 2000 readers, PNG and JPEG writers.
//
// Readers open their files through the pack-file wrappers (app/pak/PakFile.h),
// so images come from "main.pak" or from the folders alike. Each returns a new
// image that the caller owns, or null when the file cannot be opened or holds
// nothing the reader accepts; bad data also writes one "IMAGE" log line, a
// missing file does not. Readers and writers may run on any thread (the
// loading thread among them); they share only the globals below.
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "resources/ImageLibImage.h"

namespace Lumo::ImageLib {

// Allows the alpha-companion rule of ReadImageFile (on at start).
extern std::atomic<bool> gLoadAlphaCompanions;
// Colour (0x00RRGGBB) of every pixel of an image that exists only as an alpha
// companion; 0x00FFFFFF at start. Whoever changes it for one load puts it back.
extern std::atomic<uint32_t> gAlphaOnlyColor;
// The JPEG 2000 reader makes every pixel opaque (on at start).
extern std::atomic<bool> gJpeg2000ForceOpaque;

// Reads an image by path. With an extension (".tga", ".jpg", ".png", ".gif",
// ".j2k", ".jp2", any case) only that reader is tried; without one, each in
// that order on path + extension, the first hit winning. When
// lookForAlphaCompanion is set and gLoadAlphaCompanions is on, the companion
// "<dir>/_<name>" (else "<path>_") gives the alpha: its blue byte becomes the
// alpha of the colour image of the same size; alone, it becomes an image of
// gAlphaOnlyColor with that alpha. Callers outside ImageLib pass true.
[[nodiscard]] std::unique_ptr<Image> ReadImageFile(const std::string& path, bool lookForAlphaCompanion);

// The single readers; the path is used as given (no extension added).
// Uncompressed 32-bit TGA with top-left origin only.
[[nodiscard]] std::unique_ptr<Image> ReadTga(const std::string& path);
// Baseline and progressive JPEG; grey, YCbCr, RGB and CMYK/YCCK. Opaque. A
// file whose header promises far more picture than its bytes can hold, or
// that has more than 256 scans, is refused before the picture is allocated.
[[nodiscard]] std::unique_ptr<Image> ReadJpeg(const std::string& path);
// Every PNG colour type, 1 to 16 bits, interlaced or not; 16-bit samples are
// reduced to 8 bits.
[[nodiscard]] std::unique_ptr<Image> ReadPng(const std::string& path);
// The first image of a GIF87a or GIF89a file; its transparent index gives 0.
[[nodiscard]] std::unique_ptr<Image> ReadGif(const std::string& path);
// JPEG 2000 code stream or JP2 file, decoded by the codec module; null
// without a log line when the module is not loaded.
[[nodiscard]] std::unique_ptr<Image> ReadJpeg2000(const std::string& path);

// Write the image as an 8-bit RGBA PNG, or as an RGB JPEG of quality 80 (alpha
// dropped). The file is replaced as a whole: on any failure it is left as it
// was, one log line is written and the result is false.
[[nodiscard]] bool WritePng(const std::string& path, const Image& image);
[[nodiscard]] bool WriteJpeg(const std::string& path, const Image& image);

// Loads the JPEG 2000 codec module and holds it; without the module, JPEG 2000
// files read as null. Its entry points are resolved on the first JPEG 2000
// read; when one is missing or the codec is too old, the module is unloaded.
// The application calls this once at construction; the name is for tests.
void OpenJpeg2000Codec(const std::string& moduleName = "j2k-codec.dll");
// Unloads the codec module when one is held (the application's shutdown).
void CloseJpeg2000Codec();

} // namespace Lumo::ImageLib
