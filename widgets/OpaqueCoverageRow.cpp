#include "widgets/OpaqueCoverageRow.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace Tandry {

namespace {

static_assert(std::endian::native == std::endian::little, "the run scans read coverage words little-endian");

constexpr uint64_t kOnes = 0x0101010101010101u;
constexpr uint64_t kHighBits = 0x8080808080808080u;

uint64_t LoadWord(const uint8_t* bytes)
{
    uint64_t word = 0;
    std::memcpy(&word, bytes, sizeof(word));
    return word;
}

// The high bit of every zero byte of the word, and perhaps of bytes above the
// first zero byte (never below it): the lowest bit set marks the first one.
// Words are read little-endian, so the lowest bits are the first byte.
uint64_t ZeroBytes(uint64_t word)
{
    return (word - kOnes) & ~word & kHighBits;
}

// The length of the run of fully covered bytes at the start of coverage[0..count).
int FullRun(const uint8_t* coverage, int count)
{
    int n = 0;
    for (; n + 8 <= count; n += 8) {
        const uint64_t other = ~LoadWord(coverage + n);
        if (other != 0)
            return n + std::countr_zero(other) / 8;
    }
    while (n < count && coverage[n] == 255)
        ++n;
    return n;
}

} // namespace

// Glyph edges make short runs, and a byte at a time every edge would cost a
// mispredicted branch, so the row is read eight bytes at a time; only words
// with a fully covered byte go a byte at a time.
void SplitOpaqueCoverageRow(const uint8_t* coverage, int count, int row, int x0, std::vector<Span>& covered,
                    std::vector<Span>& filled)
{
    int start = -1; // the open blended stretch, -1 when none
    int zeros = -1; // where the transparent pixels at its end begin, -1 when none
    const auto close = [&](int end) {
        if (zeros >= 0 && end - zeros >= kLongCoverageGap)
            end = zeros;
        if (start >= 0 && end > start)
            covered.push_back({row, x0 + start, end - start});
        start = -1;
        zeros = -1;
    };
    const auto transparent = [&](int i) {
        if (start < 0)
            start = i;
        if (zeros < 0)
            zeros = i;
    };
    const auto partial = [&](int i) {
        if (zeros >= 0 && i - zeros >= kLongCoverageGap)
            close(zeros);
        if (start < 0)
            start = i;
        zeros = -1;
    };
    // One pixel, or a whole fully covered run; gives where to go on.
    const auto pixel = [&](int i) {
        const uint8_t c = coverage[i];
        if (c == 0)
            transparent(i);
        else if (c != 255)
            partial(i);
        else {
            close(i);
            const int end = i + FullRun(coverage + i, count - i);
            filled.push_back({row, x0 + i, end - i});
            return end;
        }
        return i + 1;
    };

    int x = 0;
    while (x + 8 <= count) {
        const uint64_t word = LoadWord(coverage + x);
        if (word == 0) {
            transparent(x);
            x += 8;
            continue;
        }
        if (const uint64_t full = ZeroBytes(~word); full != 0) {
            const int stop = x + std::countr_zero(full) / 8;
            while (x < stop)
                x = pixel(x);
            x = pixel(x);
            continue;
        }
        // Transparent runs between the word's first and last covered bytes
        // are shorter than a word, so only its ends matter.
        const int first = x + std::countr_zero(word) / 8;
        const int last = x + (63 - std::countl_zero(word)) / 8;
        if (first > x)
            transparent(x);
        partial(first);
        if (last < x + 7)
            zeros = last + 1;
        x += 8;
    }
    while (x < count)
        x = pixel(x);
    close(count);
}


} // namespace Tandry
