// What the level controllers know of a player's data: something that is
// saved into and loaded from the current profile. PlayerInfo is the one kind;
// GameControllerBase holds it through this interface.
#pragma once

namespace Tandry {

class PlayerInfoBase {
public:
    PlayerInfoBase() = default;
    PlayerInfoBase(const PlayerInfoBase&) = delete;
    PlayerInfoBase& operator=(const PlayerInfoBase&) = delete;
    virtual ~PlayerInfoBase() = default;

    // Writes into the current profile's document; the file is not written.
    virtual void Save() = 0;
    virtual void Load() = 0;
};

} // namespace Tandry
