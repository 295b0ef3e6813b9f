// Plays the input as an own-engine particle file: the first 128 bytes are the
// parameter block, the rest choose the cel sheet's grid and animation record,
// the emitter's path and the step. Each effect is started, updated 200 times
// and drawn into a 64 x 64 picture after every tenth update. The sanitiser
// build catches any read outside the sheet, any float-to-int conversion out
// of range and any record not given back to the pool.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "graphics/context/Graphics.h"
#include "graphics/image/AnimInfo.h"
#include "graphics/image/MemoryImage.h"
#include "particles/ParticleParams.h"
#include "particles/ParticlePool.h"
#include "particles/Particles.h"
#include "tests/fuzz/FuzzBytes.h"
#include "util/RandomGenerator.h"

namespace {

using namespace Tandry;

// Enough to reach the birth limit and every path, few enough that a draw of
// large particles stays quick.
constexpr int kLiveLimit = 600;

std::unique_ptr<MemoryImage> MakeSheet(FuzzBytes& in)
{
    auto sheet = std::make_unique<MemoryImage>(nullptr);
    const int cols = in.Range(1, 4), rows = in.Range(1, 4);
    const int width = cols * in.Range(1, 6), height = rows * in.Range(1, 6);
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = 0x80000000u | static_cast<uint32_t>(i * 0x10305u);
    sheet->SetBits(pixels.data(), width, height, true);
    sheet->mNumCols = cols;
    sheet->mNumRows = rows;
    if (in.Bool()) {
        sheet->mAnimInfo = std::make_unique<AnimInfo>();
        sheet->mAnimInfo->type = in.Range(0, 4);
        sheet->mAnimInfo->frameDelay = in.Range(-3, 40);
    }
    return sheet;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const size_t blockSize = size < ParticleParams::kSize ? size : ParticleParams::kSize;
    FuzzBytes in(data + blockSize, size - blockSize);
    ParticleParams params;
    if (!ParticleParams::FromBytes(data, blockSize, params))
        return 0;

    CrtSeed(in.Range(0, 65535));
    auto sheet = MakeSheet(in);
    auto canvas = std::make_unique<MemoryImage>(nullptr);
    canvas->Create(64, 64);
    canvas->GetBits();
    {
        Particles effect(params, sheet.get());
        const float start[2] = {in.Float(-10, 74), in.Float(-10, 74)};
        effect.StartAt(start);
        const float dt = in.Bool() ? 0.01f : in.Float(0, 2);
        Graphics g(canvas.get());
        for (int step = 1; step <= 200 && effect.LiveCount() <= kLiveLimit; ++step) {
            if (in.Byte() % 8 == 0) {
                const float to[2] = {in.Float(-40, 100), in.Float(-40, 100)};
                effect.SetPosition(to, in.Bool());
            }
            if (in.Byte() % 64 == 0)
                effect.StopEmitting();
            effect.Update(dt);
            if (step % 10 == 0)
                effect.Draw(&g);
        }
        FuzzCheck(canvas->mBits[64 * 64] == MemoryImage::kBitsMarker);
    }
    FuzzCheck(ParticlePool::Global().UsedCount() == 0);
    return 0;
}
