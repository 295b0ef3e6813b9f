// Shared set-up of the software rasteriser benchmarks: the 1024 x 768
// destinations in the four formats, the textures of each case and content,
// the three cases of a drawn quad (identity 512 x 512, a 256 x 256 texture
// turned 30 degrees and scaled 1.3, and a 2048 x 2048 texture turned and
// scaled down to the same size on screen), and the outside references,
// measured in each repetition of the benchmarks that report a ratio.
#pragma once

#include "graphics/image/MemoryImage.h"
#include "graphics/types/Color.h"
#include "graphics/types/Matrix3x3.h"
#include "graphics/types/Rect.h"
#include "graphics/types/TriVertex.h"

#include <benchmark/benchmark.h>

#include <chrono>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace Tandry::RasterBench {

constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;
constexpr int32_t kFormats[] = {0x8888, 0x888, 0x565, 0x555};

std::string FormatName(int32_t format);

// A destination buffer of one format, filled with an opaque picture.
struct Screen {
    explicit Screen(int32_t format);
    int32_t format;
    int32_t pitch;
    std::vector<uint8_t> bytes;
    void* Origin() { return bytes.data(); }
};

enum class Shot { Identity512, Rotated256, Rotated2048 };
enum class Content { Opaque, Alpha128, Alpha0, Sprite };

std::string ShotName(Shot shot);
std::string ContentName(Content content);

// Where a shot's quad lies: the front end's position, matrix and source.
struct Placement {
    int textureSize;
    float x;
    float y;
    Matrix3x3 matrix;
    Rect source;
};
Placement PlacementOf(Shot shot);

// One texture per size and content, made on first use and kept. With
// alphaFlags an opaque texture reports alpha, so it draws through the alpha
// routines; otherwise its flags are what its texels say.
MemoryImage& TextureOf(int size, Content content, bool alphaFlags);

// The quad's two strip triangles as a triangle list, the same pixels as the
// quad, with distinct opaque vertex colours when asked (0 otherwise).
std::vector<TriVertex> QuadTriangles(const Placement& placement, bool vertexColours);

// Pixels a shot covers on screen.
int64_t CoveredPixels(Shot shot);

// Pixels drawn per second by op: the median of a few timed batches, measured
// anew at every call, so that each repetition compares its own loop with the
// reference timed just before it under the same load. The key names the
// reference for the reader of the call; nothing is remembered under it.
double ReferenceRate(const std::string& key, const std::function<void()>& op, double pixelsPerOp);

// Reports throughput as a rate of `pixels` per iteration.
void ReportRate(benchmark::State& state, double pixels);

// Times the benchmark's loop on the wall clock, for ratios to references.
class LoopTimer {
public:
    LoopTimer();
    // The rate of `pixels` per iteration over the loop, divided by a
    // reference rate, as the counter `name`.
    void ReportRatio(benchmark::State& state, double pixels, const char* name, double referenceRate) const;

private:
    std::chrono::steady_clock::time_point mStart;
};

// Mean absolute difference per channel over the pixels where `mask` is set,
// for a plausibility check of a reference's picture.
double MeanDifference(const Screen& a, const Screen& b, const std::vector<bool>& mask);

// Pixels a shot covers, as drawn by the rasteriser.
const std::vector<bool>& CoverageMask(Shot shot);

// The references. Each returns the operation that draws the shot once.
struct PixmanCase {
    Shot shot;
    int32_t format;
    bool over;        // OVER for the alpha kinds, SRC for the opaque ones
    bool bilinear;
    bool solidMask;   // the colour kinds
    Content content;
    Color mask;
};
std::function<void()> PixmanQuad(const PixmanCase& c, Screen& screen);
std::string PixmanKey(const PixmanCase& c);

struct SdlCase {
    Shot shot;
    int32_t format;
    bool textured;
    bool blend;
    Content content;
    bool alphaFlags;
    std::vector<uint32_t> vertexColours; // per corner: top-left, top-right, bottom-left, bottom-right
};
std::function<void()> SdlQuad(const SdlCase& c, Screen& screen);
std::string SdlKey(const SdlCase& c);

} // namespace Tandry::RasterBench
