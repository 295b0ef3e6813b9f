// The DirectDraw stand-in's blits on a 1024 x 768 frame, each beside its outside
// reference in the same run: the plain copy against memcpy of the same bytes
// (goal: at least 0.8 of its bandwidth), the keyed copy against SDL_BlitSurface
// with a colour key, and the stretch to 1440 x 1080 against SDL_BlitScaled
// (goal for both: at least as fast).
#include "platform/ddraw/DDrawConstants.h"
#include "platform/ddraw/DDrawEntryPoints.h"
#include "platform/ddraw/DDrawPixelFormat.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

using namespace Platform;

constexpr uint32_t kWidth = 1024;
constexpr uint32_t kHeight = 768;
constexpr uint32_t kStretchWidth = 1440;
constexpr uint32_t kStretchHeight = 1080;

DDrawFormat FormatOf(int bits) { return bits == 16 ? DDrawFormat::R5G6B5 : DDrawFormat::X8R8G8B8; }
uint32_t KeyOf(int bits) { return bits == 16 ? 0xF81Fu : 0x00FF00FFu; }

// A picture with about a quarter of its pixels set to the key, the way sprites look.
uint32_t PixelAt(std::mt19937& random, int bits)
{
    const uint32_t v = random();
    if ((v & 3) == 0)
        return KeyOf(bits);
    return bits == 16 ? (v >> 8) & 0xFFFF : (v >> 8) & 0xFFFFFF;
}

class Frames {
public:
    Frames(int bits, uint32_t destWidth, uint32_t destHeight)
    {
        void* out = nullptr;
        DirectDrawCreateEx(nullptr, &out, IID_IDirectDraw7, nullptr);
        mDD = static_cast<IDirectDraw7*>(out);
        mSource = Make(kWidth, kHeight, bits);
        mDest = Make(destWidth, destHeight, bits);
        DDSURFACEDESC2 desc;
        desc.dwSize = sizeof(desc);
        mSource->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr);
        std::mt19937 random(5);
        for (uint32_t y = 0; y < kHeight; ++y)
            for (uint32_t x = 0; x < kWidth; ++x) {
                const uint32_t v = PixelAt(random, bits);
                std::memcpy(static_cast<uint8_t*>(desc.lpSurface) + y * desc.lPitch + x * (bits / 8), &v, bits / 8);
            }
        mSource->Unlock(nullptr);
        DDCOLORKEY key{KeyOf(bits), KeyOf(bits)};
        mSource->SetColorKey(DDCKEY_SRCBLT, &key);
    }
    ~Frames()
    {
        mSource->Release();
        mDest->Release();
        mDD->Release();
    }
    Frames(const Frames&) = delete;
    Frames& operator=(const Frames&) = delete;

    HRESULT Blt(uint32_t flags) { return mDest->Blt(nullptr, mSource, nullptr, flags, nullptr); }

private:
    IDirectDrawSurface7* Make(uint32_t width, uint32_t height, int bits)
    {
        DDSURFACEDESC2 desc;
        desc.dwSize = sizeof(desc);
        desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
        desc.dwWidth = width;
        desc.dwHeight = height;
        desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
        desc.ddpfPixelFormat = MakePixelFormat(FormatOf(bits));
        IDirectDrawSurface7* surface = nullptr;
        mDD->CreateSurface(&desc, &surface, nullptr);
        return surface;
    }

    IDirectDraw7* mDD = nullptr;
    IDirectDrawSurface7* mSource = nullptr;
    IDirectDrawSurface7* mDest = nullptr;
};

// SDL surfaces holding the same picture.
class SdlFrames {
public:
    SdlFrames(int bits, uint32_t destWidth, uint32_t destHeight)
    {
        const Uint32 format = bits == 16 ? SDL_PIXELFORMAT_RGB565 : SDL_PIXELFORMAT_XRGB8888;
        mSource = SDL_CreateRGBSurfaceWithFormat(0, kWidth, kHeight, bits, format);
        mDest = SDL_CreateRGBSurfaceWithFormat(0, static_cast<int>(destWidth), static_cast<int>(destHeight), bits,
                                               format);
        std::mt19937 random(5);
        for (uint32_t y = 0; y < kHeight; ++y)
            for (uint32_t x = 0; x < kWidth; ++x) {
                const uint32_t v = PixelAt(random, bits);
                std::memcpy(static_cast<uint8_t*>(mSource->pixels) + y * mSource->pitch + x * (bits / 8), &v,
                            bits / 8);
            }
    }
    ~SdlFrames()
    {
        SDL_FreeSurface(mSource);
        SDL_FreeSurface(mDest);
    }
    SdlFrames(const SdlFrames&) = delete;
    SdlFrames& operator=(const SdlFrames&) = delete;

    SDL_Surface* mSource = nullptr;
    SDL_Surface* mDest = nullptr;
};

void SetBytes(benchmark::State& state, uint32_t width, uint32_t height, int bits)
{
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * width * height * (bits / 8));
}

void BM_DDrawBltCopy(benchmark::State& state)
{
    const int bits = static_cast<int>(state.range(0));
    Frames frames(bits, kWidth, kHeight);
    for (auto _ : state)
        benchmark::DoNotOptimize(frames.Blt(DDBLT_WAIT));
    SetBytes(state, kWidth, kHeight, bits);
}

void BM_MemcpyFrame(benchmark::State& state)
{
    const int bits = static_cast<int>(state.range(0));
    const size_t bytes = size_t{kWidth} * kHeight * (bits / 8);
    std::vector<uint8_t> from(bytes, 1), to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::ClobberMemory();
    }
    SetBytes(state, kWidth, kHeight, bits);
}

void BM_DDrawBltKeyed(benchmark::State& state)
{
    const int bits = static_cast<int>(state.range(0));
    Frames frames(bits, kWidth, kHeight);
    for (auto _ : state)
        benchmark::DoNotOptimize(frames.Blt(DDBLT_WAIT | DDBLT_KEYSRC));
    SetBytes(state, kWidth, kHeight, bits);
}

void BM_SdlBlitKeyed(benchmark::State& state)
{
    const int bits = static_cast<int>(state.range(0));
    SdlFrames frames(bits, kWidth, kHeight);
    SDL_SetColorKey(frames.mSource, SDL_TRUE, KeyOf(bits));
    for (auto _ : state)
        benchmark::DoNotOptimize(SDL_BlitSurface(frames.mSource, nullptr, frames.mDest, nullptr));
    SetBytes(state, kWidth, kHeight, bits);
}

void BM_DDrawBltStretch(benchmark::State& state)
{
    const int bits = static_cast<int>(state.range(0));
    Frames frames(bits, kStretchWidth, kStretchHeight);
    for (auto _ : state)
        benchmark::DoNotOptimize(frames.Blt(DDBLT_WAIT));
    SetBytes(state, kStretchWidth, kStretchHeight, bits);
}

void BM_SdlBlitScaled(benchmark::State& state)
{
    const int bits = static_cast<int>(state.range(0));
    SdlFrames frames(bits, kStretchWidth, kStretchHeight);
    SDL_Rect whole{0, 0, static_cast<int>(kStretchWidth), static_cast<int>(kStretchHeight)};
    for (auto _ : state)
        benchmark::DoNotOptimize(SDL_BlitScaled(frames.mSource, nullptr, frames.mDest, &whole));
    SetBytes(state, kStretchWidth, kStretchHeight, bits);
}

BENCHMARK(BM_DDrawBltCopy)->Arg(32)->Arg(16);
BENCHMARK(BM_MemcpyFrame)->Arg(32)->Arg(16);
BENCHMARK(BM_DDrawBltKeyed)->Arg(32)->Arg(16);
BENCHMARK(BM_SdlBlitKeyed)->Arg(32)->Arg(16);
BENCHMARK(BM_DDrawBltStretch)->Arg(32)->Arg(16);
BENCHMARK(BM_SdlBlitScaled)->Arg(32)->Arg(16);

} // namespace
