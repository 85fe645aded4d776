// The application's images, sound effects, music volumes and frame capture.
#include "app/LumoAppBase.h"

#include "audio/MusicInterface.h"
#include "audio/SoundInstance.h"
#include "audio/SoundManager.h"
#include "graphics/DDImage.h"
#include "graphics/SharedImageMap.h"
#include "graphics/display/DDInterface.h"
#include "platform/DebugOutput.h"
#include "platform/FileSystem.h"
#include "platform/audio/Mixer.h"
#include "resources/ImageLib.h"

#include <algorithm>

namespace Lumo {

DDImage* LumoAppBase::LoadImageFile(const std::string& path, bool commitBits)
{
    std::unique_ptr<ImageLib::Image> read = ImageLib::ReadImageFile(path, true);
    if (!read)
        return nullptr;
    auto* image = new DDImage();
    image->mFilePath = path;
    image->SetBits(read->GetBits(), read->GetWidth(), read->GetHeight(), commitBits);
    return image;
}

SharedImageHandle LumoAppBase::AcquireSharedImage(const std::string& name, const std::string& variant,
                                                  bool* created)
{
    bool wasCreated = false;
    SharedImageHandle handle = mSharedImages->Acquire(
        name, variant, [this](const std::string& path) { return std::unique_ptr<Image>(LoadImageFile(path)); },
        wasCreated);
    if (created != nullptr)
        *created = wasCreated;
    return handle;
}

DDImage* LumoAppBase::DuplicateImage(Image* image)
{
    auto* memory = dynamic_cast<MemoryImage*>(image);
    if (memory == nullptr)
        return nullptr;
    return new DDImage(*memory);
}

void LumoAppBase::PlaySample(int soundId)
{
    if (mSoundManager == nullptr)
        return;
    SoundInstance* instance = mSoundManager->CreateInstance(static_cast<unsigned>(soundId));
    if (instance != nullptr)
        (void)instance->Play(false, true);
}

void LumoAppBase::PlaySamplePanned(int soundId, int pan)
{
    if (mSoundManager == nullptr)
        return;
    SoundInstance* instance = mSoundManager->CreateInstance(static_cast<unsigned>(soundId));
    if (instance == nullptr)
        return;
    instance->SetPan(pan);
    (void)instance->Play(false, true);
}

void LumoAppBase::SetMusicVolume(double volume)
{
    mMusicVolume = std::clamp(volume, 0.0, 1.0);
    if (mMusicInterface != nullptr)
        mMusicInterface->SetMusicVolume(mMuted ? 0.0 : mMusicVolume);
}

void LumoAppBase::SetSfxVolume(double volume)
{
    mSfxVolume = std::clamp(volume, 0.0, 1.0);
    if (mSoundManager != nullptr)
        mSoundManager->SetEffectsVolume(mMuted ? 0.0 : mSfxVolume);
}

void LumoAppBase::SetMuted(bool muted)
{
    mMuted = muted;
    ApplyVolumes();
}

void LumoAppBase::ApplyVolumes()
{
    SetMusicVolume(mMusicVolume);
    SetSfxVolume(mSfxVolume);
}

void LumoAppBase::RenderHeadlessAudio()
{
    // Headless, the mixer's null output advances one update's worth of frames
    // per update, so what a run plays is the same every time.
    if (mClock->IsVirtual())
        Platform::Mixer::RenderUpdate();
}

void LumoAppBase::CaptureFrameIfAsked()
{
    if (mCaptureDir.empty() || mDDInterface == nullptr)
        return;
    if (std::find(mCaptureFrames.begin(), mCaptureFrames.end(), mUpdateCount) == mCaptureFrames.end())
        return;
    DDImage* screen = mDDInterface->GetScreenImage();
    if (screen == nullptr)
        return;
    ImageLib::Image frame;
    if (!frame.Allocate(screen->GetWidth(), screen->GetHeight()))
        return;
    const uint32_t* bits = screen->GetBits();
    if (bits == nullptr)
        return;
    const size_t count = static_cast<size_t>(screen->GetWidth()) * static_cast<size_t>(screen->GetHeight());
    for (size_t i = 0; i < count; ++i)
        frame.GetBits()[i] = bits[i] | 0xFF000000u; // the screen has no alpha of its own
    (void)Platform::CreateDirectories(mCaptureDir);
    const std::string path = mCaptureDir + "/" + std::to_string(mUpdateCount) + ".png";
    if (!ImageLib::WritePng(path, frame))
        Platform::Log("APP", "could not write the frame capture " + path);
}

} // namespace Lumo
