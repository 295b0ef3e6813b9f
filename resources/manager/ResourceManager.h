// The game's images, fonts and sounds by id, loaded in groups from the XML
// manifest. The application creates the one manager and deletes it at
// shutdown; a group that fails to load leaves its reason in the error text.
#pragma once

#include <string>

namespace Tandry {

class ResourceManager {
public:
    ResourceManager();
    ResourceManager(const ResourceManager&) = delete;
    ResourceManager& operator=(const ResourceManager&) = delete;
    virtual ~ResourceManager() = default;

    // A copy of the text of the last resource error.
    std::string GetErrorText() const;

protected:
    std::string mError;
};

} // namespace Tandry
