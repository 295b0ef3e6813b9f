// An effect played by the vendor particle library: one library emitter
// behind the ParticlesCommon interface. The library simulates; this class
// places the effect and draws the library's particles itself through the
// drawing context, from atlases cached in the Particles2_TextureManager.
// CreateParticles makes one when the own engine has no file of the name.
#pragma once

#include <string>

#include "particles/ParticlesCommon.h"

namespace Tandry {

class Image;

class Particles2 : public ParticlesCommon {
public:
    // The emitter of that name in the first effects file; an empty emitter
    // when no file is open or the name is not in it.
    explicit Particles2(const std::string& name);
    // A duplicate of other's emitter, not started, at the origin.
    explicit Particles2(const Particles2& other);
    ~Particles2() override;

    void StartAt(const float position[2]) override;
    void Restart() override;
    void StopEmitting() override;
    void SetPosition(const float position[2], bool moveParticles) override;
    void SeekTime(float seconds) override;
    void SetLooping(bool looping) override;
    void Draw(Graphics* g) override;
    void Update(float dt) override;
    bool IsFinished() override { return mFinished; }
    bool IsOwnEngine() override { return false; }

    int Emitter() const { return mEmitter; }

    // The frame table holds this many texture records; a type's further
    // textures are not copied, and particles showing them are not drawn.
    static constexpr int kFrameTableSize = 50;

private:
    // The texture-manager entry of the locked type, made when missing; 0
    // when the type cannot be drawn.
    int TextureEntry(int copied);

    int mEmitter = 0;
    float mOrigin[2] = {0.0f, 0.0f};
    bool mFinished = false;
    bool mStarted = false;
};

} // namespace Tandry
