// What the resource manager's throwing getters throw: the manager's error
// text at the time of the throw. The game's start-up catches it and shows
// the text as a fatal error.
#pragma once

#include <exception>
#include <string>
#include <utility>

namespace Tandry {

class ResourceManagerException : public std::exception {
public:
    explicit ResourceManagerException(std::string errorText) : text(std::move(errorText)) {}
    const char* what() const noexcept override { return text.c_str(); }

    std::string text;
};

} // namespace Tandry
