// ResourceManager: records, errors, group loading and unloading, lookups.
#include "resources/ResourceManager.h"

#include "app/Common.h"
#include "app/LumoAppBase.h"
#include "audio/SoundManager.h"
#include "fonts/Font.h"
#include "platform/DebugOutput.h"

namespace Lumo {

void ResourceManager::SoundRes::Unload()
{
    if (mSoundId >= 0 && mApp != nullptr && mApp->mSoundManager != nullptr)
        mApp->mSoundManager->UnloadSound(static_cast<unsigned>(mSoundId));
    mSoundId = -1;
}

ResourceManager::FontRes::~FontRes() = default;

void ResourceManager::FontRes::Unload()
{
    mFont.reset();
    mImage.reset();
}

ResourceManager::ResourceManager(LumoAppBase* app) : mApp(app) {}

ResourceManager::~ResourceManager()
{
    DeleteMapResources(mImageMap);
    DeleteMapResources(mSoundMap);
    DeleteMapResources(mFontMap);
}

void ResourceManager::DeleteMapResources(ResMap& map)
{
    for (auto& [id, record] : map)
        record->Unload();
    map.clear();
}

std::string ResourceManager::WithPosition(const std::string& text) const
{
    if (!mXMLReader)
        return text;
    return text + " on Line " + std::to_string(mXMLReader->GetLineNumber()) + " in File '" +
           mXMLReader->GetFileName() + "'";
}

bool ResourceManager::Fail(const std::string& text)
{
    if (mHasFailed)
        return false;
    mHasFailed = true;
    mError = WithPosition(text);
    Platform::Log("RESOURCES", mError);
    return false;
}

void ResourceManager::ClearError()
{
    mError.clear();
    mHasFailed = false;
}

bool ResourceManager::LoadGroup(const std::string& name)
{
    ClearError();
    BeginGroupLoad(name);
    while (LoadNextInGroup())
    {
    }
    if (mHasFailed)
        return false;
    mLoadedGroups.insert(name);
    return true;
}

void ResourceManager::BeginGroupLoad(const std::string& name)
{
    ClearError();
    mCurResGroup = name;
    mCurResGroupList = &mResGroupMap[name];
    mCurResGroupListItr = mCurResGroupList->begin();
}

namespace {

bool IsLoaded(const ResourceManager::BaseRes& record)
{
    switch (record.mType)
    {
    case ResourceManager::ResType_Image:
        return static_cast<const ResourceManager::ImageRes&>(record).mImage.GetImage() != nullptr;
    case ResourceManager::ResType_Sound:
        return static_cast<const ResourceManager::SoundRes&>(record).mSoundId != -1;
    case ResourceManager::ResType_Font:
        return static_cast<const ResourceManager::FontRes&>(record).mFont != nullptr;
    }
    return false;
}

} // namespace

bool ResourceManager::LoadNextInGroup()
{
    if (mHasFailed || mCurResGroupList == nullptr)
        return false;
    while (mCurResGroupListItr != mCurResGroupList->end() &&
           ((*mCurResGroupListItr)->mFromProgram || IsLoaded(**mCurResGroupListItr)))
        ++mCurResGroupListItr;
    if (mCurResGroupListItr == mCurResGroupList->end())
        return false;
    BaseRes* record = *mCurResGroupListItr++;
    switch (record->mType)
    {
    case ResType_Image:
        return LoadImageRes(static_cast<ImageRes&>(*record));
    case ResType_Sound:
        return LoadSoundRes(static_cast<SoundRes&>(*record));
    case ResType_Font:
        return LoadFontRes(static_cast<FontRes&>(*record));
    }
    return false;
}

void ResourceManager::UnloadGroup(const std::string& name)
{
    UnloadGroupInMap(mImageMap, name);
    UnloadGroupInMap(mSoundMap, name);
    UnloadGroupInMap(mFontMap, name);
    // With every record unloaded no group counts as loaded any more.
    if (name.empty())
        mLoadedGroups.clear();
    else
        mLoadedGroups.erase(name);
}

void ResourceManager::UnloadGroupInMap(ResMap& map, const std::string& name)
{
    for (auto& [id, record] : map)
        if (name.empty() || record->mResGroup == name)
            record->Unload();
}

ResourceManager::BaseRes* ResourceManager::FindRes(ResMap& map, const std::string& id)
{
    auto found = map.find(id);
    return found == map.end() ? nullptr : found->second.get();
}

// Records the error as usual (the first one stays the recorded one) but
// throws the lookup's own message.
void ResourceManager::Throw(const std::string& text)
{
    Fail(text);
    throw ResourceManagerException(WithPosition(text));
}

SharedImageHandle ResourceManager::GetImageOrThrow(const std::string& id)
{
    auto* record = static_cast<ImageRes*>(FindRes(mImageMap, id));
    if (record != nullptr)
    {
        if (record->mImage.GetImage() != nullptr)
            return record->mImage;
        if (mAllowMissingProgramResources && record->mFromProgram)
            return SharedImageHandle();
    }
    Throw(FormatString("Image resource not found: %s", id.c_str()));
}

int ResourceManager::GetSoundIdOrThrow(const std::string& id)
{
    auto* record = static_cast<SoundRes*>(FindRes(mSoundMap, id));
    if (record != nullptr)
    {
        if (record->mSoundId != -1)
            return record->mSoundId;
        if (mAllowMissingProgramResources && record->mFromProgram)
            return -1;
    }
    Throw(FormatString("Sound resource not found: %s", id.c_str()));
}

Font* ResourceManager::GetFontOrThrow(const std::string& id)
{
    auto* record = static_cast<FontRes*>(FindRes(mFontMap, id));
    if (record != nullptr)
    {
        if (record->mFont)
            return record->mFont.get();
        if (mAllowMissingProgramResources && record->mFromProgram)
            return nullptr;
    }
    Throw(FormatString("Font resource not found: %s", id.c_str()));
}

Font* ResourceManager::FindLoadedFont(const std::string& id)
{
    auto* record = static_cast<FontRes*>(FindRes(mFontMap, id));
    return record != nullptr ? record->mFont.get() : nullptr;
}

} // namespace Lumo
