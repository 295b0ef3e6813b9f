#include <gtest/gtest.h>

#include <string>

#include "platform/particlelib/PtcParser.h"

namespace {

using namespace Platform;

bool Parse(const std::string& text, PtcFile& file, std::string& error)
{
    return ParsePtcFile(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()), file, error);
}

const char* const kGood = R"(PTC1
# textures first
texture 1 disc 8 FFFF0000
texture 2 soft 16 8000FF00
texture 3 ring 4 FF0000FF
texture 4 square 2 FFFFFFFF

emitter spark
  position 10.5 -3
  duration endless
  loop 2
  interpolation 1 25
  type
    textures 1 2
    intensive 1
    rate 250
    lifetime 100 900
    speed -5 40.25
    direction 90 30
    size 4 1
    spin -90 90
    color FFFFFFFF 00FF0000
  end
  type
    textures 3
  end
end
folder hints
  folder deeper
    emitter glow
      type
        textures 4
      end
    end
  end
  emitter spark
    duration 0
    type
      textures 1
    end
  end
end
)";

TEST(PtcParserTest, ReadsTexturesFoldersAndEmittersInFileOrder)
{
    PtcFile file;
    std::string error;
    ASSERT_TRUE(Parse(kGood, file, error)) << error;

    ASSERT_EQ(file.textures.size(), 4u);
    EXPECT_EQ(file.textures[1].id, 2u);
    EXPECT_EQ(file.textures[1].shape, PtcShape::SoftDisc);
    EXPECT_EQ(file.textures[1].size, 16);
    EXPECT_EQ(file.textures[1].argb, 0x8000FF00u);
    EXPECT_EQ(file.textures[3].shape, PtcShape::Square);

    ASSERT_EQ(file.emitters.size(), 3u);
    EXPECT_EQ(file.emitters[0].name, "spark");
    EXPECT_EQ(file.emitters[1].name, "glow");
    EXPECT_EQ(file.emitters[2].name, "spark");
    EXPECT_EQ(file.emitters[2].durationMs, 0);

    const PtcEmitter& e = file.emitters[0];
    EXPECT_EQ(e.x, 10.5f);
    EXPECT_EQ(e.y, -3.0f);
    EXPECT_EQ(e.durationMs, -1);
    EXPECT_EQ(e.loopMode, 2);
    EXPECT_TRUE(e.interpolation);
    EXPECT_EQ(e.updateMs, 25);
    ASSERT_EQ(e.types.size(), 2u);
    const PtcParticleType& t = e.types[0];
    EXPECT_EQ(t.textures, (std::vector<uint32_t>{1, 2}));
    EXPECT_TRUE(t.intensive);
    EXPECT_EQ(t.rate, 250.0f);
    EXPECT_EQ(t.lifetimeMin, 100.0f);
    EXPECT_EQ(t.lifetimeMax, 900.0f);
    EXPECT_EQ(t.speedMin, -5.0f);
    EXPECT_EQ(t.speedMax, 40.25f);
    EXPECT_EQ(t.direction, 90.0f);
    EXPECT_EQ(t.spread, 30.0f);
    EXPECT_EQ(t.sizeStart, 4.0f);
    EXPECT_EQ(t.sizeEnd, 1.0f);
    EXPECT_EQ(t.spinMin, -90.0f);
    EXPECT_EQ(t.colorEnd, 0x00FF0000u);
    EXPECT_FALSE(e.types[1].intensive);

    // Root: spark, folder hints; hints: folder deeper, spark; deeper: glow.
    ASSERT_EQ(file.folders.size(), 3u);
    const auto& root = file.folders[0].entries;
    ASSERT_EQ(root.size(), 2u);
    EXPECT_FALSE(root[0].isFolder);
    EXPECT_TRUE(root[1].isFolder);
    const PtcFolder& hints = file.folders[root[1].index];
    EXPECT_EQ(hints.name, "hints");
    ASSERT_EQ(hints.entries.size(), 2u);
    EXPECT_EQ(file.folders[hints.entries[0].index].name, "deeper");
    EXPECT_EQ(file.emitters[hints.entries[1].index].durationMs, 0);
}

TEST(PtcParserTest, WindowsLineEndsAndDefaults)
{
    PtcFile file;
    std::string error;
    ASSERT_TRUE(Parse("PTC1\r\ntexture 9 disc 1 FF000000\r\nemitter a\r\ntype\r\ntextures 9\r\nend\r\nend", file,
                      error))
        << error;
    const PtcEmitter& e = file.emitters.at(0);
    EXPECT_EQ(e.durationMs, 1000);
    EXPECT_EQ(e.loopMode, 0);
    EXPECT_FALSE(e.interpolation);
    EXPECT_EQ(e.updateMs, 10);
}

std::string Repeat(const std::string& s, int n)
{
    std::string out;
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}

TEST(PtcParserTest, MalformedFilesAreRefusedWithTheLine)
{
    const std::string head = "PTC1\ntexture 1 disc 4 FFFFFFFF\n";
    const std::string type = "type\ntextures 1\nend\n";
    const struct {
        std::string text;
        std::string line;
    } cases[] = {
        {"", "line 0"},
        {"PTC2\n", "line 1"},
        {"PTC1 extra\n", "line 1"},
        {"\nPTC1\n", "line 1"},
        {head + "bogus 1\n", "line 3"},
        {head + "texture 2 disc 0 FFFFFFFF\n", "line 3"},
        {head + "texture 2 disc 257 FFFFFFFF\n", "line 3"},
        {head + "texture 2 star 4 FFFFFFFF\n", "line 3"},
        {head + "texture 1 disc 4 FFFFFFFF\n", "line 3"},
        {head + "texture 2 disc 4 FFFFFFF\n", "line 3"},
        {head + "texture 2 disc 4 FFFFFFFFF\n", "line 3"},
        {head + "texture 0 disc 4 FFFFFFFF\n", "line 3"},
        {head + "end\n", "line 3"},
        {head + "emitter a\n" + type, "line 6"},
        {head + "emitter a\nend\n", "line 4"},
        {head + "emitter a\ntype\nend\nend\n", "line 5"},
        {head + "emitter a\ntype\ntextures 7\nend\nend\n", "line 7"},
        {head + "emitter a\ntype\ntextures 1\nlifetime 500 100\nend\nend\n", "line 6"},
        {head + "emitter a\ntype\ntextures 1\nrate nan\nend\nend\n", "line 6"},
        {head + "emitter a\ntype\ntextures 1\nrate inf\nend\nend\n", "line 6"},
        {head + "emitter a\ntype\ntextures 1\nrate 10001\nend\nend\n", "line 6"},
        {head + "emitter a\ntype\ntextures 1\nsize 1\nend\nend\n", "line 6"},
        {head + "emitter a\nduration -5\n" + type + "end\n", "line 4"},
        {head + "emitter a\nloop 3\n" + type + "end\n", "line 4"},
        {head + "emitter a b\n" + type + "end\n", "line 3"},
        {head + "emitter " + std::string(64, 'n') + "\n" + type + "end\n", "line 3"},
        {head + "emitter a\n" + Repeat(type, 17) + "end\n", "line 52"},
        {head + Repeat("emitter a\n" + type + "end\n", 257), "line 1283"},
        {head + Repeat("folder f\n", 17), "line 19"},
        {head + "emitter a\ntype\ntextures" + Repeat(" 1", 101) + "\nend\nend\n", "line 5"},
        {head + "folder f\ntype\n", "line 4"},
        {head + "emitter a\ntype\ntexture 2 disc 4 FFFFFFFF\n", "line 5"},
    };
    for (const auto& c : cases) {
        PtcFile file;
        file.emitters.resize(1);
        std::string error;
        EXPECT_FALSE(Parse(c.text, file, error)) << c.text.substr(0, 80);
        EXPECT_EQ(error.rfind(c.line + ":", 0), 0u) << error << " | wanted " << c.line;
        EXPECT_EQ(file.emitters.size(), 1u) << "the output is left alone";
    }
}

TEST(PtcParserTest, LimitsThemselvesAreAccepted)
{
    const std::string head = "PTC1\ntexture 1 disc 256 FFFFFFFF\n";
    const std::string type = "type\ntextures" + Repeat(" 1", 100) + "\nend\n";
    PtcFile file;
    std::string error;
    EXPECT_TRUE(Parse(head + "emitter a\n" + Repeat(type, 16) + "end\n" + Repeat("folder f\n", 16) +
                          Repeat("end\n", 16),
                      file, error))
        << error;
}

TEST(PtcParserTest, UnresolvedTextureNamesItsEmitter)
{
    PtcFile file;
    std::string error;
    EXPECT_FALSE(Parse("PTC1\nemitter smoke\ntype\ntextures 5\nend\nend\n", file, error));
    EXPECT_NE(error.find("smoke"), std::string::npos) << error;
    EXPECT_NE(error.find("texture 5"), std::string::npos) << error;
}

} // namespace
