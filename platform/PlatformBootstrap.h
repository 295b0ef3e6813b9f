// How a back end is chosen, as SDL chooses its video drivers: each back end
// exposes one bootstrap record {name, description, create}, and one table of
// them is walked at start-up. The program's main passes the table that its
// libraries provide and the hint of MOORGLEN_PLATFORM.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <vector>

namespace Platform {

class ServiceBundle;

struct PlatformConfig {
    std::string company;
    std::string product;
    std::vector<std::string> arguments; // argv without the program name
};

struct PlatformBootstrap {
    const char* name;
    const char* description;
    // Null when the back end cannot run here (no display, for instance).
    std::unique_ptr<ServiceBundle> (*create)(const PlatformConfig& config);
};

// With a hint, the entry of that name; without one, the first entry. Null
// when the entry is missing or cannot start; error then says why.
std::unique_ptr<ServiceBundle> CreatePlatform(std::span<const PlatformBootstrap* const> table, const char* hint,
                                         const PlatformConfig& config, std::string& error);

} // namespace Platform
