#include "particles/Particles2.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "graphics/context/Graphics.h"
#include "graphics/display/DDImage.h"
#include "graphics/types/Transform.h"
#include "particles/ParticleEffectFiles.h"
#include "platform/particlelib/ParticleLibrary.h"

namespace Tandry {

using namespace Platform;

namespace {

// The texture records of the locked type, indexed by frame.
std::array<MagicTexture, Particles2::kFrameTableSize> gFrameTable;

int Trunc(float v)
{
    // Library fractions of at most a page: well inside int.
    return static_cast<int>(v);
}

Rect FrameRect(const MagicTexture& t)
{
    return Rect(Trunc(static_cast<float>(t.textureWidth) * t.left), Trunc(static_cast<float>(t.textureHeight) * t.top),
                Trunc(static_cast<float>(t.textureWidth) * (t.right - t.left)),
                Trunc(static_cast<float>(t.textureHeight) * (t.bottom - t.top)));
}

std::unique_ptr<DDImage> ImageOfFrame(const MagicTexture& t)
{
    auto image = std::make_unique<DDImage>();
    std::vector<uint32_t> pixels(static_cast<size_t>(t.frameWidth) * static_cast<size_t>(t.frameHeight));
    std::memcpy(pixels.data(), t.data + kMagicTextureHeaderBytes, pixels.size() * 4);
    image->SetBits(pixels.data(), t.frameWidth, t.frameHeight, true);
    return image;
}

int Channel(uint32_t argb, int shift, int base)
{
    const int64_t v = static_cast<int64_t>(argb >> shift & 255u) * base / 255;
    return v < 0 ? 0 : v > 255 ? 255 : static_cast<int>(v);
}

} // namespace

Particles2::Particles2(const std::string& name)
{
    const auto& files = ParticleEffectFiles();
    if (!files.empty())
        Magic_LoadEmitter(files.front()->Handle(), name, &mEmitter);
}

Particles2::Particles2(const Particles2& other) : ParticlesCommon()
{
    Magic_DuplicateEmitter(other.mEmitter, &mEmitter);
}

Particles2::~Particles2()
{
    Magic_UnloadEmitter(mEmitter);
}

void Particles2::StartAt(const float position[2])
{
    mOrigin[0] = position[0];
    mOrigin[1] = position[1];
    Restart();
}

void Particles2::Restart()
{
    mStarted = true;
    mFinished = false;
}

void Particles2::StopEmitting()
{
    Magic_SetInterrupt(mEmitter, 1);
}

void Particles2::SetPosition(const float position[2], bool moveParticles)
{
    const float dx = mOrigin[0] - position[0];
    const float dy = mOrigin[1] - position[1];
    mOrigin[0] = position[0];
    mOrigin[1] = position[1];
    if (moveParticles)
        return;
    // The particles keep their place on the screen; new ones follow the emitter.
    for (int type = 0, n = Magic_GetParticlesTypeCount(mEmitter); type < n; ++type) {
        Magic_LockParticlesType(mEmitter, type);
        while (Magic_GetNextParticle() != nullptr)
            Magic_MoveParticle(dx, dy);
        Magic_UnlockParticlesType();
    }
}

void Particles2::SeekTime(float seconds)
{
    Magic_SetPosition(mEmitter, 0);
    Magic_Update(mEmitter, static_cast<double>(seconds) * 1000.0);
}

void Particles2::SetLooping(bool looping)
{
    Magic_SetLoopMode(mEmitter, looping ? 2 : 0);
}

void Particles2::Update(float dt)
{
    if (!mStarted || mFinished)
        return;
    const double step =
        Magic_IsInterpolationMode(mEmitter) ? static_cast<double>(dt) * 1000.0 : Magic_GetUpdateTime(mEmitter);
    mFinished = !Magic_Update(mEmitter, step);
}

int Particles2::TextureEntry(int copied)
{
    Particles2_TextureManager* manager = ParticleTextureManager();
    if (manager == nullptr || copied == 0)
        return 0;
    std::vector<uint32_t> ids;
    for (int i = 0; i < copied; ++i)
        ids.push_back(gFrameTable[i].id);
    if (const int found = manager->Find(ids))
        return found;

    if (copied == 1)
        return manager->Add(ImageOfFrame(gFrameTable[0]), std::move(ids));
    Rect bounds;
    for (int i = 0; i < copied; ++i) {
        const Rect r = FrameRect(gFrameTable[i]);
        bounds = Rect::Union(bounds, Rect(r.x, r.y, gFrameTable[i].frameWidth, gFrameTable[i].frameHeight));
    }
    auto atlas = std::make_unique<DDImage>();
    atlas->Create(bounds.x + bounds.width, bounds.y + bounds.height);
    atlas->ForceAlphaFlags(true, true);
    Graphics g(atlas.get());
    for (int i = 0; i < copied; ++i) {
        const Rect r = FrameRect(gFrameTable[i]);
        std::unique_ptr<DDImage> frame = ImageOfFrame(gFrameTable[i]);
        g.DrawImage(frame.get(), r.x, r.y);
    }
    return manager->Add(std::move(atlas), std::move(ids));
}

void Particles2::Draw(Graphics* g)
{
    if (!mStarted || mFinished || g == nullptr || g->mDestImage == nullptr)
        return;
    g->PushState();
    const Color base = g->mColorizeImages ? g->mColor : Color::White;
    g->SetColorizeImages(true);

    float x = 0.0f;
    float y = 0.0f;
    const int types = Magic_GetParticlesTypeCount(mEmitter);
    Magic_GetEmitterPosition(mEmitter, &x, &y);
    const float originX = mOrigin[0] + x;
    const float originY = mOrigin[1] + y;

    for (int type = types - 1; type >= 0; --type) {
        Magic_LockParticlesType(mEmitter, type);
        int copied = 0;
        for (int i = 0, n = Magic_GetTextureCount(); i < n && copied < kFrameTableSize; ++i) {
            if (const MagicTexture* t = Magic_GetTexture(i))
                gFrameTable[copied++] = *t;
        }
        int entry = Magic_GetTextureID();
        if (entry == 0) {
            entry = TextureEntry(copied);
            Magic_SetTextureID(entry);
        }
        Particles2_TextureManager* manager = ParticleTextureManager();
        Image* atlas = manager ? manager->Atlas(entry) : nullptr;
        if (atlas == nullptr) {
            Magic_UnlockParticlesType();
            continue;
        }
        g->mClipRect = Rect(0, 0, g->mDestImage->mWidth, g->mDestImage->mHeight);
        g->SetDrawMode(Magic_IsIntensive() ? DRAWMODE_ADDITIVE : DRAWMODE_NORMAL);

        while (const MagicParticle* p = Magic_GetNextParticle()) {
            if (p->frame < 0 || p->frame >= copied)
                continue;
            const MagicTexture& f = gFrameTable[p->frame];
            g->SetColor(Color(Channel(p->color, 16, base.red), Channel(p->color, 8, base.green),
                              Channel(p->color, 0, base.blue), Channel(p->color, 24, base.alpha)));
            const float scale = f.frameWidth > 0 ? p->size / static_cast<float>(f.frameWidth) : 0.0f;
            const float px = p->x + originX;
            const float py = p->y + originY;
            if (!std::isfinite(px) || !std::isfinite(py) || !std::isfinite(scale) || !std::isfinite(p->angle))
                continue;
            Transform transform;
            transform.Translate(-f.pivotX, -f.pivotY);
            transform.Scale(scale, scale);
            transform.Rotate(p->angle * 3.1415927f / 180.0f);
            transform.Translate(px, py);
            g->DrawImageTransformedPart(atlas, transform, FrameRect(f), 0.0f, 0.0f, false);
        }
        Magic_UnlockParticlesType();
    }
    g->PopState();
}

} // namespace Tandry
