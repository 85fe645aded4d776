#include "tools/assetgen/AssetSink.h"

#include "app/pak/PakWriter.h"
#include "platform/FileSystem.h"
#include "resources/ImageLib.h"
#include "tools/assetgen/Canvas.h"

#include <algorithm>
#include <cstdio>

namespace Lumo::AssetGen {

AssetSink::AssetSink(std::string outputFolder) : mFolder(std::move(outputFolder)) {}

void AssetSink::AddImage(const std::string& name, const ImageLib::Image& image)
{
    const std::string path = mFolder + "/" + name;
    Platform::CreateDirectories(path.substr(0, path.rfind('/')));
    Record(name, false, ImageLib::WritePng(path, image));
}

void AssetSink::AddCanvas(const std::string& name, const Canvas& canvas)
{
    const auto image = canvas.ToImage();
    AddImage(name, *image);
}

void AssetSink::AddFile(const std::string& name, const std::vector<uint8_t>& bytes, bool loose)
{
    const std::string path = mFolder + "/" + name;
    Platform::CreateDirectories(path.substr(0, path.rfind('/')));
    Record(name, loose, Platform::WriteFileAtomically(path, bytes.data(), bytes.size()));
}

void AssetSink::Record(const std::string& name, bool loose, bool written)
{
    std::lock_guard<std::mutex> lock(mMutex);
    ++mCount;
    if (!written)
    {
        std::fprintf(stderr, "assetgen: cannot write %s/%s\n", mFolder.c_str(), name.c_str());
        mOk = false;
    }
    if (!loose)
        mPacked.push_back(name);
}

bool AssetSink::Ok() const
{
    std::lock_guard<std::mutex> lock(mMutex);
    return mOk;
}

int AssetSink::FileCount() const
{
    std::lock_guard<std::mutex> lock(mMutex);
    return mCount;
}

bool AssetSink::WritePack(const std::string& packPath) const
{
    std::vector<std::string> names;
    {
        std::lock_guard<std::mutex> lock(mMutex);
        names = mPacked;
    }
    std::sort(names.begin(), names.end());
    std::vector<PakSourceFile> files;
    for (const std::string& name : names)
    {
        PakSourceFile file;
        file.name = name;
        if (!Platform::ReadWholeFile(mFolder + "/" + name, file.bytes))
        {
            std::fprintf(stderr, "assetgen: cannot read back %s\n", name.c_str());
            return false;
        }
        files.push_back(std::move(file));
    }
    std::vector<uint8_t> image;
    std::string error;
    if (!MakePakImage(files, image, error) ||
        !Platform::WriteFileAtomically(packPath, image.data(), image.size()))
    {
        std::fprintf(stderr, "assetgen: cannot write the pack %s: %s\n", packPath.c_str(), error.c_str());
        return false;
    }
    return true;
}

} // namespace Lumo::AssetGen
