// JPEG 2000 reader over the codec module "j2k-codec.dll", loaded at run time.
#include <mutex>

#include "platform/ModuleLoader.h"
#include "platform/modules/j2kcodec/J2kCodecApi.h"
#include "resources/ImageLib.h"
#include "resources/ImageLibFile.h"
#include "resources/ImageLibPixels.h"

namespace Lumo::ImageLib {

namespace {

// The loaded module and its entry points. The mutex is held for every use, so
// the module cannot be unloaded under a running decode.
struct Codec
{
    std::mutex mutex;
    Platform::ModuleHandle module = nullptr;
    bool unresolved = true;
    J2K_getVersion_t getVersion = nullptr;
    J2K_OpenCustom_t openCustom = nullptr;
    J2K_OpenFile_t openFile = nullptr;
    J2K_Close_t close = nullptr;
    J2K_GetInfo_t getInfo = nullptr;
    J2K_GetResolutionDimensions_t getResolutionDimensions = nullptr;
    J2K_Decode_t decode = nullptr;
    J2K_getLastError_t getLastError = nullptr;
    J2K_getErrorStr_t getErrorStr = nullptr;
};

Codec& TheCodec()
{
    static Codec codec;
    return codec;
}

template <class Function>
bool Resolve(Platform::ModuleHandle module, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(Platform::GetModuleEntry(module, name));
    return function != nullptr;
}

bool ResolveEntries(Codec& codec)
{
    Platform::ModuleHandle module = codec.module;
    return Resolve(module, "_J2K_getVersion@0", codec.getVersion) &&
           Resolve(module, "_J2K_OpenCustom@8", codec.openCustom) &&
           Resolve(module, "_J2K_OpenFile@4", codec.openFile) && Resolve(module, "_J2K_Close@4", codec.close) &&
           Resolve(module, "_J2K_GetInfo@16", codec.getInfo) &&
           Resolve(module, "_J2K_GetResolutionDimensions@16", codec.getResolutionDimensions) &&
           Resolve(module, "_J2K_Decode@20", codec.decode) &&
           Resolve(module, "_J2K_getLastError@0", codec.getLastError) &&
           Resolve(module, "_J2K_getErrorStr@4", codec.getErrorStr);
}

void CloseCodecLocked(Codec& codec)
{
    if (codec.module != nullptr)
        Platform::FreeModule(codec.module);
    codec.module = nullptr;
    codec.unresolved = true;
}

int32_t J2kStreamSeek(void* file, int32_t offset)
{
    return PakFileSeek(static_cast<PFILE*>(file), offset, 0);
}

int32_t J2kStreamRead(void* buffer, int32_t size, void* file)
{
    if (size <= 0)
        return 0;
    return static_cast<int32_t>(PakFileRead(buffer, 1, static_cast<size_t>(size), static_cast<PFILE*>(file)));
}

void J2kStreamRelease(void*) {}

constexpr J2K_Callbacks kStreamCallbacks{&J2kStreamSeek, &J2kStreamRead, &J2kStreamRelease};

// Decodes the open stream into a new image; null on any codec failure.
std::unique_ptr<Image> DecodeLocked(Codec& codec, PFILE* file, const std::string& path)
{
    auto closeHandle = [&codec](void* handle) { codec.close(handle); };
    std::unique_ptr<void, decltype(closeHandle)> handle(codec.openCustom(file, &kStreamCallbacks), closeHandle);
    int32_t width = 0;
    int32_t height = 0;
    int32_t components = 0;
    if (!handle || codec.getInfo(handle.get(), &width, &height, &components) != 0)
    {
        LogBadImage(path, codec.getErrorStr(codec.getLastError()));
        return nullptr;
    }
    (void)codec.getResolutionDimensions(handle.get(), 0, &width, &height);
    // Cleared first: the codec is an outside module, and what it might leave
    // unwritten must not reach the screen as old heap contents.
    auto image = std::make_unique<Image>();
    if (width <= 0 || height <= 0 || !image->Allocate(width, height, true))
    {
        LogBadImage(path, "JPEG 2000 image too large");
        return nullptr;
    }
    auto* bits = reinterpret_cast<uint8_t*>(image->GetBits());
    int32_t size = width * height * 4; // at most 4 x kMaxImagePixels: fits
    int32_t pitch = width * 4;
    if (codec.decode(handle.get(), &bits, &size, "bpp=4,rl=0", &pitch) != 0)
    {
        LogBadImage(path, codec.getErrorStr(codec.getLastError()));
        return nullptr;
    }
    return image;
}

} // namespace

void OpenJpeg2000Codec(const std::string& moduleName)
{
    Codec& codec = TheCodec();
    std::lock_guard lock(codec.mutex);
    if (codec.module != nullptr)
        return;
    codec.module = Platform::LoadModule(moduleName);
    codec.unresolved = true;
}

void CloseJpeg2000Codec()
{
    Codec& codec = TheCodec();
    std::lock_guard lock(codec.mutex);
    CloseCodecLocked(codec);
}

std::unique_ptr<Image> ReadJpeg2000(const std::string& path)
{
    Codec& codec = TheCodec();
    std::lock_guard lock(codec.mutex);
    if (codec.module == nullptr)
        return nullptr;
    PakFilePtr file = OpenImageFile(path);
    if (!file)
        return nullptr;
    if (codec.unresolved)
    {
        codec.unresolved = false;
        if (!ResolveEntries(codec) || codec.getVersion() < J2K_REQUIRED_VERSION)
        {
            LogBadImage(path, "JPEG 2000 codec module unusable; unloaded");
            CloseCodecLocked(codec);
            return nullptr;
        }
    }
    std::unique_ptr<Image> image = DecodeLocked(codec, file.get(), path);
    if (image && gJpeg2000ForceOpaque.load())
        TransformPixels(image->GetBits(), size_t(image->GetWidth()) * size_t(image->GetHeight()),
                        [](uint32_t pixel, size_t) { return pixel | kOpaque; });
    return image;
}

} // namespace Lumo::ImageLib
