#include "platform/particlelib/LibraryEmitter.h"

#include <algorithm>
#include <cmath>

namespace Platform {

namespace {

uint32_t SeedOf(const std::string& name)
{
    uint32_t h = 2166136261u;
    for (unsigned char c : name)
        h = (h ^ c) * 16777619u;
    return h != 0 ? h : 1;
}

uint32_t Lerp(uint32_t from, uint32_t to, float t)
{
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const float a = static_cast<float>(from >> shift & 255u);
        const float b = static_cast<float>(to >> shift & 255u);
        const float v = std::clamp(a + (b - a) * t, 0.0f, 255.0f);
        out |= static_cast<uint32_t>(v) << shift;
    }
    return out;
}

// The longest step taken at once; longer ones act as this.
constexpr double kMaxStepMs = 3600000.0;
// Births of one type in one update at most.
constexpr double kMaxBirthsPerUpdate = 10000.0;

} // namespace

LibraryEmitter::LibraryEmitter(std::shared_ptr<const PtcFile> file, const PtcEmitter* definition)
    : mFile(std::move(file)), mDefinition(definition), mLoopMode(definition->loopMode),
      mRandom(SeedOf(definition->name)), mTypes(definition->types.size())
{
}

std::unique_ptr<LibraryEmitter> LibraryEmitter::Duplicate() const
{
    auto copy = std::make_unique<LibraryEmitter>(mFile, mDefinition);
    copy->mLoopMode = mLoopMode;
    for (size_t i = 0; i < mTypes.size(); ++i)
        copy->mTypes[i].textureId = mTypes[i].textureId;
    return copy;
}

void LibraryEmitter::Rewind()
{
    mTime = 0.0;
    mInterrupt = false;
    mRandom = SeedOf(mDefinition->name);
    for (TypeState& t : mTypes) {
        t.particles.clear();
        t.carry = 0.0;
    }
}

void LibraryEmitter::SetLoopMode(int mode)
{
    if (mode == 0 || mode == 2)
        mLoopMode = mode;
}

float LibraryEmitter::Random01()
{
    mRandom ^= mRandom << 13;
    mRandom ^= mRandom >> 17;
    mRandom ^= mRandom << 5;
    return static_cast<float>(mRandom >> 8) / 16777216.0f;
}

void LibraryEmitter::Birth(size_t type)
{
    const PtcParticleType& def = mDefinition->types[type];
    Live p{};
    p.life = Between(def.lifetimeMin, def.lifetimeMax);
    const float heading = (def.direction + (Random01() - 0.5f) * def.spread) * 3.14159265f / 180.0f;
    const float speed = Between(def.speedMin, def.speedMax);
    p.vx = std::cos(heading) * speed;
    p.vy = std::sin(heading) * speed;
    p.spin = Between(def.spinMin, def.spinMax);
    mTypes[type].particles.push_back(p);
}

bool LibraryEmitter::Update(double ms)
{
    if (!(ms > 0.0))
        ms = 0.0;
    ms = std::min(ms, kMaxStepMs);
    const auto seconds = static_cast<float>(ms / 1000.0);
    const int duration = mDefinition->durationMs;

    for (TypeState& t : mTypes) {
        std::erase_if(t.particles, [&](Live& p) {
            p.age += static_cast<float>(ms);
            if (p.age >= p.life)
                return true;
            p.x += p.vx * seconds;
            p.y += p.vy * seconds;
            p.angle = std::fmod(p.angle + p.spin * seconds, 360.0f);
            return false;
        });
    }

    // The part of this step that lies inside the emission time.
    double emitting = 0.0;
    if (!mInterrupt) {
        if (duration < 0 || mLoopMode == 2)
            emitting = ms;
        else if (mTime < duration)
            emitting = std::min(ms, duration - mTime);
    }
    for (size_t i = 0; i < mTypes.size(); ++i) {
        TypeState& t = mTypes[i];
        t.carry += mDefinition->types[i].rate * emitting / 1000.0;
        const double births = std::min(std::floor(t.carry), kMaxBirthsPerUpdate);
        t.carry = std::min(t.carry - births, 1.0);
        for (int n = 0; n < static_cast<int>(births) && t.particles.size() < kMaxParticlesPerType; ++n)
            Birth(i);
    }

    mTime += ms;
    if (mLoopMode == 2 && duration > 0)
        mTime = std::fmod(mTime, static_cast<double>(duration));

    if (mLoopMode == 2 && !mInterrupt)
        return true;
    const bool emissionOver = mInterrupt || (duration >= 0 && mTime >= duration);
    bool anyParticle = false;
    for (const TypeState& t : mTypes)
        anyParticle = anyParticle || !t.particles.empty();
    return !(emissionOver && !anyParticle);
}

MagicParticle LibraryEmitter::View(size_t type, size_t index) const
{
    const PtcParticleType& def = mDefinition->types[type];
    const Live& p = mTypes[type].particles[index];
    const float t = p.age / p.life;
    MagicParticle view;
    view.x = p.x;
    view.y = p.y;
    view.size = def.sizeStart + (def.sizeEnd - def.sizeStart) * t;
    view.angle = p.angle;
    view.color = Lerp(def.colorStart, def.colorEnd, t);
    const int frames = static_cast<int>(def.textures.size());
    view.frame = std::min(frames - 1, static_cast<int>(t * static_cast<float>(frames)));
    return view;
}

void LibraryEmitter::Move(size_t type, size_t index, float dx, float dy)
{
    Live& p = mTypes[type].particles[index];
    p.x += dx;
    p.y += dy;
}

} // namespace Platform
