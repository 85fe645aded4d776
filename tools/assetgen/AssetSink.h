#pragma once
// Where the generators put their files: each file is written at once below the
// output folder (atomically), and its name is remembered so that the pack can
// be built from the same set afterwards. Any thread may add files.
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace Lumo::ImageLib {
class Image;
}

namespace Lumo::AssetGen {

class Canvas;

class AssetSink
{
public:
    explicit AssetSink(std::string outputFolder);

    // name is relative to the output folder with '/' separators, e.g.
    // "images/tiles.png". A loose file is never packed (songs, "demo_board").
    void AddImage(const std::string& name, const ImageLib::Image& image);
    void AddCanvas(const std::string& name, const Canvas& canvas);
    void AddFile(const std::string& name, const std::vector<uint8_t>& bytes, bool loose = false);

    // True when every write so far succeeded.
    bool Ok() const;
    int FileCount() const;
    // Packs every file that is not loose into packPath; false with a message
    // on stderr on failure.
    [[nodiscard]] bool WritePack(const std::string& packPath) const;

private:
    void Record(const std::string& name, bool loose, bool written);

    std::string mFolder;
    mutable std::mutex mMutex;
    std::vector<std::string> mPacked;
    int mCount = 0;
    bool mOk = true;
};

} // namespace Lumo::AssetGen
