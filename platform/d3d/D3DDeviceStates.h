// The render states and texture-stage states of a Direct3D stand-in device:
// every state number is kept and read back, and a new device starts with
// Direct3D 7's defaults (no blending, source ONE, destination ZERO, culling
// of counterclockwise triangles, Gouraud shading, stage 0 modulating its
// texture, the other stages off, point filters, wrapped addressing).
#pragma once

#include <array>
#include <cstdint>
#include <unordered_map>

namespace Platform {

class D3DDeviceStates {
public:
    static constexpr uint32_t kStages = 8;

    D3DDeviceStates();

    uint32_t Render(uint32_t state) const;
    void SetRender(uint32_t state, uint32_t value) { mRender[state] = value; }
    // The stage must be below kStages.
    uint32_t Stage(uint32_t stage, uint32_t state) const;
    void SetStage(uint32_t stage, uint32_t state, uint32_t value);

private:
    std::unordered_map<uint32_t, uint32_t> mRender;
    std::array<std::unordered_map<uint32_t, uint32_t>, kStages> mStages;
};

} // namespace Platform
