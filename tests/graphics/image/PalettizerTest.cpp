#include "graphics/image/Palettizer.h"

#include <map>
#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace {

using Tandry::Palettizer;

// The same numbering written the slow way: a map from colour to the index it
// got when it first appeared.
bool ReferencePalettize(const std::vector<uint32_t>& pixels, std::vector<uint32_t>& table,
                        std::vector<uint8_t>& indices)
{
    std::map<uint32_t, int> seen;
    table.assign(256, 0xFF000000);
    indices.clear();
    for (uint32_t p : pixels) {
        auto it = seen.find(p);
        if (it == seen.end()) {
            if (seen.size() == 256)
                return false;
            const int index = static_cast<int>(seen.size());
            it = seen.emplace(p, index).first;
            table[index] = p;
        }
        indices.push_back(static_cast<uint8_t>(it->second));
    }
    return true;
}

TEST(Palettizer, MatchesTheReferenceOnRandomPictures)
{
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        // From a handful of colours to more than a palette holds, in runs and
        // scattered, with values spread over the whole word so that insertion
        // happens at the front, middle and back of the sorted table.
        const int distinct = 1 + static_cast<int>(random() % 300);
        std::vector<uint32_t> colours(distinct);
        for (uint32_t& c : colours)
            c = static_cast<uint32_t>(random());
        std::vector<uint32_t> pixels(1 + random() % 2000);
        for (size_t i = 0; i < pixels.size(); ++i)
            pixels[i] = (i > 0 && random() % 3 == 0) ? pixels[i - 1] : colours[random() % colours.size()];

        std::vector<uint32_t> expectedTable;
        std::vector<uint8_t> expectedIndices;
        const bool expectedOk = ReferencePalettize(pixels, expectedTable, expectedIndices);
        std::vector<uint32_t> table(256);
        std::vector<uint8_t> indices(pixels.size());
        ASSERT_EQ(Palettizer::Run(pixels.data(), pixels.size(), table.data(), indices.data()), expectedOk);
        if (expectedOk) {
            ASSERT_EQ(table, expectedTable) << "round " << round;
            ASSERT_EQ(indices, expectedIndices) << "round " << round;
        }
    }
}

// Multiples of the inverse of the lookup's hash factor all land in one hash
// slot; whatever the lookup does with them, the numbering must not change.
TEST(Palettizer, CollidingColoursAreNumberedLikeAnyOthers)
{
    std::vector<uint32_t> pixels;
    for (uint32_t i = 0; i < 256; ++i)
        pixels.push_back(((i * 37) % 256) * 0x0E8B2F51u);
    for (uint32_t i = 0; i < 512; ++i)
        pixels.push_back(pixels[(i * 101) % 256]);
    std::vector<uint32_t> expectedTable, table(256);
    std::vector<uint8_t> expectedIndices, indices(pixels.size());
    ASSERT_TRUE(ReferencePalettize(pixels, expectedTable, expectedIndices));
    ASSERT_TRUE(Palettizer::Run(pixels.data(), pixels.size(), table.data(), indices.data()));
    EXPECT_EQ(table, expectedTable);
    EXPECT_EQ(indices, expectedIndices);
    pixels.push_back(257 * 0x0E8B2F51u);
    EXPECT_FALSE(Palettizer::Run(pixels.data(), pixels.size(), table.data(), indices.data()));
}

TEST(Palettizer, ExtremeColourValuesAreFound)
{
    const std::vector<uint32_t> pixels = {0x80000000, 0xFFFFFFFF, 0x00000000, 0x7FFFFFFF, 0xFFFFFFFF, 0x00000000};
    std::vector<uint32_t> table(256);
    std::vector<uint8_t> indices(pixels.size());
    ASSERT_TRUE(Palettizer::Run(pixels.data(), pixels.size(), table.data(), indices.data()));
    EXPECT_EQ(indices, (std::vector<uint8_t>{0, 1, 2, 3, 1, 2}));
    EXPECT_EQ(table[3], 0x7FFFFFFFu);
    EXPECT_EQ(table[4], 0xFF000000u);
}

TEST(Palettizer, FailsOnlyAtThe257thColour)
{
    std::vector<uint32_t> pixels;
    for (uint32_t i = 0; i < 256; ++i)
        pixels.push_back(0xFFFFFFFFu - i * 0x01010101u);
    for (uint32_t i = 0; i < 256; ++i)
        pixels.push_back(pixels[255 - i]); // known colours again
    std::vector<uint32_t> table(256);
    std::vector<uint8_t> indices(pixels.size() + 1);
    EXPECT_TRUE(Palettizer::Run(pixels.data(), pixels.size(), table.data(), indices.data()));
    EXPECT_EQ(indices[256], 255);
    pixels.push_back(0x12345678);
    EXPECT_FALSE(Palettizer::Run(pixels.data(), pixels.size(), table.data(), indices.data()));
}

} // namespace
