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

void ResourceManager::DeleteGroup(const std::string& /*group*/)
{
    // TODO: free the group's images, sounds and fonts and forget that it was loaded.
}

void ResourceManager::DeleteResources(ResourceMap& /*map*/, const std::string& /*group*/)
{
    // TODO: DeleteResource on every record of the group (every record for an empty group).
}

bool ResourceManager::DoLoadImage(ImageRes* /*record*/)
{
    // TODO: load through the host's shared images, merge the alpha files and apply the flags.
    return false;
}

bool ResourceManager::DoLoadFont(FontRes* /*record*/)
{
    // TODO: build the system, bitmap or referenced font.
    return false;
}

bool ResourceManager::LoadSound(SoundRes* /*record*/)
{
    // TODO: load into the lowest free id of the host's sound manager.
    return false;
}

bool ResourceManager::LoadNextResource()
{
    // TODO: load the next unloaded record of the current group.
    return false;
}

void ResourceManager::ResourceLoadedHook(BaseRes* /*record*/) {}

void ResourceManager::StartLoadResources(const std::string& /*group*/)
{
    // TODO: reset the error and start at the first record of the group.
}

bool ResourceManager::LoadResources(const std::string& /*group*/)
{
    // TODO: load the whole group and remember it as loaded.
    return false;
}

SharedImageHandle ResourceManager::GetImageThrow(const std::string& /*id*/)
{
    // TODO: the loaded image of the id; fail with "Image resource not found: " and the id.
    throw ResourceManagerException(mError);
}

int ResourceManager::GetSoundThrow(const std::string& /*id*/)
{
    // TODO: the loaded sound of the id; fail with "Sound resource not found: " and the id.
    throw ResourceManagerException(mError);
}

Font* ResourceManager::GetFontThrow(const std::string& /*id*/)
{
    // TODO: the loaded font of the id; fail with "Font resource not found: " and the id.
    throw ResourceManagerException(mError);
}

} // namespace Tandry
