#pragma once
// Images, sounds and fonts described in a resource file, each with an id and
// a group; whole groups are loaded and unloaded, and the loaded objects are
// handed out by id.
//
// A resource file (read with XmlTokenReader):
//   <ResourceManifest>
//     <Resources id="menu">
//       <SetDefaults path="images" idprefix="IMG_"/>
//       <Image id="LOGO" path="logo.png" nopal/>
//       <Image path="buttons" rows="2" cols="3" anim="loop" framedelay="50"/>
//       <Sound id="SND_CLICK" path="sound/click" volume="0.5"/>
//       <Font id="FONT_UI" path="!sys:DejaVu Sans" size="12" bold/>
//       <Font id="FONT_BIG" path="fonts/big.txt" tags="shadow, outline"/>
//       <Font id="FONT_NUM" path="fonts/num.txt" image="fonts/num.png"/>
//       <Font id="FONT_UI2" path="!ref:FONT_UI"/>
//     </Resources>
//   </ResourceManifest>
// Each "Resources" element is one group, named by its "id". A path that does
// not start with '!' gets the "SetDefaults" path in front; "!program" marks
// a record that is never loaded from a file. Ids are the "SetDefaults" id
// prefix plus "id", or plus the path's file name without extension.
//
// Errors are recorded as text ("... on Line n in File 'f'" while a file is
// being read); the first one wins until LoadGroup or BeginGroupLoad clears
// it. Only the get-or-throw lookups throw (ResourceManagerException).
//
// Ownership: the manager owns its records and what they load; the handles,
// ids and fonts it hands out stay valid until the group is unloaded or the
// manager deleted (a font is owned by its record; clone it to keep it). The
// application that owns the manager must outlive it, and so must its shared
// images and sound manager.
//
// Threads: no lock; used by one thread at a time (the loading thread may
// load groups while the main thread waits for it).
#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "fonts/Font.h"
#include "graphics/AnimationInfo.h"
#include "graphics/SharedImage.h"
#include "resources/ResourceManagerException.h"
#include "resources/XmlTokenReader.h"

namespace Lumo {

class LumoAppBase;
class MemoryImage;

class ResourceManager
{
public:
    enum ResType : int
    {
        ResType_Image = 0,
        ResType_Sound = 1,
        ResType_Font = 2,
    };

    class BaseRes
    {
    public:
        explicit BaseRes(ResType type) : mType(type) {}
        virtual ~BaseRes() = default;
        // Drops what was loaded; the record stays and can be loaded again.
        virtual void Unload() {}

        ResType mType;
        std::string mId;
        std::string mResGroup;
        std::string mPath;
        std::map<std::string, std::string> mXMLAttributes; // as read
        bool mFromProgram = false;                         // path "!program"
    };

    class ImageRes : public BaseRes
    {
    public:
        ImageRes() : BaseRes(ResType_Image) {}
        void Unload() override { mImage.Release(); }

        SharedImageHandle mImage;
        std::string mAlphaImage; // "alphaimage", default path in front
        std::string mAlphaGridImage; // "alphagrid", default path in front
        std::string mVariant;
        bool mPalletize = true; // off with "nopal"
        bool mA4R4G4B4 = false;
        bool mA8R8G8B8 = false;
        bool mDDSurface = false;
        bool mPurgeBits = false; // "nobits", or "nobits2d" / "nobits3d"
        bool mMinimizeSubdivisions = false;
        int mRows = 1; // 1 or more
        int mCols = 1; // 1 or more
        uint32_t mAlphaColor = 0xFFFFFF; // 0x00RRGGBB
        AnimationInfo mAnimInfo;
        // The alpha image or grid could not be applied to the image this
        // record made: the next load applies it.
        bool mAlphaPending = false;
    };

    class SoundRes : public BaseRes
    {
    public:
        explicit SoundRes(LumoAppBase* app) : BaseRes(ResType_Sound), mApp(app) {}
        void Unload() override;

        LumoAppBase* mApp;
        int mSoundId = -1;    // -1: not loaded
        double mVolume = -1.0; // -1: not given
        int mPanning = 0;
    };

    class FontRes : public BaseRes
    {
    public:
        FontRes() : BaseRes(ResType_Font) {}
        ~FontRes() override;
        void Unload() override;

        std::unique_ptr<Font> mFont;
        // The image of an image-and-metrics font; the font's data holds its
        // own reference, so clones outlive the record's.
        std::shared_ptr<Image> mImage;
        std::string mImagePath;
        std::string mTags;
        bool mSysFont = false; // path "!sys:<face>"; mPath keeps the face
        bool mBold = false;
        bool mItalic = false;
        bool mUnderline = false;
        bool mShadow = false;
        int mSize = -1;
    };

    using ResMap = std::map<std::string, std::unique_ptr<BaseRes>>;
    using ResList = std::list<BaseRes*>;

    // app may be null: files can then be read, but nothing loads.
    explicit ResourceManager(LumoAppBase* app);
    virtual ~ResourceManager();
    ResourceManager(const ResourceManager&) = delete;
    ResourceManager& operator=(const ResourceManager&) = delete;

    // Reads a whole resource file through the pack-file wrappers; its records
    // join those already read. False (with the error text) on the first fault;
    // the records read before it stay.
    [[nodiscard]] bool ParseResourcesFile(const std::string& path);
    // The same with the file's bytes in memory; name stands for the file.
    [[nodiscard]] bool ParseResourcesText(const std::string& bytes, const std::string& name);

    // Element readers; the reader is positioned inside a "Resources" section.
    virtual bool ReadResourcesSection();
    // Fills the common fields and files the record by id in the map and the
    // current group. Returns the record that the element's own attributes go
    // to (the new one, or with allow redefinition an existing one), or null
    // on failure (the record is then deleted).
    virtual BaseRes* ReadCommonAttributes(const XmlToken& token, std::unique_ptr<BaseRes> record, ResMap& map);
    virtual bool ReadImageElement(const XmlToken& token);
    virtual bool ReadSoundElement(const XmlToken& token);
    virtual bool ReadFontElement(const XmlToken& token);
    virtual bool ReadSetDefaultsElement(const XmlToken& token);

    // Loads every record of the group that is not loaded yet; false on the
    // first failure (the error text says which).
    virtual bool LoadGroup(const std::string& name);
    // Step-wise loading: BeginGroupLoad, then LoadNextInGroup until false.
    virtual void BeginGroupLoad(const std::string& name);
    virtual bool LoadNextInGroup();
    virtual bool LoadImageRes(ImageRes& record);
    virtual bool LoadSoundRes(SoundRes& record);
    virtual bool LoadFontRes(FontRes& record);
    // Called after each record has loaded; empty here.
    virtual void OnResourceLoaded(BaseRes* record) { (void)record; }

    // Unloads the group's records (every record for an empty name).
    virtual void UnloadGroup(const std::string& name);
    virtual void UnloadGroupInMap(ResMap& map, const std::string& name);
    // After LoadGroup succeeded and until UnloadGroup.
    bool IsGroupLoaded(const std::string& name) const { return mLoadedGroups.count(name) != 0; }

    // The loaded object, or ResourceManagerException. With allow program-made
    // lookups on, a "!program" record not loaded gives an empty result.
    virtual SharedImageHandle GetImageOrThrow(const std::string& id);
    virtual int GetSoundIdOrThrow(const std::string& id);
    virtual Font* GetFontOrThrow(const std::string& id);
    // The loaded font, or null.
    Font* FindLoadedFont(const std::string& id);

    bool HadError() const { return mHasFailed; }
    std::string GetErrorText() const { return mError; }
    // Records the error (and logs it) unless one is recorded already; always
    // false.
    bool Fail(const std::string& text);

    void SetAllowProgramMadeLookups(bool allow) { mAllowMissingProgramResources = allow; }
    void SetAllowRedefinition(bool allow) { mAllowAlreadyDefinedResources = allow; }

    // "1,2,3" -> 1 2 3: a decimal number at the start and after each ','.
    static void ParseIntList(const std::string& text, std::vector<int>& list);

protected:
    bool ParseWithReader();
    bool ReadManifest();
    bool ReadGroupSection(const XmlToken& token);
    bool FailOnReaderStop();
    std::string WithPosition(const std::string& text) const;
    void ClearError();
    void ReadImageAttributes(ImageRes& record);
    bool ReadImageGrid(ImageRes& record);
    bool ReadImageAnimation(ImageRes& record);
    bool ApplyAlphaImage(ImageRes& record, MemoryImage* image);
    bool ApplyAlphaGrid(ImageRes& record, MemoryImage* image);
    void ApplyImageSettings(ImageRes& record, MemoryImage* image);
    std::unique_ptr<Font> MakeFont(FontRes& record, std::shared_ptr<Image>& fontImage);
    bool FinishImageFont(FontRes& record, Font& font);
    BaseRes* FindRes(ResMap& map, const std::string& id);
    void DeleteMapResources(ResMap& map);
    [[noreturn]] void Throw(const std::string& text);

    std::set<std::string> mLoadedGroups;
    ResMap mImageMap;
    ResMap mSoundMap;
    ResMap mFontMap;
    std::unique_ptr<XmlTokenReader> mXMLReader;
    std::string mError;
    bool mHasFailed = false;
    LumoAppBase* mApp;
    std::string mCurResGroup;
    std::string mDefaultPath;
    std::string mDefaultIdPrefix;
    bool mAllowMissingProgramResources = false;
    bool mAllowAlreadyDefinedResources = false;
    std::map<std::string, ResList> mResGroupMap;
    ResList* mCurResGroupList = nullptr;
    ResList::iterator mCurResGroupListItr;
};

} // namespace Lumo
