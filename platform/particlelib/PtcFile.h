// The contents of one effects file of the particle library stand-in: the
// generated textures, the folder tree and the emitter definitions, as
// ParsePtcFile reads them. Emitters keep their file order; folder 0 is the
// root. Loaded emitters share the definitions with the open file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Platform {

enum class PtcShape { HardDisc, SoftDisc, Ring, Square };

struct PtcTexture {
    uint32_t id = 0;
    PtcShape shape = PtcShape::HardDisc;
    // Width and height in pixels.
    int size = 1;
    uint32_t argb = 0xFFFFFFFFu;
};

struct PtcParticleType {
    // Texture ids in frame order; the frames cycle over a particle's life.
    std::vector<uint32_t> textures;
    // Drawn additively.
    bool intensive = false;
    // Particles per second.
    float rate = 10.0f;
    float lifetimeMin = 1000.0f;  // ms
    float lifetimeMax = 1000.0f;
    float speedMin = 0.0f;        // pixels per second
    float speedMax = 0.0f;
    float direction = 0.0f;       // degrees, 0 = +x, 90 = +y (down)
    float spread = 360.0f;        // degrees around the direction
    float sizeStart = 8.0f;       // pixels
    float sizeEnd = 8.0f;
    float spinMin = 0.0f;         // degrees per second
    float spinMax = 0.0f;
    uint32_t colorStart = 0xFFFFFFFFu;
    uint32_t colorEnd = 0xFFFFFFFFu;
};

struct PtcEmitter {
    std::string name;
    float x = 0.0f;
    float y = 0.0f;
    // -1: endless.
    int durationMs = 1000;
    // 0 once, 1 as 0, 2 restarts emission at the end of the duration.
    int loopMode = 0;
    bool interpolation = false;
    int updateMs = 10;
    std::vector<PtcParticleType> types;
};

struct PtcFolder {
    struct Entry {
        bool isFolder = false;
        // Into PtcFile::folders or PtcFile::emitters.
        size_t index = 0;
    };
    std::string name;
    std::vector<Entry> entries;
};

struct PtcFile {
    std::vector<PtcTexture> textures;
    std::vector<PtcEmitter> emitters;
    std::vector<PtcFolder> folders;

    const PtcTexture* FindTexture(uint32_t id) const;
};

} // namespace Platform
