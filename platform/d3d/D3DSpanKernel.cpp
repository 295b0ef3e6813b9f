#include "platform/d3d/D3DSpanKernel.h"

#include "platform/d3d/D3DConstants.h"

#include <cstring>

namespace Platform {
namespace {

// Every loop evaluates the attributes exactly as the general loop does (the
// same double sums in the same order), so only the per-pixel dispatch goes.

// Render targets: read by bit replication, written by top bits, other bits 0.
struct TargetArgb8888 {
    static uint32_t Bytes(const D3DRenderTarget&) { return 4; }
    static uint32_t Read(const D3DRenderTarget&, const uint8_t* pixel)
    {
        uint32_t raw;
        std::memcpy(&raw, pixel, sizeof raw);
        return raw | 0xFF000000u;
    }
    static void Write(const D3DRenderTarget&, uint8_t* pixel, uint32_t colour)
    {
        const uint32_t raw = colour & 0xFFFFFFu;
        std::memcpy(pixel, &raw, sizeof raw);
    }
};

struct TargetRgb565 {
    static uint32_t Bytes(const D3DRenderTarget&) { return 2; }
    static uint32_t Read(const D3DRenderTarget&, const uint8_t* pixel)
    {
        uint16_t raw;
        std::memcpy(&raw, pixel, sizeof raw);
        const uint32_t red = raw >> 11;
        const uint32_t green = (raw >> 5) & 0x3F;
        const uint32_t blue = raw & 0x1F;
        return 0xFF000000u | (((red << 3) | (red >> 2)) << 16) | (((green << 2) | (green >> 4)) << 8) |
               ((blue << 3) | (blue >> 2));
    }
    static void Write(const D3DRenderTarget&, uint8_t* pixel, uint32_t colour)
    {
        const auto raw = static_cast<uint16_t>(((colour >> 8) & 0xF800) | ((colour >> 5) & 0x7E0) | ((colour >> 3) & 0x1F));
        std::memcpy(pixel, &raw, sizeof raw);
    }
};

struct TargetAny {
    static uint32_t Bytes(const D3DRenderTarget& target) { return target.layout.Bytes(); }
    static uint32_t Read(const D3DRenderTarget& target, const uint8_t* pixel)
    {
        return target.layout.Decode(target.layout.Load(pixel));
    }
    static void Write(const D3DRenderTarget& target, uint8_t* pixel, uint32_t colour)
    {
        target.layout.Store(pixel, target.layout.Encode(colour));
    }
};

// Texel reads after the coordinates became texel indices.
struct NoTexture {
    static constexpr bool kSamples = false;
};

struct TextureArgb8888 {
    static constexpr bool kSamples = true;
    static uint32_t Fetch(const D3DTextureSampler& sampler, int64_t x, int64_t y)
    {
        if (static_cast<uint64_t>(x) < sampler.Width() && static_cast<uint64_t>(y) < sampler.Height())
            return sampler.Argb8888(x, y);
        return sampler.Texel(x, y);
    }
};

struct TextureAny {
    static constexpr bool kSamples = true;
    static uint32_t Fetch(const D3DTextureSampler& sampler, int64_t x, int64_t y) { return sampler.Texel(x, y); }
};

// Blending: off, a fixed pair of factors that folds into the loop, or any pair.
struct NoBlend {
    static constexpr bool kReadsTarget = false;
    static uint32_t Apply(const D3DPixelPipeline&, uint32_t source, uint32_t) { return source; }
};

template <uint32_t SourceFactor, uint32_t DestFactor>
struct FixedBlend {
    static constexpr bool kReadsTarget = true;
    static uint32_t Apply(const D3DPixelPipeline&, uint32_t source, uint32_t dest)
    {
        return D3DBlendColours(source, dest, SourceFactor, DestFactor);
    }
};

struct AnyBlend {
    static constexpr bool kReadsTarget = true;
    static uint32_t Apply(const D3DPixelPipeline& pipeline, uint32_t source, uint32_t dest)
    {
        return pipeline.Blend(source, dest);
    }
};

// One stage of select or modulate: a channel forced to 255 on one side makes
// the modulation give the other side's channel, since (x * 255 + 127) / 255 = x.
uint32_t Shade(uint32_t texture, uint32_t diffuse)
{
    if (diffuse == 0xFFFFFFFFu)
        return texture;
    if (texture == 0xFFFFFFFFu)
        return diffuse;
    uint32_t result = 0;
    for (int i = 0; i < 4; ++i)
        result |= D3DModulate(D3DChannelOf(texture, i), D3DChannelOf(diffuse, i)) << (8 * i);
    return result;
}

template <class Texture, bool kLinear>
uint32_t Sample(const D3DTextureSampler& sampler, double u, double v)
{
    const double width = sampler.Width();
    const double height = sampler.Height();
    if constexpr (!kLinear) {
        return Texture::Fetch(sampler, D3DFloorIndex(u * width), D3DFloorIndex(v * height));
    } else {
        const int64_t fx = D3DTextureSampler::ToFixed(u * width - 0.5, 256.0);
        const int64_t fy = D3DTextureSampler::ToFixed(v * height - 0.5, 256.0);
        const int64_t x = fx >> 8;
        const int64_t y = fy >> 8;
        const uint32_t texels[4] = {Texture::Fetch(sampler, x, y), Texture::Fetch(sampler, x + 1, y),
                                    Texture::Fetch(sampler, x, y + 1), Texture::Fetch(sampler, x + 1, y + 1)};
        return D3DBilinear(texels, static_cast<uint32_t>(fx & 255), static_cast<uint32_t>(fy & 255));
    }
}

template <class Target, class Texture, bool kLinear, class Blender>
void RunSpans(const D3DSpanKernel::Context& context, const std::vector<D3DSpan>& spans,
              const D3DAttributePlane& plane)
{
    const D3DRenderTarget& target = context.target;
    const uint32_t bytes = Target::Bytes(target);
    // A diffuse colour with no slope is the same in every pixel: base + 0 * d stays base.
    bool flat = true;
    for (int k = 0; k < 4; ++k)
        flat = flat && plane.dx[k] == 0.0 && plane.dy[k] == 0.0;
    const uint32_t flatDiffuse = flat ? D3DColourOf(plane.base, 0) : 0u;
    for (const D3DSpan& span : spans) {
        const double dy = double(span.y) - plane.originY;
        const double dx = double(span.left) - plane.originX;
        std::array<double, 4> diffuse{};
        if (!flat)
            for (int k = 0; k < 4; ++k)
                diffuse[size_t(k)] = plane.base[size_t(k)] + plane.dx[size_t(k)] * dx + plane.dy[size_t(k)] * dy;
        double u = plane.base[kD3DTexU] + plane.dx[kD3DTexU] * dx + plane.dy[kD3DTexU] * dy;
        double v = plane.base[kD3DTexV] + plane.dx[kD3DTexV] * dx + plane.dy[kD3DTexV] * dy;
        uint8_t* pixel = target.pixels + int64_t{span.y} * target.pitch + int64_t{span.left} * bytes;
        for (int32_t x = span.left; x < span.right; ++x, pixel += bytes) {
            uint32_t texel = 0xFFFFFFFFu;
            if constexpr (Texture::kSamples)
                texel = Sample<Texture, kLinear>(*context.sampler, u, v);
            uint32_t colour = flatDiffuse;
            if (!flat) {
                colour = D3DToChannel(diffuse[0]) | (D3DToChannel(diffuse[1]) << 8) |
                         (D3DToChannel(diffuse[2]) << 16) | (D3DToChannel(diffuse[3]) << 24);
                for (int k = 0; k < 4; ++k)
                    diffuse[size_t(k)] += plane.dx[size_t(k)];
            }
            colour = Shade(texel | context.textureWhite, colour | context.diffuseWhite);
            if constexpr (Blender::kReadsTarget)
                colour = Blender::Apply(*context.pipeline, colour, Target::Read(target, pixel));
            Target::Write(target, pixel, colour);
            u += plane.dx[kD3DTexU];
            v += plane.dx[kD3DTexV];
        }
    }
}

// What a stage's operation takes from the texture and the diffuse colour.
enum class Role { Texture, Diffuse, Modulate, Other };

Role ArgumentRole(uint32_t argument)
{
    if (argument == D3DTA_TEXTURE)
        return Role::Texture;
    if (argument == D3DTA_DIFFUSE || argument == D3DTA_CURRENT) // the current colour of stage 0 is the diffuse
        return Role::Diffuse;
    return Role::Other;
}

Role OperationRole(uint32_t op, uint32_t arg1, uint32_t arg2)
{
    switch (op) {
    case D3DTOP_SELECTARG1: return ArgumentRole(arg1);
    case D3DTOP_SELECTARG2: return ArgumentRole(arg2);
    case D3DTOP_MODULATE: {
        const Role first = ArgumentRole(arg1);
        const Role second = ArgumentRole(arg2);
        const bool pair = (first == Role::Texture && second == Role::Diffuse) ||
                          (first == Role::Diffuse && second == Role::Texture);
        return pair ? Role::Modulate : Role::Other;
    }
    default: return Role::Other;
    }
}

template <class Target, class Texture, class Blender>
void PickLoops(D3DSpanKernel::Loop& point, D3DSpanKernel::Loop& linear)
{
    point = &RunSpans<Target, Texture, false, Blender>;
    if constexpr (Texture::kSamples)
        linear = &RunSpans<Target, Texture, true, Blender>;
    else
        linear = point;
}

template <class Target, class Texture>
void PickBlend(const D3DPixelPipeline& pipeline, D3DSpanKernel::Loop& point, D3DSpanKernel::Loop& linear)
{
    const uint32_t source = pipeline.SourceBlend();
    const uint32_t dest = pipeline.DestBlend();
    if (!pipeline.Blends())
        PickLoops<Target, Texture, NoBlend>(point, linear);
    else if (source == D3DBLEND_SRCALPHA && dest == D3DBLEND_INVSRCALPHA)
        PickLoops<Target, Texture, FixedBlend<D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA>>(point, linear);
    else if (source == D3DBLEND_SRCALPHA && dest == D3DBLEND_ONE)
        PickLoops<Target, Texture, FixedBlend<D3DBLEND_SRCALPHA, D3DBLEND_ONE>>(point, linear);
    else if (source == D3DBLEND_ONE && dest == D3DBLEND_ONE)
        PickLoops<Target, Texture, FixedBlend<D3DBLEND_ONE, D3DBLEND_ONE>>(point, linear);
    else if (source == D3DBLEND_ONE && dest == D3DBLEND_INVSRCALPHA)
        PickLoops<Target, Texture, FixedBlend<D3DBLEND_ONE, D3DBLEND_INVSRCALPHA>>(point, linear);
    else
        PickLoops<Target, Texture, AnyBlend>(point, linear);
}

template <class Target>
void PickTexture(const D3DSpanKernel::Context& context, D3DSpanKernel::Loop& point, D3DSpanKernel::Loop& linear)
{
    if (context.sampler == nullptr)
        PickBlend<Target, NoTexture>(*context.pipeline, point, linear);
    else if (context.sampler->IsArgb8888())
        PickBlend<Target, TextureArgb8888>(*context.pipeline, point, linear);
    else
        PickBlend<Target, TextureAny>(*context.pipeline, point, linear);
}

} // namespace

std::optional<D3DSpanKernel> D3DSpanKernel::Choose(const D3DRenderTarget& target, const D3DPixelPipeline& pipeline,
                                                   const std::vector<std::optional<D3DTextureSampler>>& samplers)
{
    if (pipeline.UsesSpecular() || pipeline.StageCount() > 1 || samplers.size() != size_t(pipeline.StageCount()))
        return std::nullopt;
    D3DSpanKernel kernel;
    Context& context = kernel.mContext;
    context.target = target;
    context.pipeline = &pipeline;
    if (pipeline.StageCount() == 0) {
        context.textureWhite = 0xFFFFFFFFu; // no stage: the diffuse colour throughout
    } else {
        const D3DStageOps& stage = pipeline.Stage(0);
        const Role colour = OperationRole(stage.colourOp, stage.colourArg1, stage.colourArg2);
        // Without an alpha operation the alpha stays the current one, the diffuse's.
        const Role alpha = stage.alphaOp == D3DTOP_DISABLE
                               ? Role::Diffuse
                               : OperationRole(stage.alphaOp, stage.alphaArg1, stage.alphaArg2);
        if (colour == Role::Other || alpha == Role::Other)
            return std::nullopt;
        for (const auto& [role, mask] : {std::pair{colour, 0x00FFFFFFu}, std::pair{alpha, 0xFF000000u}}) {
            if (role == Role::Texture)
                context.diffuseWhite |= mask;
            else if (role == Role::Diffuse)
                context.textureWhite |= mask;
        }
        if (samplers[0])
            context.sampler = &*samplers[0];
    }
    if (target.layout.IsArgb8888())
        PickTexture<TargetArgb8888>(context, kernel.mPoint, kernel.mLinear);
    else if (target.layout.IsRgb565())
        PickTexture<TargetRgb565>(context, kernel.mPoint, kernel.mLinear);
    else
        PickTexture<TargetAny>(context, kernel.mPoint, kernel.mLinear);
    return kernel;
}

} // namespace Platform
