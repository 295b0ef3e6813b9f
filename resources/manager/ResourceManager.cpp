#include "resources/manager/ResourceManager.h"

#include "resources/manager/ResourceManagerException.h"
#include "resources/xml/XMLParser.h"
#include "util/Format.h"

namespace Tandry {

ResourceManager::ResourceManager(ResourceHost* host) : mApp(host) {}

ResourceManager::~ResourceManager()
{
    for (ResourceMap* map : {&mImageMap, &mSoundMap, &mFontMap}) {
        for (auto& [id, record] : *map) {
            record->DeleteResource();
            delete record;
        }
        map->clear();
    }
    mGroups.clear();
    mCurrentGroupList = nullptr;
}

std::string ResourceManager::GetErrorText() const
{
    return mError;
}

bool ResourceManager::Fail(const std::string& message)
{
    if (mHasFailed)
        return false;
    mHasFailed = true;
    mError = message;
    if (mParser != nullptr) {
        const int line = mParser->GetLineNumber();
        const std::string file = mParser->GetFileName();
        if (line > 0)
            mError += " on Line " + FormatInt(line);
        if (!file.empty())
            mError += " in File '" + file + "'";
    }
    return false;
}

void ResourceManager::DeleteGroup(const std::string& group)
{
    DeleteResources(mImageMap, group);
    DeleteResources(mSoundMap, group);
    DeleteResources(mFontMap, group);
    mLoadedGroups.erase(group);
}

void ResourceManager::DeleteResources(ResourceMap& map, const std::string& group)
{
    for (auto& [id, record] : map) {
        if (group.empty() || record->group == group)
            record->DeleteResource();
    }
}

bool ResourceManager::LoadNextResource()
{
    if (mHasFailed || mCurrentGroupList == nullptr)
        return false;
    while (mLoadPosition != mCurrentGroupList->end()) {
        BaseRes* record = *mLoadPosition++;
        if (record->suppliedByCode)
            continue;
        switch (record->kind) {
        case BaseRes::ImageKind: {
            auto* image = static_cast<ImageRes*>(record);
            if (image->image.GetEntryImage() == nullptr)
                return DoLoadImage(image);
            break;
        }
        case BaseRes::SoundKind: {
            auto* sound = static_cast<SoundRes*>(record);
            if (sound->soundId == -1)
                return LoadSound(sound);
            break;
        }
        case BaseRes::FontKind: {
            auto* font = static_cast<FontRes*>(record);
            if (font->font == nullptr)
                return DoLoadFont(font);
            break;
        }
        default:
            break;
        }
    }
    return false;
}

void ResourceManager::ResourceLoadedHook(BaseRes* /*record*/) {}

void ResourceManager::StartLoadResources(const std::string& group)
{
    mError.clear();
    mHasFailed = false;
    mCurrentGroup = group;
    mCurrentGroupList = &mGroups[group];
    mLoadPosition = mCurrentGroupList->begin();
}

bool ResourceManager::LoadResources(const std::string& group)
{
    mError.clear();
    mHasFailed = false;
    StartLoadResources(group);
    while (LoadNextResource()) {
    }
    if (mHasFailed)
        return false;
    mLoadedGroups.insert(group);
    return true;
}

Font* ResourceManager::GetFont(const std::string& id) const
{
    const auto found = mFontMap.find(id);
    return found == mFontMap.end() ? nullptr : static_cast<const FontRes*>(found->second)->font;
}

SharedImageHandle ResourceManager::GetImageThrow(const std::string& id)
{
    const auto found = mImageMap.find(id);
    if (found != mImageMap.end()) {
        const auto* record = static_cast<const ImageRes*>(found->second);
        if (record->image.GetEntryImage() != nullptr)
            return SharedImageHandle(record->image);
    }
    Fail(FormatString("Image resource not found: %s", id.c_str()));
    throw ResourceManagerException(mError);
}

int ResourceManager::GetSoundThrow(const std::string& id)
{
    const auto found = mSoundMap.find(id);
    if (found != mSoundMap.end()) {
        const int soundId = static_cast<const SoundRes*>(found->second)->soundId;
        if (soundId != -1)
            return soundId;
    }
    Fail(FormatString("Sound resource not found: %s", id.c_str()));
    throw ResourceManagerException(mError);
}

Font* ResourceManager::GetFontThrow(const std::string& id)
{
    Font* font = GetFont(id);
    if (font != nullptr)
        return font;
    Fail(FormatString("Font resource not found: %s", id.c_str()));
    throw ResourceManagerException(mError);
}

} // namespace Tandry
