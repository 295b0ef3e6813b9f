#include "particles/Particles.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "graphics/context/Graphics.h"
#include "graphics/image/Image.h"
#include "graphics/types/Matrix3x3.h"
#include "particles/Particle.h"
#include "particles/ParticlePool.h"
#include "resources/pak/PakFile.h"
#include "util/RandomGenerator.h"

namespace Tandry {

namespace {

Image* gSheet = nullptr;

constexpr double kQuarterTurn = 1.5707963705062866;

bool Finite(const Particle& p)
{
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.size) && std::isfinite(p.spin);
}

// trunc(value x 255) limited to 0..255; not a number gives 0.
int Channel(float value)
{
    const float scaled = value * 255.0f;
    if (!(scaled > 0.0f))
        return 0;
    if (scaled >= 255.0f)
        return 255;
    return static_cast<int>(scaled);
}

// A start value between from and from + (to - from) x variation, and the rate
// that brings it to the end value over the lifetime.
void Ramp(float from, float to, float variation, float lifetime, float& value, float& rate)
{
    value = RandomFloat(from, from + (to - from) * variation);
    rate = (to - value) / lifetime;
}

} // namespace

void Particles::SetSheet(Image* sheet)
{
    gSheet = sheet;
}

Image* Particles::Sheet()
{
    return gSheet;
}

Particles::Particles(const std::string& name) : mImage(gSheet), mAnimated(gSheet && gSheet->mAnimInfo)
{
    PakFileHandle* file = PakOpen("data\\particles\\" + name, "rb");
    if (file == nullptr)
        return;
    uint8_t block[ParticleParams::kSize];
    const size_t got = PakReadBytes(file, block, sizeof block);
    PakClose(file);
    mLoaded = ParticleParams::FromBytes(block, got, mParams);
}

Particles::Particles(const ParticleParams& params, Image* image)
    : mParams(params), mImage(image), mAnimated(image && image->mAnimInfo), mLoaded(true)
{
}

Particles::~Particles()
{
    for (Particle* p = mFirstParticle; p != nullptr;)
        p = Kill(p);
}

void Particles::StartAt(const float position[2])
{
    SetPosition(position, false);
    Restart();
}

void Particles::Restart()
{
    mClock = mParams.duration == kEndless ? kEndless : 0.0f;
    mStopped = false;
}

void Particles::StopEmitting()
{
    mStopped = true;
    mClock = kNotEmitting;
}

void Particles::SetPosition(const float position[2], bool moveParticles)
{
    if (moveParticles) {
        const float dx = position[0] - mPosition[0];
        const float dy = position[1] - mPosition[1];
        for (Particle* p = mFirstParticle; p != nullptr; p = p->next) {
            p->x += dx;
            p->y += dy;
        }
        mLastPosition[0] += dx;
        mLastPosition[1] += dy;
    } else if (mClock != kNotEmitting) {
        // The next emission spreads its births along the way from here.
        mLastPosition[0] = mPosition[0];
        mLastPosition[1] = mPosition[1];
    } else {
        mLastPosition[0] = position[0];
        mLastPosition[1] = position[1];
    }
    mPosition[0] = position[0];
    mPosition[1] = position[1];
}

bool Particles::IsFinished()
{
    return mStopped && mLiveCount == 0;
}

Particle* Particles::Kill(Particle* p)
{
    Particle* next = p->next;
    (p->prev ? p->prev->next : mFirstParticle) = p->next;
    (p->next ? p->next->prev : mLastParticle) = p->prev;
    ParticlePool::Global().Give(p);
    --mLiveCount;
    return next;
}

void Particles::Update(float dt)
{
    if (mClock >= 0.0f) {
        mClock += dt;
        if (mParams.duration <= mClock) {
            mStopped = true;
            mClock = kNotEmitting;
        }
    }

    for (Particle* p = mFirstParticle; p != nullptr;) {
        p->age += dt;
        if (p->age >= p->lifetime) {
            p = Kill(p);
            continue;
        }
        const float dx = p->x - mPosition[0];
        const float dy = p->y - mPosition[1];
        const double dist = std::sqrt(static_cast<double>(dx * dx + dy * dy));
        float nx = 0.0f;
        float ny = 0.0f;
        if (dist != 0.0) {
            nx = static_cast<float>(dx / dist);
            ny = static_cast<float>(dy / dist);
        }
        const float ax = p->radialAccel * nx - p->tangentialAccel * ny;
        const float ay = p->radialAccel * ny + p->tangentialAccel * nx;
        p->velocityX += ax * dt;
        p->velocityY += ay * dt;
        p->velocityY += p->gravity * dt;
        // Kept from the original tuning: the step does not scale with dt.
        p->x += p->velocityX * 0.5f;
        p->y += p->velocityY * 0.5f;
        p->spin += p->spinRate * dt;
        p->size += p->sizeRate * dt;
        p->red += p->redRate * dt;
        p->green += p->greenRate * dt;
        p->blue += p->blueRate * dt;
        p->alpha += p->alphaRate * dt;
        p = Finite(*p) ? p->next : Kill(p);
    }

    if (mClock != kNotEmitting)
        Emit(dt);
    mLastPosition[0] = mPosition[0];
    mLastPosition[1] = mPosition[1];
}

void Particles::Emit(float dt)
{
    const float c = static_cast<float>(mParams.rate) * dt + mEmitRemainder;
    float n = std::trunc(c);
    if (std::isnan(c)) {
        n = 0.0f;
        mEmitRemainder = 0.0f;
    } else {
        // A lying rate must not exhaust memory; the rest is still carried.
        n = std::min(n, static_cast<float>(kMaxBirthsPerUpdate));
        mEmitRemainder = c - n;
        if (!std::isfinite(mEmitRemainder))
            mEmitRemainder = 0.0f;
    }
    const int births = static_cast<int>(std::max(n, 0.0f));
    for (int i = 0; i < births; ++i)
        Birth();
}

void Particles::Birth()
{
    const ParticleParams& q = mParams;
    Particle* p = ParticlePool::Global().Take();
    p->prev = mLastParticle;
    p->next = nullptr;
    (mLastParticle ? mLastParticle->next : mFirstParticle) = p;
    mLastParticle = p;
    ++mLiveCount;

    p->age = 0.0f;
    p->lifetime = RandomFloat(q.lifetimeMin, q.lifetimeMax);
    // A particle without a life would get infinite rates; it never shows.
    if (!(p->lifetime > 0.0f)) {
        Kill(p);
        return;
    }

    const float t = RandomFloat(0.0f, 1.0f);
    p->x = mLastPosition[0] + (mPosition[0] - mLastPosition[0]) * t;
    p->y = mLastPosition[1] + (mPosition[1] - mLastPosition[1]) * t;
    p->x += RandomFloat(-2.0f, 2.0f);
    p->y += RandomFloat(-2.0f, 2.0f);

    float angle = static_cast<float>(RandomFloat(0.0f, q.spread) + (q.direction - kQuarterTurn) - q.spread * 0.5);
    if (q.relative) {
        angle = static_cast<float>(
            angle + std::atan2(mLastPosition[0] - mPosition[0], mLastPosition[1] - mPosition[1]) + kQuarterTurn);
    }
    const float speed = RandomFloat(q.speedMin, q.speedMax);
    p->velocityX = std::cos(angle) * speed;
    p->velocityY = std::sin(angle) * speed;

    p->gravity = RandomFloat(q.gravityMin, q.gravityMax);
    p->radialAccel = RandomFloat(q.radialMin, q.radialMax);
    p->tangentialAccel = RandomFloat(q.tangentialMin, q.tangentialMax);

    Ramp(q.sizeStart, q.sizeEnd, q.sizeVariation, p->lifetime, p->size, p->sizeRate);
    Ramp(q.spinStart, q.spinEnd, q.spinVariation, p->lifetime, p->spin, p->spinRate);
    Ramp(q.colorStart[0], q.colorEnd[0], q.colorVariation, p->lifetime, p->red, p->redRate);
    Ramp(q.colorStart[1], q.colorEnd[1], q.colorVariation, p->lifetime, p->green, p->greenRate);
    Ramp(q.colorStart[2], q.colorEnd[2], q.colorVariation, p->lifetime, p->blue, p->blueRate);
    Ramp(q.colorStart[3], q.colorEnd[3], q.alphaVariation, p->lifetime, p->alpha, p->alphaRate);
}

int Particles::CelOf(const Particle& p) const
{
    const int cels = std::max(mImage->mNumRows, 1) * std::max(mImage->mNumCols, 1);
    if (!mAnimated)
        return mParams.fixedCel >= 0 && mParams.fixedCel < cels ? mParams.fixedCel : -1;
    const AnimInfo& anim = *mImage->mAnimInfo;
    double cel;
    if (anim.type == AnimInfo::Once && p.age >= 0.0f) {
        cel = std::trunc(static_cast<float>(cels) * p.age / p.lifetime);
    } else {
        // A delay of 0 in the sheet's record would divide by zero.
        const int delay = anim.frameDelay > 0 ? anim.frameDelay : 1;
        cel = std::fmod(std::trunc(p.age * 100.0f / static_cast<float>(delay)), static_cast<double>(cels));
    }
    return cel >= 0.0 && cel < cels ? static_cast<int>(cel) : -1;
}

void Particles::Draw(Graphics* g)
{
    if (mImage == nullptr || g == nullptr || g->mDestImage == nullptr)
        return;
    const int savedMode = g->mDrawMode;
    g->SetColorizeImages(true);
    g->SetDrawMode(mParams.blendMode == 6 ? DRAWMODE_NORMAL : DRAWMODE_ADDITIVE);

    const int cols = std::max(mImage->mNumCols, 1);
    const int celWidth = mImage->CelWidth();
    const int celHeight = mImage->CelHeight();
    for (const Particle* p = mFirstParticle; p != nullptr; p = p->next) {
        const int cel = CelOf(*p);
        if (cel < 0 || !Finite(*p))
            continue;
        const Rect src(cel % cols * celWidth, cel / cols * celHeight, celWidth, celHeight);
        g->SetColor(Color(Channel(p->red), Channel(p->green), Channel(p->blue), Channel(p->alpha)));
        Matrix3x3 m;
        m.LoadIdentity();
        m.Rotate(p->spin);
        m.Scale(p->size, p->size);
        m.Translate(p->x, p->y);
        g->mDestImage->BltMatrix(mImage, g->mTransX, g->mTransY, m, g->mClipRect, g->mColor, g->mDrawMode, src,
                                 g->mLinearBlend);
    }

    g->SetDrawMode(savedMode);
    g->SetColorizeImages(false);
}

} // namespace Tandry
