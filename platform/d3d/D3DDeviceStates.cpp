#include "platform/d3d/D3DDeviceStates.h"

#include "platform/d3d/D3DConstants.h"

namespace Platform {
namespace {

uint32_t Find(const std::unordered_map<uint32_t, uint32_t>& states, uint32_t state)
{
    const auto it = states.find(state);
    return it != states.end() ? it->second : 0;
}

} // namespace

D3DDeviceStates::D3DDeviceStates()
{
    mRender = {
        {D3DRENDERSTATE_ZENABLE, 0},          {D3DRENDERSTATE_FILLMODE, D3DFILL_SOLID},
        {D3DRENDERSTATE_SHADEMODE, D3DSHADE_GOURAUD}, {D3DRENDERSTATE_ZWRITEENABLE, 1},
        {D3DRENDERSTATE_SRCBLEND, D3DBLEND_ONE}, {D3DRENDERSTATE_DESTBLEND, D3DBLEND_ZERO},
        {D3DRENDERSTATE_CULLMODE, D3DCULL_CCW}, {D3DRENDERSTATE_DITHERENABLE, 0},
        {D3DRENDERSTATE_ALPHABLENDENABLE, 0},  {D3DRENDERSTATE_SPECULARENABLE, 0},
        {D3DRENDERSTATE_TEXTUREFACTOR, 0xFFFFFFFFu}, {D3DRENDERSTATE_LIGHTING, 1},
    };
    for (uint32_t stage = 0; stage < kStages; ++stage) {
        const bool first = stage == 0;
        mStages[stage] = {
            {D3DTSS_COLOROP, first ? D3DTOP_MODULATE : D3DTOP_DISABLE},
            {D3DTSS_COLORARG1, D3DTA_TEXTURE},
            {D3DTSS_COLORARG2, D3DTA_CURRENT},
            {D3DTSS_ALPHAOP, first ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE},
            {D3DTSS_ALPHAARG1, D3DTA_TEXTURE},
            {D3DTSS_ALPHAARG2, D3DTA_CURRENT},
            {D3DTSS_TEXCOORDINDEX, stage},
            {D3DTSS_ADDRESS, D3DTADDRESS_WRAP},
            {D3DTSS_ADDRESSU, D3DTADDRESS_WRAP},
            {D3DTSS_ADDRESSV, D3DTADDRESS_WRAP},
            {D3DTSS_BORDERCOLOR, 0},
            {D3DTSS_MAGFILTER, D3DTFG_POINT},
            {D3DTSS_MINFILTER, D3DTFN_POINT},
            {D3DTSS_MIPFILTER, D3DTFP_NONE},
        };
    }
}

uint32_t D3DDeviceStates::Render(uint32_t state) const { return Find(mRender, state); }

uint32_t D3DDeviceStates::Stage(uint32_t stage, uint32_t state) const { return Find(mStages[stage], state); }

void D3DDeviceStates::SetStage(uint32_t stage, uint32_t state, uint32_t value)
{
    mStages[stage][state] = value;
    // The combined addressing state sets both directions.
    if (state == D3DTSS_ADDRESS) {
        mStages[stage][D3DTSS_ADDRESSU] = value;
        mStages[stage][D3DTSS_ADDRESSV] = value;
    }
}

} // namespace Platform
