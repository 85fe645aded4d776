// Demo recording and playback, and the demo-aware file access.
//
// A recorded demo holds the random seed, every input message with the update
// number at which it was applied, the answers of FileExists and the bytes of
// LoadFileToBuffer in call order, the update at which loading completed, the
// asset hash and the total number of updates (app/DemoFile.h has the format).
// Playback seeds the generator, applies each input before the update it was
// applied before, completes loading at the same update, answers the file calls
// from the demo, and ends the program after the last update. An end the loader
// asks for (a failed load) is taken when loading completes, or at the last
// update when it never completed, so no replay depends on the loader's timing.
#include "app/LumoAppBase.h"

#include "app/Common.h"
#include "app/Random.h"
#include "platform/DebugOutput.h"
#include "platform/FileSystem.h"

namespace Lumo {

bool LumoAppBase::StartDemo()
{
    mDemoFileName = mOptions.GetDemoFileName();
    if (mOptions.play || mOptions.playNumber >= 0)
    {
        std::string error;
        if (!mDemo.Load(mDemoFileName, error))
        {
            ShowFatalError("Could not play the demo file " + error); // the reason starts with the file
            return false;
        }
        mPlayingDemo = true;
        mRandomSeed = mDemo.seed;
        mDemoPos = 0;
        mDemoFilePos = 0;
        return true;
    }
    if (mOptions.record || mOptions.recordNumber >= 0)
    {
        // Find out now, not after the whole session, when the demo cannot be
        // written where it was asked for: in the folder of the file a link
        // points to, as the write goes through links. The probe is a new file
        // of its own name: no existing file or link is touched.
        std::string error;
        if (!Platform::CanWriteFileAtomically(mDemoFileName, &error))
        {
            ShowFatalError("Cannot record the demo: the file " + mDemoFileName + " cannot be written (" + error +
                           ").");
            return false;
        }
        mRecordingDemo = true;
        mDemo.Clear();
        mDemo.seed = mRandomSeed;
    }
    return true;
}

void LumoAppBase::RecordInput(const Platform::InputEvent& event)
{
    CriticalSectionGuard guard(mDemoLock);
    DemoRecord record;
    record.kind = DemoRecordKind::Input;
    record.update = static_cast<uint32_t>(mUpdateCount);
    record.input = event;
    mDemo.records.push_back(std::move(record));
}

void LumoAppBase::ReplayDueDemoRecords()
{
    while (mDemoPos < mDemo.records.size())
    {
        const DemoRecord& record = mDemo.records[mDemoPos];
        if (record.update > static_cast<uint32_t>(mUpdateCount))
            break;
        ++mDemoPos;
        if (record.kind == DemoRecordKind::Input)
            ApplyInput(record.input);
    }
}

void LumoAppBase::FinishDemo()
{
    if (!mRecordingDemo)
        return;
    mRecordingDemo = false;
    // The lock: after a lost display the loader may still be adding records.
    CriticalSectionGuard guard(mDemoLock);
    mDemo.totalUpdates = static_cast<uint32_t>(mUpdateCount);
    std::string error;
    if (!mDemo.Save(mDemoFileName, &error))
    {
        Platform::Notice("DEMO", "could not write the demo file " + mDemoFileName + " (" + error + ")");
        mExitCode = 1;
    }
}

// The next file answer of the demo being played, when it is for this call.
static const DemoRecord* NextFileRecord(const DemoFile& demo, size_t& pos, DemoRecordKind kind,
                                        const std::string& path)
{
    while (pos < demo.records.size() && demo.records[pos].kind == DemoRecordKind::Input)
        ++pos;
    if (pos >= demo.records.size())
        return nullptr;
    const DemoRecord& record = demo.records[pos];
    if (record.kind != kind || GetPathFileName(record.fileName) != GetPathFileName(path))
        return nullptr;
    ++pos;
    return &record;
}

bool LumoAppBase::FileExists(const std::string& path)
{
    if (mPlayingDemo)
    {
        CriticalSectionGuard guard(mDemoLock);
        if (const DemoRecord* record = NextFileRecord(mDemo, mDemoFilePos, DemoRecordKind::FileExists, path))
            return record->result;
        Platform::Log("DEMO", "the demo has no answer for FileExists(" + path + ")");
        return false;
    }
    const bool exists = Platform::FileExists(path);
    if (mRecordingDemo)
    {
        CriticalSectionGuard guard(mDemoLock); // the loading thread may ask too
        DemoRecord record;
        record.kind = DemoRecordKind::FileExists;
        record.update = static_cast<uint32_t>(mUpdateCount);
        record.fileName = GetPathFileName(path);
        record.result = exists;
        mDemo.records.push_back(std::move(record));
    }
    return exists;
}

bool LumoAppBase::LoadFileToBuffer(const std::string& path, Buffer& buffer, bool bypassDemo, size_t maxBytes)
{
    buffer.Clear();
    if (mPlayingDemo && !bypassDemo)
    {
        CriticalSectionGuard guard(mDemoLock);
        const DemoRecord* record = NextFileRecord(mDemo, mDemoFilePos, DemoRecordKind::FileLoaded, path);
        if (record == nullptr)
        {
            Platform::Log("DEMO", "the demo has no contents for " + path);
            return false;
        }
        if (record->result)
            buffer.SetData(record->bytes);
        return record->result;
    }
    std::vector<uint8_t> bytes;
    const bool ok = Platform::ReadFileStart(path, maxBytes, bytes);
    if (ok)
        buffer.SetData(bytes);
    if (mRecordingDemo && !bypassDemo)
    {
        CriticalSectionGuard guard(mDemoLock);
        DemoRecord record;
        record.kind = DemoRecordKind::FileLoaded;
        record.update = static_cast<uint32_t>(mUpdateCount);
        record.fileName = GetPathFileName(path);
        record.result = ok;
        if (ok)
            record.bytes = std::move(bytes);
        mDemo.records.push_back(std::move(record));
    }
    return ok;
}

bool LumoAppBase::SaveBufferToFile(const std::string& path, const Buffer& buffer, std::string* error)
{
    // A replay never overwrites the player's files.
    if (mPlayingDemo)
        return true;
    // The folder is made when missing (the data folder may not have been
    // creatable at start-up); when it cannot be, the reason is that one.
    return Platform::WriteFileAtomicallyMakingFolder(path, buffer.GetDataPtr(), buffer.GetDataLen(), error);
}

} // namespace Lumo
