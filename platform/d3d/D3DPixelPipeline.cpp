#include "platform/d3d/D3DPixelPipeline.h"


namespace Platform {
namespace {

constexpr uint32_t kModifiers = D3DTA_COMPLEMENT | D3DTA_ALPHAREPLICATE;

bool ArgumentSupported(uint32_t argument)
{
    return (argument & ~(D3DTA_SELECTMASK | kModifiers)) == 0 && (argument & D3DTA_SELECTMASK) <= D3DTA_SPECULAR;
}

bool OperationSupported(uint32_t op)
{
    return op == D3DTOP_SELECTARG1 || op == D3DTOP_SELECTARG2 || op == D3DTOP_MODULATE || op == D3DTOP_DOTPRODUCT3;
}

bool UsesArg1(uint32_t op) { return op != D3DTOP_SELECTARG2; }
bool UsesArg2(uint32_t op) { return op != D3DTOP_SELECTARG1; }

bool FactorSupported(uint32_t factor) { return factor >= D3DBLEND_ZERO && factor <= D3DBLEND_INVDESTCOLOR; }

// One argument of a stage: its source, then its modifiers.
uint32_t Argument(uint32_t argument, uint32_t diffuse, uint32_t current, uint32_t texture, uint32_t factor,
                  uint32_t specular)
{
    uint32_t value;
    switch (argument & D3DTA_SELECTMASK) {
    case D3DTA_DIFFUSE: value = diffuse; break;
    case D3DTA_CURRENT: value = current; break;
    case D3DTA_TEXTURE: value = texture; break;
    case D3DTA_TFACTOR: value = factor; break;
    default: value = specular; break;
    }
    if (argument & D3DTA_ALPHAREPLICATE)
        value = (value >> 24) * 0x01010101u;
    if (argument & D3DTA_COMPLEMENT)
        value = ~value;
    return value;
}

// Channels `first` to `last` (0 blue .. 3 alpha) of the operation's result.
uint32_t Operate(uint32_t op, uint32_t a, uint32_t b, int first, int last)
{
    uint32_t result = 0;
    if (op == D3DTOP_DOTPRODUCT3) {
        int32_t sum = 0;
        for (int i = 0; i < 3; ++i)
            sum += (2 * static_cast<int32_t>(D3DChannelOf(a, i)) - 255) * (2 * static_cast<int32_t>(D3DChannelOf(b, i)) - 255);
        return static_cast<uint32_t>(std::clamp(sum / 255, 0, 255)) * 0x01010101u;
    }
    for (int i = first; i <= last; ++i) {
        uint32_t value;
        switch (op) {
        case D3DTOP_SELECTARG1: value = D3DChannelOf(a, i); break;
        case D3DTOP_SELECTARG2: value = D3DChannelOf(b, i); break;
        default: value = D3DModulate(D3DChannelOf(a, i), D3DChannelOf(b, i)); break;
        }
        result |= value << (8 * i);
    }
    return result;
}

} // namespace

HRESULT D3DPixelPipeline::Set(const std::array<D3DStageOps, kStages>& stages, uint32_t textureFactor, bool specular,
                              bool blend, uint32_t sourceBlend, uint32_t destBlend)
{
    mStageCount = 0;
    mSpecularArgument = false;
    for (const D3DStageOps& stage : stages) {
        if (stage.colourOp == D3DTOP_DISABLE)
            break;
        if (!OperationSupported(stage.colourOp))
            return D3DERR_UNSUPPORTEDCOLOROPERATION;
        if ((UsesArg1(stage.colourOp) && !ArgumentSupported(stage.colourArg1)) ||
            (UsesArg2(stage.colourOp) && !ArgumentSupported(stage.colourArg2)))
            return D3DERR_UNSUPPORTEDCOLORARG;
        if (stage.alphaOp != D3DTOP_DISABLE) {
            if (!OperationSupported(stage.alphaOp))
                return D3DERR_UNSUPPORTEDALPHAOPERATION;
            if ((UsesArg1(stage.alphaOp) && !ArgumentSupported(stage.alphaArg1)) ||
                (UsesArg2(stage.alphaOp) && !ArgumentSupported(stage.alphaArg2)))
                return D3DERR_UNSUPPORTEDALPHAARG;
        }
        for (uint32_t argument : {stage.colourArg1, stage.colourArg2, stage.alphaArg1, stage.alphaArg2})
            mSpecularArgument = mSpecularArgument || (argument & D3DTA_SELECTMASK) == D3DTA_SPECULAR;
        mStages[mStageCount++] = stage;
    }
    if (blend && (!FactorSupported(sourceBlend) || !FactorSupported(destBlend)))
        return D3DERR_UNSUPPORTEDFACTORVALUE;
    mTextureFactor = textureFactor;
    mSpecular = specular;
    mBlend = blend;
    mSourceBlend = sourceBlend;
    mDestBlend = destBlend;
    return DD_OK;
}

uint32_t D3DPixelPipeline::Shade(uint32_t diffuse, uint32_t specular, const uint32_t* textures) const
{
    uint32_t current = diffuse;
    for (int s = 0; s < mStageCount; ++s) {
        const D3DStageOps& stage = mStages[s];
        const uint32_t texture = textures[s];
        const auto argument = [&](uint32_t which) {
            return Argument(which, diffuse, current, texture, mTextureFactor, specular);
        };
        const uint32_t colour =
            Operate(stage.colourOp, argument(stage.colourArg1), argument(stage.colourArg2), 0, 2);
        uint32_t alpha = current & 0xFF000000u;
        if (stage.alphaOp != D3DTOP_DISABLE)
            alpha = Operate(stage.alphaOp, argument(stage.alphaArg1), argument(stage.alphaArg2), 3, 3) & 0xFF000000u;
        // The dot product fills all four channels, alpha included.
        current = stage.colourOp == D3DTOP_DOTPRODUCT3 ? colour : ((colour & 0xFFFFFFu) | alpha);
    }
    if (mSpecular) {
        uint32_t sum = current & 0xFF000000u;
        for (int i = 0; i < 3; ++i)
            sum |= std::min<uint32_t>(255, D3DChannelOf(current, i) + D3DChannelOf(specular, i)) << (8 * i);
        current = sum;
    }
    return current;
}

} // namespace Platform
