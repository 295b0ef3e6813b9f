// The split of an opaque colour's coverage row against the rule worked a
// pixel at a time: the runs of 255 are filled; every maximal stretch of other
// pixels is blended, less its transparent runs of kLongCoverageGap or more.
#include "widgets/OpaqueCoverageRow.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "graphics/context/RecordingImage.h"

namespace Tandry {
namespace {

void ModelSplit(const std::vector<uint8_t>& row, int y, int x0, std::vector<Span>& covered,
                std::vector<Span>& filled)
{
    const int count = static_cast<int>(row.size());
    int i = 0;
    while (i < count) {
        int end = i;
        const bool full = row[static_cast<size_t>(i)] == 255;
        while (end < count && (row[static_cast<size_t>(end)] == 255) == full)
            ++end;
        if (full) {
            filled.push_back({y, x0 + i, end - i});
        } else {
            // Cut the long transparent runs out of [i, end).
            int start = i;
            int j = i;
            while (j < end) {
                if (row[static_cast<size_t>(j)] != 0) {
                    ++j;
                    continue;
                }
                int zeroEnd = j;
                while (zeroEnd < end && row[static_cast<size_t>(zeroEnd)] == 0)
                    ++zeroEnd;
                if (zeroEnd - j >= kLongCoverageGap) {
                    if (j > start)
                        covered.push_back({y, x0 + start, j - start});
                    start = zeroEnd;
                }
                j = zeroEnd;
            }
            if (end > start)
                covered.push_back({y, x0 + start, end - start});
        }
        i = end;
    }
}

void ExpectLikeModel(const std::vector<uint8_t>& row)
{
    std::vector<Span> covered;
    std::vector<Span> filled;
    SplitOpaqueCoverageRow(row.data(), static_cast<int>(row.size()), 7, 30, covered, filled);
    std::vector<Span> modelCovered;
    std::vector<Span> modelFilled;
    ModelSplit(row, 7, 30, modelCovered, modelFilled);
    std::string text;
    for (const uint8_t c : row)
        text += c == 0 ? '.' : c == 255 ? '#' : 'o';
    EXPECT_EQ(covered, modelCovered) << text;
    EXPECT_EQ(filled, modelFilled) << text;
}

TEST(OpaqueCoverageRow, HandPickedRows)
{
    const std::vector<std::vector<uint8_t>> rows = {
        {},
        {0},
        {255},
        {7},
        {0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {0, 255, 255, 255, 255, 255, 255, 255, 255, 0},
        // A gap of exactly the limit and one pixel short of it.
        {9, 0, 0, 0, 0, 0, 0, 0, 0, 9, 0, 0, 0, 0, 0, 0, 0, 9},
        // A long gap that starts inside one word and ends in the next.
        {1, 2, 3, 4, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 6, 7, 8, 9, 10, 11},
        // Fully covered runs longer than a word, and at a row's ends.
        std::vector<uint8_t>(20, 255),
        {255, 255, 3, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 0, 0, 255},
    };
    for (const auto& row : rows)
        ExpectLikeModel(row);
}

TEST(OpaqueCoverageRow, RandomRowsOfShortAndLongRuns)
{
    std::mt19937 random(29);
    for (int n = 0; n < 3000; ++n) {
        std::vector<uint8_t> row;
        const int length = static_cast<int>(random() % 70);
        while (static_cast<int>(row.size()) < length) {
            const int kind = static_cast<int>(random() % 3);
            const int run = 1 + static_cast<int>(random() % (random() % 2 ? 4 : 20));
            for (int i = 0; i < run && static_cast<int>(row.size()) < length; ++i)
                row.push_back(kind == 0 ? 0 : kind == 1 ? 255 : static_cast<uint8_t>(1 + random() % 254));
        }
        ExpectLikeModel(row);
        if (HasFailure())
            return;
    }
}

} // namespace
} // namespace Tandry
