#include "tools/bakefont/BakeFont.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "platform/fonts/TextService.h"
#include "platform/fs/ScratchFolder.h"
#include "widgets/BMFont.h"
#include "widgets/FakeWidgetHost.h"
#include "widgets/SysFont.h"

namespace Tandry {
namespace {

using TestSupport::NamesIn;
using TestSupport::ReadFile;
using TestSupport::ScratchFolder;

struct Outcome {
    int code;
    std::string out;
    std::string err;
};

Outcome Bake(const std::vector<std::string>& args)
{
    std::ostringstream out;
    std::ostringstream err;
    const int code = RunBakeFont(args, out, err);
    return {code, out.str(), err.str()};
}

class BakeFontTest : public testing::Test {
protected:
    BakeFontTest() { Platform::ResetTextService(); }
    ~BakeFontTest() override { Platform::ResetTextService(); }

    ScratchFolder mFolder;
};

TEST_F(BakeFontTest, BakesDejaVuSansThatBMFontLoads)
{
    const Outcome run = Bake({"--range", "20-7E", "DejaVu Sans", "16", mFolder / "dejavu"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(NamesIn(mFolder.Path()), (std::vector<std::string>{"dejavu.fnt", "dejavu_0.png"}));

    const std::string fnt = ReadFile(mFolder.Path() / "dejavu.fnt");
    EXPECT_EQ(fnt.rfind("info face=\"DejaVu Sans\" size=16 bold=0 italic=0 charset=\"\" unicode=1 stretchH=100 "
                        "smooth=1 aa=1 padding=0,0,0,0 spacing=1,1\r\ncommon lineHeight=19 base=15 scaleW=256 "
                        "scaleH=256 pages=1 packed=0\r\npage id=0 file=\"dejavu_0.png\"\r\nchars count=95\r\n",
                        0),
              0u)
        << fnt.substr(0, 300);
    EXPECT_EQ(fnt.find("\r\n\r\n"), std::string::npos);
    EXPECT_EQ(fnt.find('\n'), fnt.find("\r\n") + 1);

    FakeWidgetHost host;
    BMFont font(mFolder / "dejavu.fnt");
    ASSERT_TRUE(font.IsLoaded());
    EXPECT_EQ(font.Data().glyphs.size(), 95u);
    EXPECT_EQ(font.GetAscent(), 15);
    EXPECT_EQ(font.GetHeight(), 16);
    EXPECT_EQ(font.Data().lineHeight, 19);
    ASSERT_EQ(host.handedOut, 1);
    // The page is white; only the alpha carries the glyphs.
    const DDImage* page = font.Pages()[0];
    const BMGlyph& w = font.Data().glyphs.at('W');
    bool covered = false;
    for (int y = w.y; y < w.y + w.height; ++y) {
        for (int x = w.x; x < w.x + w.width; ++x) {
            const uint32_t pixel = const_cast<DDImage*>(page)->GetPixel(x, y);
            EXPECT_EQ(pixel & 0xFFFFFFu, 0xFFFFFFu);
            covered = covered || (pixel >> 24) == 255;
        }
    }
    EXPECT_TRUE(covered);
}

TEST_F(BakeFontTest, WidthsMatchTheSystemFontWithoutKerningPairs)
{
    ASSERT_EQ(Bake({"DejaVu Sans", "16", mFolder / "dejavu"}).code, 0);
    FakeWidgetHost host;
    BMFont baked(mFolder / "dejavu.fnt");
    ASSERT_TRUE(baked.IsLoaded());
    SysFont system("DejaVu Sans", 12, false, false, false);  // 16 pixels
    for (const std::wstring text : {L"Hello, world", L"The quick brown fox", L"0123456789 %&*", L"\xE9t\xE9 \xFC"}) {
        // None of the text's neighbours may be a baked pair.
        for (size_t i = 1; i < text.size(); ++i)
            ASSERT_EQ(baked.Data().glyphs.at(text[i]).kerning.count(text[i - 1]), 0u);
        EXPECT_EQ(baked.StringWidth(text, 1, 1, 0), system.StringWidth(text, 1, 1, 0));
    }
}

TEST_F(BakeFontTest, TwoRunsGiveTheSameBytes)
{
    const std::vector<std::string> options = {"--bold", "--padding", "1,2,3,4", "--spacing", "2,0", "--page",
                                              "64x64"};
    std::vector<std::string> first = options;
    first.insert(first.end(), {"DejaVu Sans", "14", mFolder / "one"});
    std::vector<std::string> second = options;
    second.insert(second.end(), {"DejaVu Sans", "14", mFolder / "two"});
    ASSERT_EQ(Bake(first).code, 0);
    Platform::ResetTextService();
    ASSERT_EQ(Bake(second).code, 0);

    std::string a = ReadFile(mFolder.Path() / "one.fnt");
    std::string b = ReadFile(mFolder.Path() / "two.fnt");
    // The descriptions differ only in the page names.
    for (std::string* text : {&a, &b}) {
        for (const char* name : {"one_", "two_"}) {
            for (size_t at = text->find(name); at != std::string::npos; at = text->find(name))
                text->replace(at, 4, "PAGE");
        }
    }
    EXPECT_EQ(a, b);
    // The small page makes several of them.
    EXPECT_EQ(a.find("pages=1 "), std::string::npos) << a.substr(0, 400);
    int pages = 0;
    for (const std::string& name : NamesIn(mFolder.Path())) {
        if (name.rfind("one_", 0) != 0)
            continue;
        ++pages;
        EXPECT_EQ(ReadFile(mFolder.Path() / name), ReadFile(mFolder.Path() / ("two_" + name.substr(4)))) << name;
    }
    EXPECT_GT(pages, 1);
}

TEST_F(BakeFontTest, BadArgumentsPrintTheUsageAndTouchNothing)
{
    const std::string out = mFolder / "f";
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"DejaVu Sans", "16"},
        {"DejaVu Sans", "0", out},
        {"DejaVu Sans", "1001", out},
        {"DejaVu Sans", "16px", out},
        {"--range", "7E-20", "DejaVu Sans", "16", out},
        {"--range", "20", "DejaVu Sans", "16", out},
        {"--range", "20-110000", "DejaVu Sans", "16", out},
        {"--page", "0x256", "DejaVu Sans", "16", out},
        {"--padding", "1,2,3", "DejaVu Sans", "16", out},
        {"--spacing", "1,x", "DejaVu Sans", "16", out},
        {"--shadow", "DejaVu Sans", "16", out},
        {"DejaVu Sans", "16", out, "extra"},
        {"DejaVu Sans", "16", out, "--range"},
    };
    for (const auto& args : cases) {
        const Outcome run = Bake(args);
        EXPECT_EQ(run.code, 2) << testing::PrintToString(args);
        EXPECT_NE(run.err.find("usage: bakefont"), std::string::npos);
    }
    EXPECT_TRUE(NamesIn(mFolder.Path()).empty());
}

TEST_F(BakeFontTest, AFailureLeavesNoOutput)
{
    // The first glyphs fit, "W" does not.
    const Outcome run = Bake({"--page", "12x40", "--range", "20-7E", "DejaVu Sans", "16", mFolder / "f"});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("does not fit"), std::string::npos);
    EXPECT_TRUE(NamesIn(mFolder.Path()).empty());

    const Outcome none = Bake({"--range", "1-1F", "DejaVu Sans", "16", mFolder / "g"});
    EXPECT_EQ(none.code, 1);
    EXPECT_TRUE(NamesIn(mFolder.Path()).empty());
}

TEST(BakeFontProgram, WithoutArgumentsItPrintsTheUsage)
{
    ScratchFolder scratch;
    const std::string command =
        std::string("'") + MOORGLEN_BAKEFONT + "' >'" + (scratch / "out") + "' 2>'" + (scratch / "err") + "'";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 2);
    EXPECT_NE(ReadFile(scratch.Path() / "err").find("usage: bakefont"), std::string::npos);
}

TEST(BakeFontFixture, TheBuildBakedFontLoads)
{
    FakeWidgetHost host;
    BMFont font(MOORGLEN_BAKED_FONT);
    ASSERT_TRUE(font.IsLoaded());
    EXPECT_EQ(font.Data().glyphs.size(), 3u);
    EXPECT_NE(font.Pages()[0], nullptr);
}

} // namespace
} // namespace Tandry
