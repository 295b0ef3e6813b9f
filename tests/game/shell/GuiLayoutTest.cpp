// Layouts read from "layers.ini" files written into a scratch game folder;
// pictures come from a fake widget host that makes solid pictures by name
// and counts those it hands out and those deleted. Mirrored drawing is
// checked on the application with its display, as the game draws.
#include "ShellScreenFixture.h"
#include "game/shell/GameBase.h"
#include "game/shell/GameControllerCommon.h"
#include "game/shell/GuiLayout.h"
#include "game/shell/SharedLayouts.h"
#include "game/shell/TakeLayoutImage.h"
#include "graphics/context/Graphics.h"
#include "graphics/display/DDImage.h"
#include "graphics/image/MemoryImage.h"
#include "platform/Platform.h"
#include "platform/fs/ScratchFolder.h"
#include "platform/headless/HeadlessPlatform.h"
#include "resources/images/ImageWriters.h"
#include "widgets/FakeWidgetHost.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using Tandry::GuiLayout;
using Tandry::GuiLayoutEntry;

struct Picture {
    int width;
    int height;
    uint32_t colour;
};

class GuiLayoutTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Platform::InstallHeadlessPlatform();
        host.make = [this](const std::string& path, Tandry::DDImage& image) {
            const auto found = pictures.find(path);
            if (found == pictures.end())
                return false;
            image.Create(found->second.width, found->second.height);
            uint32_t* bits = image.GetBits();
            for (int i = 0; i < found->second.width * found->second.height; ++i)
                bits[i] = found->second.colour;
            // A picture of two columns or more gets a marked first column,
            // so mirroring shows.
            if (found->second.width > 1)
                for (int row = 0; row < found->second.height; ++row)
                    bits[row * found->second.width] = 0xFF0000FFu;
            image.MarkBitsChanged();
            return true;
        };
    }
    void TearDown() override
    {
        Tandry::FreeSharedLayouts();
        Tandry::ResetGameControllerCommon();
        Platform::ResetPlatform();
    }

    void WriteLayout(const std::string& folder, const std::string& text)
    {
        TestSupport::WriteFile(scratch.Path() / folder / "layers.ini", text);
    }
    // Draws the layout into a fresh 64 x 16 transparent image.
    std::unique_ptr<Tandry::MemoryImage> DrawLayout(GuiLayout& layout)
    {
        auto target = std::make_unique<Tandry::MemoryImage>();
        target->Create(64, 16);
        Tandry::Graphics g(target.get());
        layout.Draw(&g);
        return target;
    }
    // Opaque pictures blend onto the target within one step per channel.
    static uint32_t Pixel(Tandry::MemoryImage& image, int x, int y)
    {
        const uint32_t pixel = image.GetBits()[y * image.mWidth + x];
        uint32_t rounded = 0;
        for (int shift = 0; shift < 32; shift += 8) {
            const uint32_t channel = (pixel >> shift) & 0xFFu;
            rounded |= (channel >= 0xFEu ? 0xFFu : channel) << shift;
        }
        return rounded;
    }
    static std::vector<std::string> Names(const GuiLayout& layout)
    {
        std::vector<std::string> names;
        for (const auto& entry : layout.Entries())
            names.push_back(entry->name);
        return names;
    }

    TestSupport::ScratchFolder scratch{TestSupport::ScratchFolder::Enter};
    Tandry::FakeWidgetHost host;
    std::map<std::string, Picture> pictures;
};

TEST_F(GuiLayoutTest, EqualLayersKeepFileOrderAndLowerLayersDrawBelow)
{
    WriteLayout("data/gui/x", "[layers]\n"
                              "top=0 0 0 0 0 0 5\n"
                              "same_a=8 0 0 0 0 0 3\n"
                              "bottom=0 0 0 0 0 0 1\n"
                              "same_b=8 0 0 0 0 0 3\n"
                              "negative=20 0 0 0 0 0 -4\n");
    pictures = {{"data/gui/x/top", {1, 1, 0xFF0000FFu}},
                {"data/gui/x/bottom", {1, 1, 0xFF00FF00u}},
                {"data/gui/x/same_a", {1, 1, 0xFFFF0000u}},
                {"data/gui/x/same_b", {1, 1, 0xFFFFFF00u}},
                {"data/gui/x/negative", {1, 1, 0xFF00FFFFu}}};
    GuiLayout layout("data/gui/x/", true);
    EXPECT_EQ(Names(layout), (std::vector<std::string>{"negative", "bottom", "same_a", "same_b", "top"}));
    const auto drawn = DrawLayout(layout);
    EXPECT_EQ(Pixel(*drawn, 0, 0), 0xFF0000FFu);
    EXPECT_EQ(Pixel(*drawn, 8, 0), 0xFFFFFF00u);
    EXPECT_EQ(Pixel(*drawn, 20, 0), 0xFF00FFFFu);
}

TEST_F(GuiLayoutTest, ValuesAreReadAsBlankSeparatedIntegersWithSaturation)
{
    struct Case {
        const char* value;
        int32_t x, y, layer;
    };
    const Case cases[] = {
        {"431 262 0 0 0 0 12", 431, 262, 12},
        {"5 6 7", 5, 6, 0},                  // fewer than seven: layer 0
        {"", 0, 0, 0},                       // none: x and y 0
        {"-3 +4 0 0 0 0 -9 99", -3, 4, -9},  // signs, and an eighth ignored
        {"99999999999 -99999999999 0 0 0 0 99999999999", INT32_MAX, INT32_MIN, INT32_MAX},
        {"1 2x 3 4 5 6 7", 1, 2, 0},         // stops at the first piece that is not a number
        {"abc 1 2", 0, 0, 0},
        {"7\t8  9 9 9 9   2", 7, 8, 2},
        {"1 2 3 4 5 6 - 8", 1, 2, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        WriteLayout("data/gui/v", std::string("[l]\nentry=") + c.value + "\n");
        GuiLayout layout("data/gui/v/", false);
        GuiLayoutEntry* entry = layout.FindEntry("entry");
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->x, c.x);
        EXPECT_EQ(entry->y, c.y);
        EXPECT_EQ(entry->layer, c.layer);
        EXPECT_EQ(entry->homeX, c.x);
        EXPECT_EQ(entry->homeY, c.y);
        EXPECT_EQ(entry->dx, 0);
        EXPECT_TRUE(entry->drawFlag);
        EXPECT_FALSE(entry->mirrored);
        EXPECT_TRUE(entry->imagePending);
    }
}

TEST_F(GuiLayoutTest, EntriesComeFromTheLastSectionAndLookupIgnoresCase)
{
    WriteLayout("data/gui/x", "[first]\nignored=1 1 0 0 0 0 0\n[second]\nOptions_dn=3 4 0 0 0 0 0\nplay=1 1\n");
    GuiLayout layout("data/gui/x/", false);
    EXPECT_EQ(Names(layout), (std::vector<std::string>{"options_dn", "play"}));
    ASSERT_NE(layout.FindEntry("Options_dn"), nullptr);
    EXPECT_EQ(layout.FindEntry("OPTIONS_DN")->x, 3);
    EXPECT_EQ(layout.FindEntry("ignored"), nullptr);
    EXPECT_EQ(layout.FindEntry("options"), nullptr);
}

TEST_F(GuiLayoutTest, ShowEntriesSelectsByContainedText)
{
    WriteLayout("data/gui/x", "[l]\nbuttons/play_in=0 0\nbuttons/quit_in=0 0\nback=0 0\nmybuttons/x=0 0\n");
    GuiLayout layout("data/gui/x/", false);
    const auto flags = [&] {
        std::vector<bool> got;
        for (const auto& entry : layout.Entries())
            got.push_back(entry->drawFlag);
        return got;
    };
    layout.ShowEntries("Buttons/", false);
    EXPECT_EQ(flags(), (std::vector<bool>{false, false, true, false}));
    layout.ShowEntries("", true);
    EXPECT_EQ(flags(), (std::vector<bool>{true, true, true, true}));
    layout.SetEntryDrawFlag("BACK", false);
    layout.SetEntryDrawFlag("missing", false);
    EXPECT_EQ(flags(), (std::vector<bool>{true, true, false, true}));
}

TEST_F(GuiLayoutTest, PicturesAreTriedOnceAndOwnedBySourceNotClone)
{
    WriteLayout("data/gui/x", "[l]\na=1 2 0 0 0 0 0\nmissing=0 0\nb=3 4 0 0 0 0 1\n");
    pictures = {{"data/gui/x/a", {2, 2, 0xFFFFFFFFu}}, {"data/gui/x/b", {3, 5, 0xFFFFFFFFu}}};
    auto* layout = new GuiLayout("data/gui/x/", false);
    EXPECT_EQ(layout->PendingImageCount(), 3);
    EXPECT_TRUE(host.paths.empty());
    layout->LoadImages();
    EXPECT_EQ(host.paths, (std::vector<std::string>{"data/gui/x/a", "data/gui/x/missing", "data/gui/x/b"}));
    EXPECT_EQ(host.commits, (std::vector<bool>{true, true, true}));
    EXPECT_EQ(layout->PendingImageCount(), 0);
    layout->LoadImages();
    EXPECT_EQ(host.paths.size(), 3u);
    EXPECT_EQ(host.handedOut, 2);

    GuiLayout* clone = layout->Clone();
    EXPECT_TRUE(clone->IsCopy());
    EXPECT_EQ(clone->GetFolder(), "data/gui/x/");
    EXPECT_EQ(clone->FindEntry("b")->image, layout->FindEntry("b")->image);
    clone->FindEntry("a")->drawFlag = false;
    EXPECT_TRUE(layout->FindEntry("a")->drawFlag);
    // The fake host deleted the image it made for the missing picture itself.
    GuiLayout::Delete(clone);
    EXPECT_EQ(*host.deleted, 1);
    EXPECT_EQ(layout->GetEntryRect("b", false).width, 3);
    GuiLayout::Delete(layout);
    EXPECT_EQ(*host.deleted, 3);
}

namespace {

class LayoutBoard : public Tandry::GameBase {
public:
    LayoutBoard() : GameBase(true, "level") {}
    void BuildInterface() override {}
    void OnLevelLeft() override {}
};

} // namespace

TEST_F(GuiLayoutTest, ABoardsLoadingTasksAreItsLayoutsPendingPictures)
{
    LayoutBoard board;
    EXPECT_EQ(board.LoadingTaskCount(), 0);
    board.LoadResources();

    WriteLayout("data/gui/x", "[l]\na=0 0 0 0 0 0 0\nb=0 0 0 0 0 0 0\n");
    pictures = {{"data/gui/x/a", {1, 1, 0xFFFFFFFFu}}, {"data/gui/x/b", {1, 1, 0xFFFFFFFFu}}};
    GuiLayout layout("data/gui/x/", false);
    board.layout = &layout;
    EXPECT_EQ(board.LoadingTaskCount(), 2);
    board.LoadResources();
    EXPECT_EQ(host.paths, (std::vector<std::string>{"data/gui/x/a", "data/gui/x/b"}));
    EXPECT_EQ(board.LoadingTaskCount(), 0);
    board.layout = nullptr;
}

TEST_F(GuiLayoutTest, LoadingTasksTakeOnePendingPictureEach)
{
    WriteLayout("data/gui/x", "[l]\na=0 0 0 0 0 0 2\nb=0 0 0 0 0 0 1\n");
    pictures = {{"data/gui/x/a", {1, 1, 0xFFFFFFFFu}}};
    GuiLayout layout("data/gui/x/", false);
    EXPECT_TRUE(layout.LoadFirstPendingImage());
    EXPECT_EQ(host.paths, (std::vector<std::string>{"data/gui/x/b"}));
    EXPECT_EQ(layout.PendingImageCount(), 1);
    EXPECT_TRUE(layout.LoadFirstPendingImage());
    EXPECT_NE(layout.FindEntry("a")->image, nullptr);
    EXPECT_FALSE(layout.LoadFirstPendingImage());
    EXPECT_EQ(host.paths.size(), 2u);
}

TEST_F(GuiLayoutTest, FolderAndFileNamesAreJoinedAsGiven)
{
    struct Case {
        const char* folder;
        const char* picturePath;
    };
    const Case cases[] = {
        {"data/gui/x/", "data/gui/x/sub/pic"},  // reads "data/gui/x//layers.ini"
        {"data/gui/x", "data/gui/xsub/pic"},
        {"DATA\\GUI\\X\\", "DATA\\GUI\\X\\sub/pic"},
    };
    WriteLayout("data/gui/x", "[l]\nSub/Pic=1 1 0 0 0 0 0\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder);
        host.paths.clear();
        GuiLayout layout(c.folder, true);
        ASSERT_EQ(layout.Entries().size(), 1u);
        EXPECT_EQ(host.paths, std::vector<std::string>{c.picturePath});
    }
}

TEST_F(GuiLayoutTest, AMissingFileGivesAnEmptyLayout)
{
    GuiLayout layout("data/gui/none/", true);
    EXPECT_TRUE(layout.Entries().empty());
    EXPECT_EQ(layout.FindEntry("lamp"), nullptr);
    const Tandry::Rect rect = layout.GetEntryRect("lamp", true);
    EXPECT_EQ(rect.x, 0);
    EXPECT_EQ(rect.y, 0);
    EXPECT_EQ(rect.width, 0);
    EXPECT_EQ(rect.height, 0);
    EXPECT_EQ(Tandry::TakeLayoutImage(&layout, "lamp"), nullptr);
    const auto drawn = DrawLayout(layout);
    EXPECT_EQ(Pixel(*drawn, 0, 0), 0u);
    EXPECT_TRUE(host.paths.empty());
}

TEST_F(GuiLayoutTest, EntryRectsAndTakenPictures)
{
    WriteLayout("data/gui/x", "[l]\npic=5 6\nnopic=7 8\n");
    pictures = {{"data/gui/x/pic", {3, 2, 0xFFFFFFFFu}}};
    GuiLayout layout("data/gui/x/", true);
    const Tandry::Rect pic = layout.GetEntryRect("PIC", false);
    EXPECT_EQ(std::vector<int>({pic.x, pic.y, pic.width, pic.height}), std::vector<int>({5, 6, 3, 2}));
    EXPECT_TRUE(layout.FindEntry("pic")->drawFlag);
    const Tandry::Rect nopic = layout.GetEntryRect("nopic", true);
    EXPECT_EQ(std::vector<int>({nopic.x, nopic.y, nopic.width, nopic.height}), std::vector<int>({7, 8, 0, 0}));
    EXPECT_FALSE(layout.FindEntry("nopic")->drawFlag);
    EXPECT_EQ(Tandry::TakeLayoutImage(&layout, "pic"), layout.FindEntry("pic")->image);
    EXPECT_FALSE(layout.FindEntry("pic")->drawFlag);
    const auto drawn = DrawLayout(layout);
    EXPECT_EQ(Pixel(*drawn, 6, 6), 0u);
}

TEST_F(GuiLayoutTest, OffsetMovesPlaceAndHomeAndDrawEntryMirrorsOrCallsBack)
{
    WriteLayout("data/gui/x", "[l]\npic=5 6\nedge=2147483640 -2147483640\n");
    pictures = {{"data/gui/x/pic", {2, 1, 0xFF00FF00u}}};
    GuiLayout layout("data/gui/x/", true);
    layout.Offset(10, -3);
    GuiLayoutEntry* pic = layout.FindEntry("pic");
    EXPECT_EQ(std::vector<int>({pic->x, pic->y, pic->homeX, pic->homeY}), std::vector<int>({15, 3, 15, 3}));
    GuiLayoutEntry* edge = layout.FindEntry("edge");
    EXPECT_EQ(std::vector<int>({edge->x, edge->y}), std::vector<int>({INT32_MAX, -2147483643}));

    pic->dx = 1;
    pic->dy = 2;
    {
        auto target = std::make_unique<Tandry::MemoryImage>();
        target->Create(64, 16);
        Tandry::Graphics g(target.get());
        pic->drawFlag = false;  // DrawEntry ignores it
        layout.DrawEntry(pic, &g, Tandry::Point(4, 1));
        // Plain: the marked column first, at 15 + 1 + 4 = 20, row 3 + 2 + 1 = 6.
        EXPECT_EQ(Pixel(*target, 20, 6), 0xFF0000FFu);
        EXPECT_EQ(Pixel(*target, 21, 6), 0xFF00FF00u);
        // Mirrored drawing is checked on a surface image below: a memory
        // image has no mirrored blit and stays untouched by one.
        // Nothing without a picture, callback or not.
        int calls = 0;
        edge->drawCallback = [&](Tandry::Graphics*, GuiLayoutEntry*) { ++calls; };
        layout.DrawEntry(edge, &g, Tandry::Point());
        EXPECT_EQ(calls, 0);
    }
    std::vector<GuiLayoutEntry*> called;
    pic->drawFlag = true;
    pic->drawCallback = [&](Tandry::Graphics* g, GuiLayoutEntry* entry) {
        EXPECT_NE(g, nullptr);
        called.push_back(entry);
    };
    const auto drawn = DrawLayout(layout);
    EXPECT_EQ(called, std::vector<GuiLayoutEntry*>{pic});
    EXPECT_EQ(Pixel(*drawn, 20, 5), 0u);
    // A clone keeps the callback and the moved positions.
    GuiLayout* clone = layout.Clone();
    EXPECT_EQ(clone->FindEntry("pic")->x, 15);
    {
        auto target = std::make_unique<Tandry::MemoryImage>();
        target->Create(64, 16);
        Tandry::Graphics g(target.get());
        clone->Draw(&g);
    }
    EXPECT_EQ(called.size(), 2u);
    GuiLayout::Delete(clone);
}

TEST_F(GuiLayoutTest, SharedLayoutsLoadInOrderAndAllFiveAreFreed)
{
    for (const char* folder : {"data/gui/ramka", "data/gui/notebook", "data/gui/ingamemenu", "data/gui/options"})
        WriteLayout(folder, "[l]\npic=0 0\n");
    for (const char* path : {"data/gui/ramka/pic", "data/gui/notebook/pic", "data/gui/ingamemenu/pic",
                             "data/gui/options/pic"})
        pictures[path] = {1, 1, 0xFFFFFFFFu};
    Tandry::LoadSharedLayouts();
    Tandry::GameControllerCommon& controller = Tandry::GetGameControllerCommon();
    EXPECT_EQ(host.paths, (std::vector<std::string>{"data/gui/ramka/pic", "data/gui/notebook/pic",
                                                    "data/gui/ingamemenu/pic", "data/gui/options/pic"}));
    ASSERT_NE(controller.frameLayout, nullptr);
    EXPECT_EQ(controller.frameLayout->GetFolder(), "data/gui/ramka/");
    EXPECT_EQ(controller.notebookLayout->GetFolder(), "data/gui/notebook/");
    EXPECT_EQ(controller.inGameMenuLayout->GetFolder(), "data/gui/ingamemenu/");
    EXPECT_EQ(controller.optionsLayout->GetFolder(), "data/gui/options/");
    EXPECT_EQ(controller.tutorialFrameLayout, nullptr);
    pictures["data/gui/ramka_tutorial/pic"] = {1, 1, 0xFFFFFFFFu};
    WriteLayout("data/gui/ramka_tutorial", "[l]\npic=0 0\n");
    controller.tutorialFrameLayout = new GuiLayout("data/gui/ramka_tutorial/", true);
    EXPECT_EQ(host.handedOut, 5);

    Tandry::FreeSharedLayouts();
    EXPECT_EQ(*host.deleted, 5);
    EXPECT_EQ(controller.frameLayout, nullptr);
    EXPECT_EQ(controller.notebookLayout, nullptr);
    EXPECT_EQ(controller.inGameMenuLayout, nullptr);
    EXPECT_EQ(controller.optionsLayout, nullptr);
    EXPECT_EQ(controller.tutorialFrameLayout, nullptr);
}

// On the application with its display, as the game draws: pictures read
// from PNG files by the application's loader, drawn into a surface image of
// the display.
class GuiLayoutOnScreenTest : public ShellTest::ShellScreenFixture {
protected:
    // An opaque black surface image of the display, 32 x 8.
    std::unique_ptr<Tandry::DDImage> Screen()
    {
        auto screen = std::make_unique<Tandry::DDImage>(app->mDDInterface);
        const std::vector<uint32_t> black(32 * 8, 0xFF000000u);
        screen->SetBits(black.data(), 32, 8, true);
        return screen;
    }
    // The colours of row y from x on, alpha dropped (the surface has none).
    static std::vector<uint32_t> Row(Tandry::DDImage& image, int x, int y, int count)
    {
        std::vector<uint32_t> colours;
        for (int i = 0; i < count; ++i)
            colours.push_back(image.GetPixel(x + i, y) & 0xFFFFFFu);
        return colours;
    }
};

TEST_F(GuiLayoutOnScreenTest, MirroredEntriesDrawRightToLeft)
{
    // Three columns: red, green, blue.
    const uint32_t columns[] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu};
    TestSupport::WriteFile(ProgramFolder() + "/data/gui/m/layers.ini", "[l]\npic=5 2\n");
    ASSERT_TRUE(Tandry::SavePngToFile(ProgramFolder() + "/data/gui/m/pic.png", {3, 2, columns}));
    GuiLayout layout("data/gui/m/", true);
    GuiLayoutEntry* pic = layout.FindEntry("pic");
    ASSERT_NE(pic, nullptr);
    ASSERT_NE(pic->image, nullptr);
    pic->dx = 1;
    pic->dy = 1;

    struct Case {
        bool mirrored;
        bool throughDraw;  // the layout's Draw, else DrawEntry with offset (4, 2)
        int x, y;
        std::vector<uint32_t> row;
    };
    const Case cases[] = {
        {false, false, 10, 5, {0xFF0000u, 0x00FF00u, 0x0000FFu}},
        {true, false, 10, 5, {0x0000FFu, 0x00FF00u, 0xFF0000u}},
        {false, true, 6, 3, {0xFF0000u, 0x00FF00u, 0x0000FFu}},
        {true, true, 6, 3, {0x0000FFu, 0x00FF00u, 0xFF0000u}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mirrored " << c.mirrored << ", through Draw " << c.throughDraw);
        pic->mirrored = c.mirrored;
        const auto screen = Screen();
        {
            Tandry::Graphics g(screen.get());
            if (c.throughDraw)
                layout.Draw(&g);
            else
                layout.DrawEntry(pic, &g, Tandry::Point(4, 2));
        }
        for (int y = c.y; y < c.y + 2; ++y)
            EXPECT_EQ(Row(*screen, c.x, y, 3), c.row) << "row " << y;
        // Nothing beside the picture.
        EXPECT_EQ(Row(*screen, c.x - 1, c.y, 1), std::vector<uint32_t>{0u});
        EXPECT_EQ(Row(*screen, c.x + 3, c.y, 1), std::vector<uint32_t>{0u});
        EXPECT_EQ(Row(*screen, c.x, c.y - 1, 3), std::vector<uint32_t>(3, 0u));
    }
}

} // namespace
