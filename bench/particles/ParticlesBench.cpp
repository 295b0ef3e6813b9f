// Speed of the own particle engine beside plain references measured in the
// same run:
// - Update of 10,000 live particles against a structure-of-arrays loop doing
//   the same arithmetic. Goal: at most 1.5 x.
// - Taking and giving back 10,000 pool records against new and delete of the
//   same record. Goal: at most 1.0 x.
// - Draw of 2,000 particles of a 32 x 32 cel into a 1024 x 768 picture against
//   the same 2,000 matrix blits made directly. Goal: at most 1.1 x.
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include <benchmark/benchmark.h>

#include "graphics/context/Graphics.h"
#include "graphics/image/MemoryImage.h"
#include "graphics/types/Matrix3x3.h"
#include "particles/Particle.h"
#include "particles/ParticlePool.h"
#include "particles/ParticleParams.h"
#include "particles/Particles.h"
#include "util/RandomGenerator.h"

namespace {

using namespace Tandry;

// Moving, turning, growing particles that outlive any run.
ParticleParams LongLived(int count)
{
    ParticleParams p;
    p.rate = count * 100;
    p.duration = -1.0f;
    p.lifetimeMin = p.lifetimeMax = 1e9f;
    p.spread = 6.28f;
    p.speedMin = 0.0f;
    p.speedMax = 0.01f;
    p.gravityMin = p.gravityMax = 0.001f;
    p.radialMin = p.radialMax = 0.001f;
    p.tangentialMin = p.tangentialMax = 0.001f;
    p.sizeStart = 1.0f;
    p.sizeEnd = 1.0f;
    p.spinEnd = 1.0f;
    for (int i = 0; i < 4; ++i)
        p.colorStart[i] = p.colorEnd[i] = 1.0f;
    p.blendMode = 6;
    return p;
}

std::unique_ptr<Particles> Filled(int count, Image* sheet, float x, float y)
{
    CrtSeed(7);
    auto effect = std::make_unique<Particles>(LongLived(count), sheet);
    const float at[2] = {x, y};
    effect->StartAt(at);
    effect->Update(0.01f);
    effect->StopEmitting();
    return effect;
}

void BM_ParticlesUpdate(benchmark::State& state)
{
    auto effect = Filled(10000, nullptr, 512, 384);
    for (auto _ : state)
        effect->Update(0.01f);
    state.SetItemsProcessed(state.iterations() * effect->LiveCount());
}
BENCHMARK(BM_ParticlesUpdate);

// The same per-particle arithmetic over plain arrays.
struct Arrays {
    std::vector<float> x, y, vx, vy, gravity, radial, tangential, spin, spinRate, size, sizeRate, r, g, b, a, rr, gr,
        br, ar, age, life;
};

void BM_ReferenceArraysUpdate(benchmark::State& state)
{
    const auto effect = Filled(10000, nullptr, 512, 384);
    Arrays s;
    for (const Particle* p = effect->FirstParticle(); p != nullptr; p = p->next) {
        s.x.push_back(p->x), s.y.push_back(p->y), s.vx.push_back(p->velocityX), s.vy.push_back(p->velocityY);
        s.gravity.push_back(p->gravity), s.radial.push_back(p->radialAccel);
        s.tangential.push_back(p->tangentialAccel), s.spin.push_back(p->spin), s.spinRate.push_back(p->spinRate);
        s.size.push_back(p->size), s.sizeRate.push_back(p->sizeRate), s.r.push_back(p->red), s.g.push_back(p->green);
        s.b.push_back(p->blue), s.a.push_back(p->alpha), s.rr.push_back(p->redRate), s.gr.push_back(p->greenRate);
        s.br.push_back(p->blueRate), s.ar.push_back(p->alphaRate), s.age.push_back(p->age), s.life.push_back(p->lifetime);
    }
    const float px = 512.0f, py = 384.0f, dt = 0.01f;
    const size_t n = s.x.size();
    for (auto _ : state) {
        for (size_t i = 0; i < n; ++i) {
            s.age[i] += dt;
            if (s.age[i] >= s.life[i])
                continue;
            const float dx = s.x[i] - px, dy = s.y[i] - py;
            const double dist = std::sqrt(static_cast<double>(dx * dx + dy * dy));
            float nx = 0.0f, ny = 0.0f;
            if (dist != 0.0) {
                nx = static_cast<float>(dx / dist);
                ny = static_cast<float>(dy / dist);
            }
            s.vx[i] += (s.radial[i] * nx - s.tangential[i] * ny) * dt;
            s.vy[i] += (s.radial[i] * ny + s.tangential[i] * nx) * dt;
            s.vy[i] += s.gravity[i] * dt;
            s.x[i] += s.vx[i] * 0.5f;
            s.y[i] += s.vy[i] * 0.5f;
            s.spin[i] += s.spinRate[i] * dt;
            s.size[i] += s.sizeRate[i] * dt;
            s.r[i] += s.rr[i] * dt;
            s.g[i] += s.gr[i] * dt;
            s.b[i] += s.br[i] * dt;
            s.a[i] += s.ar[i] * dt;
            benchmark::DoNotOptimize(std::isfinite(s.x[i]) && std::isfinite(s.y[i]) && std::isfinite(s.size[i]) &&
                                     std::isfinite(s.spin[i]));
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(n));
}
BENCHMARK(BM_ReferenceArraysUpdate);

void BM_PoolTakeGive(benchmark::State& state)
{
    ParticlePool pool;
    std::vector<Particle*> taken(10000);
    for (auto _ : state) {
        for (Particle*& p : taken)
            p = pool.Take();
        benchmark::DoNotOptimize(taken.data());
        for (Particle* p : taken)
            pool.Give(p);
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_PoolTakeGive);

void BM_ReferenceNewDelete(benchmark::State& state)
{
    std::vector<Particle*> taken(10000);
    for (auto _ : state) {
        for (Particle*& p : taken)
            p = new Particle;
        benchmark::DoNotOptimize(taken.data());
        for (Particle* p : taken)
            delete p;
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_ReferenceNewDelete);

struct DrawScene {
    DrawScene()
    {
        std::vector<uint32_t> pixels(32 * 32);
        for (int i = 0; i < 32 * 32; ++i)
            pixels[i] = 0x80000000u | static_cast<uint32_t>(i * 0x10203);
        sheet.SetBits(pixels.data(), 32, 32, true);
        canvas.Create(1024, 768);
        canvas.GetBits();
        effect = Filled(2000, &sheet, 512, 384);
        // Spread the particles over the picture.
        int i = 0;
        for (Particle* p = const_cast<Particle*>(effect->FirstParticle()); p != nullptr; p = p->next, ++i) {
            p->x = static_cast<float>(i * 37 % 1000 + 12);
            p->y = static_cast<float>(i * 53 % 740 + 14);
            p->spin = static_cast<float>(i % 7) * 0.3f;
        }
    }
    MemoryImage sheet{nullptr};
    MemoryImage canvas{nullptr};
    std::unique_ptr<Particles> effect;
};

void BM_ParticlesDraw(benchmark::State& state)
{
    DrawScene scene;
    Graphics g(&scene.canvas);
    for (auto _ : state)
        scene.effect->Draw(&g);
    state.SetItemsProcessed(state.iterations() * scene.effect->LiveCount());
}
BENCHMARK(BM_ParticlesDraw)->Unit(benchmark::kMillisecond);

void BM_ReferenceDirectBltMatrix(benchmark::State& state)
{
    DrawScene scene;
    std::vector<Matrix3x3> matrices;
    for (const Particle* p = scene.effect->FirstParticle(); p != nullptr; p = p->next) {
        Matrix3x3 m;
        m.LoadIdentity();
        m.Rotate(p->spin);
        m.Scale(p->size, p->size);
        m.Translate(p->x, p->y);
        matrices.push_back(m);
    }
    const Rect clip(0, 0, 1024, 768);
    const Rect src(0, 0, 32, 32);
    for (auto _ : state) {
        for (const Matrix3x3& m : matrices)
            scene.canvas.BltMatrix(&scene.sheet, 0.0f, 0.0f, m, clip, Color::White, 0, src, false);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(matrices.size()));
}
BENCHMARK(BM_ReferenceDirectBltMatrix)->Unit(benchmark::kMillisecond);

} // namespace
