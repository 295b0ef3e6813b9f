#include "platform/j2k/J2kCodec.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using namespace Platform;

// The formula tools/MakeJ2kFixtures.cpp wrote the fixtures' samples with.
uint32_t FixtureSample(int x, int y, int component, int precision)
{
    uint32_t v = static_cast<uint32_t>(x * 37 + y * 101 + component * 59 + (x * y) % 17) * 2654435761u;
    return (v >> 8) & ((1u << precision) - 1);
}

std::vector<uint8_t> Fixture(const std::string& name)
{
    std::ifstream in(std::string(MOORGLEN_TEST_DATA) + "/images/" + name, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A file in memory behind the codec's stream record, counting the calls of
// the entry the codec must never use.
struct MemoryFile {
    std::vector<uint8_t> bytes;
    size_t at = 0;
    int unusedCalls = 0;

    static size_t Read(void* buffer, size_t size, void* self)
    {
        auto* file = static_cast<MemoryFile*>(self);
        size_t n = std::min(size, file->bytes.size() - file->at);
        std::copy_n(file->bytes.begin() + static_cast<long>(file->at), n, static_cast<uint8_t*>(buffer));
        file->at += n;
        return n;
    }
    static int Seek(void* self, uint64_t offset)
    {
        auto* file = static_cast<MemoryFile*>(self);
        if (offset > file->bytes.size())
            return -1;
        file->at = static_cast<size_t>(offset);
        return 0;
    }
    static void Unused(void* self) { ++static_cast<MemoryFile*>(self)->unusedCalls; }

    J2kImage* Open() { return J2kOpenCustom({&Read, &Seek, &Unused}, this, bytes.size()); }
};

// Decodes the whole file the way the image loader does; empty on failure.
std::vector<uint32_t> DecodeAll(MemoryFile& file, int& width, int& height)
{
    J2kImage* image = file.Open();
    if (image == nullptr)
        return {};
    std::vector<uint32_t> pixels;
    J2kInfo info;
    if (J2kGetInfo(image, info) && J2kGetResolutionDimensions(image, 0, width, height)) {
        pixels.assign(static_cast<size_t>(width) * height, 0);
        if (!J2kDecode(image, pixels.data(), width, height, "bpp=4,rl=0"))
            pixels.clear();
    }
    J2kClose(image);
    return pixels;
}

TEST(J2kCodec, LosslessFixturesDecodeToTheirExactSamples)
{
    struct Case {
        const char* file;
        int components;
        int precision;
    };
    const Case cases[] = {
        {"rgb.j2k", 3, 8},   {"rgb.jp2", 3, 8},   {"grey.j2k", 1, 8},     {"grey.jp2", 1, 8},
        {"rgb12.j2k", 3, 12}, {"rgb12.jp2", 3, 12}, {"jp2inside.j2k", 3, 8},
    };
    for (const Case& c : cases) {
        MemoryFile file{Fixture(c.file)};
        ASSERT_FALSE(file.bytes.empty()) << c.file;
        int width = 0;
        int height = 0;
        std::vector<uint32_t> pixels = DecodeAll(file, width, height);
        ASSERT_EQ(width, 24) << c.file;
        ASSERT_EQ(height, 16) << c.file;
        ASSERT_EQ(pixels.size(), 24u * 16u) << c.file << ": " << J2kGetLastError();
        int wrong = 0;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                uint32_t expected = 0xFF000000u;
                for (int k = 0; k < 3; ++k) {
                    int component = c.components == 1 ? 0 : k;
                    uint32_t v = FixtureSample(x, y, component, c.precision) >> (c.precision - 8);
                    expected |= v << (16 - 8 * k);
                }
                wrong += pixels[static_cast<size_t>(y) * width + x] != expected;
            }
        }
        EXPECT_EQ(wrong, 0) << c.file;
        EXPECT_EQ(file.unusedCalls, 0);
    }
}

TEST(J2kCodec, InfoReportsTheHeader)
{
    MemoryFile file{Fixture("rgb12.jp2")};
    J2kImage* image = file.Open();
    ASSERT_NE(image, nullptr) << J2kGetLastError();
    J2kInfo info;
    ASSERT_TRUE(J2kGetInfo(image, info));
    EXPECT_EQ(info.width, 24);
    EXPECT_EQ(info.height, 16);
    EXPECT_EQ(info.components, 3);
    EXPECT_EQ(info.precision, 12);
    int width = 0;
    int height = 0;
    EXPECT_FALSE(J2kGetResolutionDimensions(image, 1, width, height));
    J2kClose(image);
}

TEST(J2kCodec, RefusesWhatItCannotDecodeWithAReason)
{
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        bool opens;
    };
    std::vector<uint8_t> rgb = Fixture("rgb.j2k");
    std::vector<Case> cases = {
        {"not JPEG 2000", {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0, 0, 0, 0}, false},
        {"empty", {}, false},
        {"header cut", std::vector<uint8_t>(rgb.begin(), rgb.begin() + 40), false},
        {"codestream cut", std::vector<uint8_t>(rgb.begin(), rgb.begin() + static_cast<long>(rgb.size() * 3 / 4)), true},
        {"subsampled", Fixture("subsampled.j2k"), true},
        {"YCC colour space", Fixture("sycc.jp2"), true},
    };
    for (Case& c : cases) {
        MemoryFile file{c.bytes};
        J2kImage* image = file.Open();
        EXPECT_EQ(image != nullptr, c.opens) << c.name << ": " << J2kGetLastError();
        if (image != nullptr) {
            std::vector<uint32_t> pixels(24 * 16);
            EXPECT_FALSE(J2kDecode(image, pixels.data(), 24, 16, "bpp=4,rl=0")) << c.name;
            J2kClose(image);
        }
        EXPECT_FALSE(J2kGetLastError().empty()) << c.name;
    }
}

TEST(J2kCodec, DecodesOnlyTheOfferedForm)
{
    MemoryFile file{Fixture("grey.j2k")};
    J2kImage* image = file.Open();
    ASSERT_NE(image, nullptr);
    std::vector<uint32_t> pixels(24 * 16);
    EXPECT_FALSE(J2kDecode(image, pixels.data(), 24, 16, "bpp=3,rl=0"));
    EXPECT_NE(J2kGetLastError().find("bpp=3"), std::string::npos);
    EXPECT_FALSE(J2kDecode(image, pixels.data(), 23, 16, "bpp=4,rl=0"));
    EXPECT_TRUE(J2kDecode(image, pixels.data(), 24, 16, "bpp=4,rl=0")) << J2kGetLastError();
    J2kClose(image);
}

} // namespace
