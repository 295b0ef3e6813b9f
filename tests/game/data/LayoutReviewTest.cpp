// The layouts, looked at: every layout folder's pictures are drawn at their
// places, lowest layer first, into one picture per screen under the build
// tree ("layout_review/<folder>.png") for a person to review. The test also
// holds each layout to what the screens need of it: every entry has its
// picture and lies on the 1024 x 768 screen.
#include "tests/game/data/GameFolder.h"

#include "resources/images/ImageLib.h"
#include "resources/images/ImageWriters.h"
#include "resources/ini/IniFile.h"

#include <sstream>

namespace {

using namespace GameDataTest;

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

struct Placed {
    std::string name;
    int x = 0;
    int y = 0;
    int layer = 0;
};

// The entries of a "layers.ini" in drawing order: by layer, file order within one.
std::vector<Placed> ReadLayout(const std::string& folder)
{
    Tandry::IniFile ini;
    ini.Load(folder + "/layers.ini");
    std::vector<std::string> names;
    ini.GetKeyNames("", names);
    std::vector<Placed> entries;
    for (const std::string& name : names) {
        Placed placed;
        placed.name = name;
        std::istringstream values(ini.GetString(name, "", ""));
        int ignored = 0;
        values >> placed.x >> placed.y >> ignored >> ignored >> ignored >> ignored >> placed.layer;
        EXPECT_FALSE(values.fail()) << folder << ": " << name << " needs seven numbers";
        entries.push_back(placed);
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Placed& a, const Placed& b) { return a.layer < b.layer; });
    return entries;
}

// Straight-alpha "over" of one pixel.
uint32_t Over(uint32_t under, uint32_t over)
{
    const uint32_t a = over >> 24;
    uint32_t out = 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t top = (over >> shift) & 0xFF;
        const uint32_t bottom = (under >> shift) & 0xFF;
        out |= ((top * a + bottom * (255 - a) + 127) / 255) << shift;
    }
    return out;
}

TEST(LayoutReview, EveryLayoutIsDrawnForReviewWithAllItsPicturesOnTheScreen)
{
    GameFolderCopy folder;
    const fs::path review = MOORGLEN_LAYOUT_REVIEW;
    fs::create_directories(review);
    for (const std::string& layout : FilesBelow(folder.Path() / "data/gui")) {
        if (fs::path(layout).filename() != "layers.ini")
            continue;
        const std::string name = fs::path(layout).parent_path().generic_string();
        const std::string base = "data/gui/" + name + "/";
        SCOPED_TRACE(name);
        const std::vector<Placed> entries = ReadLayout(base);
        EXPECT_FALSE(entries.empty());

        // A grey checkerboard shows what no picture covers.
        std::vector<uint32_t> screen(kWidth * kHeight);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                screen[y * kWidth + x] = ((x / 16 + y / 16) % 2) != 0 ? 0xFF505050u : 0xFF606060u;
        for (const Placed& entry : entries) {
            std::unique_ptr<Tandry::ImageLib::Image> picture = Tandry::ImageLib::GetImage(base + entry.name, true);
            ASSERT_NE(picture, nullptr) << entry.name;
            EXPECT_TRUE(entry.x >= 0 && entry.y >= 0 && entry.x + picture->width <= kWidth &&
                        entry.y + picture->height <= kHeight)
                << entry.name << " at " << entry.x << "," << entry.y << " leaves the screen";
            for (int y = 0; y < picture->height; ++y) {
                for (int x = 0; x < picture->width; ++x) {
                    const int sx = entry.x + x;
                    const int sy = entry.y + y;
                    if (sx < 0 || sy < 0 || sx >= kWidth || sy >= kHeight)
                        continue;
                    uint32_t& pixel = screen[sy * kWidth + sx];
                    pixel = Over(pixel, picture->bits[y * picture->width + x]);
                }
            }
        }
        EXPECT_TRUE(Tandry::SavePngToFile((review / (name + ".png")).string(), {kWidth, kHeight, screen.data()}));
    }
}

} // namespace
