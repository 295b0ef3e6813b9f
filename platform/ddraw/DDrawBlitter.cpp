#include "platform/ddraw/DDrawBlitter.h"

#include <cstring>
#include <vector>

namespace Platform {
namespace {

// Pixels are read and written through memcpy, so any pitch is safe; compilers
// turn it into plain loads and stores.
template <uint32_t Bytes>
struct PixelIO {
    static uint32_t Load(const uint8_t* p)
    {
        if constexpr (Bytes == 1) {
            return *p;
        } else if constexpr (Bytes == 2) {
            uint16_t v;
            std::memcpy(&v, p, 2);
            return v;
        } else if constexpr (Bytes == 3) {
            return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16;
        } else {
            uint32_t v;
            std::memcpy(&v, p, 4);
            return v;
        }
    }
    static void Store(uint8_t* p, uint32_t v)
    {
        if constexpr (Bytes == 1) {
            *p = static_cast<uint8_t>(v);
        } else if constexpr (Bytes == 2) {
            const uint16_t w = static_cast<uint16_t>(v);
            std::memcpy(p, &w, 2);
        } else if constexpr (Bytes == 3) {
            p[0] = static_cast<uint8_t>(v);
            p[1] = static_cast<uint8_t>(v >> 8);
            p[2] = static_cast<uint8_t>(v >> 16);
        } else {
            std::memcpy(p, &v, 4);
        }
    }
};

struct NoKey {
    static constexpr bool kKeyed = false;
    bool Skips(uint32_t) const { return false; }
};

struct SourceKey {
    static constexpr bool kKeyed = true;
    uint32_t low;
    uint32_t span; // high - low; low <= high is checked by the caller
    bool Skips(uint32_t v) const { return v - low <= span; }
};

int64_t Width(const RECT& r) { return int64_t{r.right} - r.left; }
int64_t Height(const RECT& r) { return int64_t{r.bottom} - r.top; }

template <uint32_t Bytes, class Key>
void BlitRows(const BlitJob& job, const Key& key)
{
    using IO = PixelIO<Bytes>;
    const int64_t sourceWidth = Width(job.sourceRect);
    const int64_t sourceHeight = Height(job.sourceRect);
    const int64_t destWidth = Width(job.destRect);
    const int64_t destHeight = Height(job.destRect);
    const int64_t count = Width(job.written);
    const bool stretchX = sourceWidth != destWidth;

    // Source byte offset of each written column, once per blit.
    std::vector<uint32_t> columns;
    if (stretchX) {
        columns.resize(static_cast<size_t>(count));
        for (int64_t i = 0; i < count; ++i) {
            const int64_t x = job.written.left + i - job.destRect.left;
            columns[static_cast<size_t>(i)] =
                static_cast<uint32_t>((job.sourceRect.left + x * sourceWidth / destWidth) * Bytes);
        }
    }

    for (int64_t y = job.written.top; y < job.written.bottom; ++y) {
        const int64_t sourceY = job.sourceRect.top + (y - job.destRect.top) * sourceHeight / destHeight;
        const uint8_t* sourceRow = job.source + sourceY * job.sourcePitch;
        uint8_t* destRow = job.dest + y * job.destPitch + int64_t{job.written.left} * Bytes;
        if (!stretchX) {
            const uint8_t* from =
                sourceRow + (job.sourceRect.left + (job.written.left - job.destRect.left)) * int64_t{Bytes};
            if constexpr (!Key::kKeyed) {
                std::memcpy(destRow, from, static_cast<size_t>(count) * Bytes);
            } else {
                for (int64_t i = 0; i < count; ++i) {
                    const uint32_t v = IO::Load(from + i * Bytes);
                    uint8_t* to = destRow + i * Bytes;
                    // Writing the old value back instead of branching lets the loop vectorise.
                    IO::Store(to, key.Skips(v) ? IO::Load(to) : v);
                }
            }
        } else {
            for (int64_t i = 0; i < count; ++i) {
                const uint32_t v = IO::Load(sourceRow + columns[static_cast<size_t>(i)]);
                uint8_t* to = destRow + i * Bytes;
                if constexpr (Key::kKeyed)
                    IO::Store(to, key.Skips(v) ? IO::Load(to) : v);
                else
                    IO::Store(to, v);
            }
        }
    }
}

template <uint32_t Bytes>
void BlitSize(const BlitJob& job)
{
    if (job.keyed)
        BlitRows<Bytes>(job, SourceKey{job.keyLow, job.keyHigh - job.keyLow});
    else
        BlitRows<Bytes>(job, NoKey{});
}

void Dispatch(const BlitJob& job)
{
    switch (job.bytesPerPixel) {
    case 1: BlitSize<1>(job); break;
    case 2: BlitSize<2>(job); break;
    case 3: BlitSize<3>(job); break;
    case 4: BlitSize<4>(job); break;
    default: break;
    }
}

} // namespace

void RunBlit(const BlitJob& job)
{
    if (job.written.right <= job.written.left || job.written.bottom <= job.written.top)
        return;
    BlitJob run = job;
    // A key whose low value lies above its high value matches nothing.
    if (run.keyed && run.keyLow > run.keyHigh)
        run.keyed = false;
    if (job.source != job.dest) {
        Dispatch(run);
        return;
    }
    // One surface: take the source rectangle out first, so overlapping parts read the old pixels.
    const size_t rowBytes = static_cast<size_t>(Width(job.sourceRect)) * job.bytesPerPixel;
    const size_t rows = static_cast<size_t>(Height(job.sourceRect));
    std::vector<uint8_t> copy(rowBytes * rows);
    for (size_t y = 0; y < rows; ++y) {
        const uint8_t* from = job.source + (int64_t{job.sourceRect.top} + static_cast<int64_t>(y)) * job.sourcePitch +
                              int64_t{job.sourceRect.left} * job.bytesPerPixel;
        std::memcpy(copy.data() + y * rowBytes, from, rowBytes);
    }
    run.source = copy.data();
    run.sourcePitch = static_cast<int32_t>(rowBytes);
    run.sourceRect = RECT{0, 0, job.sourceRect.right - job.sourceRect.left, job.sourceRect.bottom - job.sourceRect.top};
    Dispatch(run);
}

} // namespace Platform
