#include "platform/modules/bass/ByteSource.h"
#include "platform/FileSystem.h"
#include <algorithm>
#include <cstring>

namespace Lumo::Platform {

std::unique_ptr<ByteSource> ByteSource::OpenFile(const std::string& path, uint64_t offset, uint64_t length)
{
    FILE* file = Platform::OpenFile(path, "rb");
    if (!file)
        return nullptr;
    std::unique_ptr<ByteSource> source(new ByteSource());
    source->mFile = file;
    if (fseeko(file, 0, SEEK_END) != 0)
        return nullptr;
    const int64_t fileSize = ftello(file);
    if (fileSize < 0 || offset > uint64_t(fileSize))
        return nullptr;
    const uint64_t rest = uint64_t(fileSize) - offset;
    source->mBase = int64_t(offset);
    source->mSize = int64_t(length == 0 ? rest : std::min(length, rest));
    if (fseeko(file, source->mBase, SEEK_SET) != 0)
        return nullptr;
    return source;
}

std::unique_ptr<ByteSource> ByteSource::FromMemory(const void* data, size_t size)
{
    if (!data && size > 0)
        return nullptr;
    std::unique_ptr<ByteSource> source(new ByteSource());
    source->mMemory = static_cast<const uint8_t*>(data);
    source->mSize = int64_t(size);
    return source;
}

std::unique_ptr<ByteSource> ByteSource::CopyOf(const void* data, size_t size)
{
    if (!data && size > 0)
        return nullptr;
    std::unique_ptr<ByteSource> source(new ByteSource());
    const auto* bytes = static_cast<const uint8_t*>(data);
    source->mCopy.assign(bytes, bytes + size);
    source->mMemory = source->mCopy.data();
    source->mSize = int64_t(size);
    return source;
}

ByteSource::~ByteSource()
{
    if (mFile)
        std::fclose(mFile);
}

size_t ByteSource::Read(void* out, size_t bytes)
{
    const size_t wanted = size_t(std::min<int64_t>(int64_t(bytes), mSize - mPosition));
    if (wanted == 0)
        return 0;
    size_t got = wanted;
    if (mFile)
        got = std::fread(out, 1, wanted, mFile);
    else
        std::memcpy(out, mMemory + mPosition, wanted);
    mPosition += int64_t(got);
    return got;
}

bool ByteSource::Seek(int64_t offset, int whence)
{
    const int64_t origin = whence == SEEK_CUR ? mPosition : whence == SEEK_END ? mSize : 0;
    if ((whence != SEEK_SET && whence != SEEK_CUR && whence != SEEK_END) || offset > mSize - origin ||
        offset < -origin)
        return false;
    const int64_t target = origin + offset;
    if (mFile && fseeko(mFile, mBase + target, SEEK_SET) != 0)
        return false;
    mPosition = target;
    return true;
}

bool ByteSource::ReadAll(std::vector<uint8_t>& out)
{
    out.resize(size_t(mSize));
    return Seek(0, SEEK_SET) && Read(out.data(), out.size()) == out.size();
}

} // namespace Lumo::Platform
