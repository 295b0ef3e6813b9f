// The game's images, fonts and sounds by id, declared in the XML manifest and
// loaded in groups. The application creates the one manager with itself as
// the host and deletes it at shutdown; the game reads the manifest once at
// start-up and shows the error text when that fails.
#pragma once

#include "graphics/image/AnimInfo.h"
#include "graphics/image/SharedImageHandle.h"

#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <set>
#include <string>

namespace Tandry {

class Font;
class MemoryImage;
class ResourceHost;
class XMLParser;
class XMLParserElement;

class ResourceManager {
public:
    // One resource of the manifest. The maps own the records; the group lists
    // only refer to them.
    class BaseRes {
    public:
        enum Kind { ImageKind = 0, SoundKind = 1, FontKind = 2 };

        explicit BaseRes(int resourceKind) : kind(resourceKind) {}
        BaseRes(const BaseRes&) = delete;
        BaseRes& operator=(const BaseRes&) = delete;
        virtual ~BaseRes() = default;
        // Frees the loaded object; the record stays, ready to load again.
        virtual void DeleteResource() {}

        int kind;
        // With the default id prefix.
        std::string id;
        std::string group;
        // With the default path, or verbatim when it begins with "!".
        std::string path;
        std::map<std::wstring, std::wstring> attributes;
        // The path is "!program": code supplies it, the manager never loads it.
        bool suppliedByCode = false;
    };

    class ImageRes : public BaseRes {
    public:
        ImageRes() : BaseRes(ImageKind) {}
        // Releases the image.
        void DeleteResource() override;

        SharedImageHandle image;
        std::string alphaImage;
        std::string alphaGridImage;
        std::string variant;
        // Stored only.
        bool autoFindAlpha = true;
        bool palletize = true;
        bool a4r4g4b4 = false;
        bool a8r8g8b8 = false;
        bool ddSurface = false;
        bool noBits = false;
        bool minSubdivide = false;
        int rows = 1;
        int cols = 1;
        uint32_t alphaColor = 0xFFFFFF;
        AnimInfo animation;
    };

    class SoundRes : public BaseRes {
    public:
        // The host's sound manager frees the loaded sound.
        explicit SoundRes(ResourceHost* owner) : BaseRes(SoundKind), host(owner) {}
        // Frees a loaded sound (id 0 or more) and forgets its id.
        void DeleteResource() override;

        ResourceHost* const host;
        int soundId = -1;
        // -1: not given.
        double volume = -1.0;
        int pan = 0;
    };

    class FontRes : public BaseRes {
    public:
        FontRes() : BaseRes(FontKind) {}
        ~FontRes() override;
        // Deletes the font.
        void DeleteResource() override;

        Tandry::Font* font = nullptr;
        // Both stored only.
        std::string imagePath;
        std::string tags;
        // The path began with "!sys:"; path now holds the face name.
        bool sysFont = false;
        bool bold = false;
        bool italic = false;
        bool underline = false;
        bool shadow = false;
        int size = 0;
    };

    using ResourceMap = std::map<std::string, BaseRes*>;
    using ResourceList = std::list<BaseRes*>;

    explicit ResourceManager(ResourceHost* host);
    ResourceManager(const ResourceManager&) = delete;
    ResourceManager& operator=(const ResourceManager&) = delete;

    // Reads a manifest into records; nothing is loaded. True when no error
    // was recorded; otherwise the error text says what and where.
    bool ParseResourcesFile(const std::string& fileName);
    // A copy of the first error since the last reset.
    std::string GetErrorText() const;
    // Records the error unless one is recorded already; while a manifest is
    // read, the line and the file are added. Always false.
    bool Fail(const std::string& message);
    // The loaded font of the id; null when it is unknown or not loaded. Records no error.
    Tandry::Font* GetFont(const std::string& id) const;
    // The blue channel of the record's alpha picture becomes the image's alpha:
    // over the whole image, or over every cel of the grid.
    bool LoadAlphaImage(ImageRes* record, MemoryImage* image);
    bool LoadAlphaGridImage(ImageRes* record, MemoryImage* image);

protected:
    virtual bool ParseCommonResAttributes(const XMLParserElement& element, BaseRes* record, ResourceMap& map);
    virtual bool ParseSoundResource(const XMLParserElement& element);
    virtual bool ParseImageResource(const XMLParserElement& element);
    virtual bool ParseFontResource(const XMLParserElement& element);
    virtual bool ParseSetDefaults(const XMLParserElement& element);
    // The children of one Resources element, up to its end tag.
    virtual bool ParseResources(const XMLParserElement& element);

public:
    virtual void DeleteGroup(const std::string& group);
    virtual void DeleteResources(ResourceMap& map, const std::string& group);
    virtual bool DoLoadImage(ImageRes* record);
    virtual bool DoLoadFont(FontRes* record);
    virtual bool LoadSound(SoundRes* record);
    // Frees every record's object and deletes every record.
    virtual ~ResourceManager();
    // Loads at most one record of the current group: false at its end or
    // when that load failed.
    virtual bool LoadNextResource();
    // Called after each successful load.
    virtual void ResourceLoadedHook(BaseRes* record);
    virtual void StartLoadResources(const std::string& group);
    // The whole group; true, and the group counts as loaded, when nothing failed.
    virtual bool LoadResources(const std::string& group);
    // The getters throw ResourceManagerException, with the first error since
    // the last reset, for an id that is unknown or not loaded.
    virtual SharedImageHandle GetImageThrow(const std::string& id);
    virtual int GetSoundThrow(const std::string& id);
    virtual Tandry::Font* GetFontThrow(const std::string& id);

protected:
    std::set<std::string> mLoadedGroups;
    ResourceMap mImageMap;
    ResourceMap mSoundMap;
    ResourceMap mFontMap;
    // Only while a manifest is read.
    std::unique_ptr<XMLParser> mParser;
    std::string mError;
    bool mHasFailed = false;
    ResourceHost* mApp;
    std::string mCurrentGroup;
    // Put before relative paths; empty or ending with "/".
    std::string mDefaultPath;
    std::string mDefaultIdPrefix;
    // Every group's records in manifest order.
    std::map<std::string, ResourceList> mGroups;
    ResourceList* mCurrentGroupList = nullptr;
    ResourceList::iterator mLoadPosition;
};

} // namespace Tandry
