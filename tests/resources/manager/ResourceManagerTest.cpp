#include "resources/manager/ResourceManager.h"

#include "graphics/context/FakeFont.h"
#include "resources/manager/FakeResourceHost.h"
#include "resources/pak/PakTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Tandry::AnimInfo;
using Tandry::ResourceManager;

const std::string kManifest = "data\\properties\\resources.xml";
const std::string kSuffixFile = " in File 'data\\properties\\resources.xml'";

// Opens the manager's records to the tests.
class InspectedManager : public ResourceManager {
public:
    using ResourceManager::ResourceManager;

    ImageRes* Image(const std::string& id) { return Find<ImageRes>(mImageMap, id); }
    SoundRes* Sound(const std::string& id) { return Find<SoundRes>(mSoundMap, id); }
    FontRes* FontRecord(const std::string& id) { return Find<FontRes>(mFontMap, id); }
    size_t ImageCount() const { return mImageMap.size(); }
    // The ids of a group's records in their order.
    std::vector<std::string> Group(const std::string& group) const
    {
        std::vector<std::string> ids;
        const auto found = mGroups.find(group);
        if (found != mGroups.end()) {
            for (const BaseRes* record : found->second)
                ids.push_back(record->id);
        }
        return ids;
    }

private:
    template <typename Record>
    static Record* Find(ResourceMap& map, const std::string& id)
    {
        const auto found = map.find(id);
        return found == map.end() ? nullptr : static_cast<Record*>(found->second);
    }
};

class ManifestTest : public TestSupport::PakLayerTest {
protected:
    // The manifest as a pack member, read by a new manager.
    bool Parse(const std::string& text)
    {
        mPak->Reset();
        EXPECT_TRUE(mPak->AddPakMemory("main.pak", TestSupport::MakePack({{kManifest, text}})));
        mManager = std::make_unique<InspectedManager>(&mHost);
        return mManager->ParseResourcesFile(kManifest);
    }
    // One Resources group "g" around the body.
    bool ParseGroup(const std::string& body)
    {
        return Parse("<ResourceManifest>\n<Resources id=\"g\">\n" + body + "\n</Resources>\n</ResourceManifest>\n");
    }
    std::string Error() const { return mManager->GetErrorText(); }

    TestSupport::FakeResourceHost mHost;
    std::unique_ptr<InspectedManager> mManager;
};

TEST_F(ManifestTest, DefaultsPrefixPathsAndIds)
{
    ASSERT_TRUE(ParseGroup("<SetDefaults path=\"data\\\" idprefix=\"IMG_\"/>\n"
                           "<Image path=\"images/a.png\"/>\n"
                           "<Image id=\"named\" path=\"images/b.png\" alphaimage=\"images/b_.png\" "
                           "alphagrid=\"g.png\" variant=\"v\"/>\n"
                           "<Image id=\"screen\" path=\"!program\"/>\n"
                           "<Image id=\"other\" path=\"!programs\"/>"))
        << Error();
    const auto* a = mManager->Image("IMG_a");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->path, "data/images/a.png");
    EXPECT_EQ(a->group, "g");
    EXPECT_EQ(a->kind, ResourceManager::BaseRes::ImageKind);
    EXPECT_FALSE(a->suppliedByCode);
    const auto* named = mManager->Image("IMG_named");
    ASSERT_NE(named, nullptr);
    EXPECT_EQ(named->alphaImage, "data/images/b_.png");
    EXPECT_EQ(named->alphaGridImage, "data/g.png");
    EXPECT_EQ(named->variant, "v");
    EXPECT_EQ(named->attributes.at(L"variant"), L"v");
    const auto* screen = mManager->Image("IMG_screen");
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->path, "!program");
    EXPECT_TRUE(screen->suppliedByCode);
    EXPECT_FALSE(mManager->Image("IMG_other")->suppliedByCode);
    EXPECT_EQ(mManager->Group("g"), (std::vector<std::string>{"IMG_a", "IMG_named", "IMG_screen", "IMG_other"}));
    EXPECT_TRUE(mHost.images.empty());
}

TEST_F(ManifestTest, AnEmptyDefaultPathReturnsToTheDataRoot)
{
    ASSERT_TRUE(ParseGroup("<SetDefaults path=\"gui/\"/><Image id=\"x\" path=\"x.png\"/>"
                           "<SetDefaults path=\"\"/><Image path=\"images/a.png\"/>"
                           "<SetDefaults path=\"/\"/><Image path=\"b.png\"/>"
                           "<SetDefaults idprefix=\"P\\\" path=\"s\\\\\"/><Image path=\"c.png\"/>"));
    EXPECT_EQ(mManager->Image("x")->path, "gui/x.png");
    EXPECT_EQ(mManager->Image("a")->path, "images/a.png");
    EXPECT_EQ(mManager->Image("b")->path, "b.png");
    // One trailing separator goes; a second one stays.
    ASSERT_NE(mManager->Image("Pc"), nullptr);
    EXPECT_EQ(mManager->Image("Pc")->path, "s\\/c.png");
}

TEST_F(ManifestTest, GroupsCollectTheirRecordsAcrossElements)
{
    ASSERT_TRUE(Parse("<ResourceManifest>"
                      "<Resources id=\"A\"><SetDefaults idprefix=\"X_\"/><Image path=\"1.png\"/></Resources>"
                      "<Resources id=\"B\"><Sound path=\"2.ogg\"/></Resources>"
                      "<Resources id=\"A\"><Font path=\"3.txt\"/><Image path=\"4.png\"/></Resources>"
                      "</ResourceManifest>"));
    EXPECT_EQ(mManager->Group("A"), (std::vector<std::string>{"X_1", "X_3", "X_4"}));
    EXPECT_EQ(mManager->Group("B"), (std::vector<std::string>{"X_2"}));
    EXPECT_EQ(mManager->Sound("X_2")->group, "B");
    EXPECT_EQ(mManager->FontRecord("X_3")->group, "A");
}

TEST_F(ManifestTest, ASecondRecordOfAnIdIsRefusedAndDeleted)
{
    EXPECT_FALSE(ParseGroup("<Image id=\"same\" path=\"first.png\"/>\n"
                            "<Sound id=\"same\" path=\"s.ogg\"/>\n"
                            "<Image id=\"same\" path=\"second.png\"/>\n"
                            "<Image id=\"after\" path=\"after.png\"/>"));
    EXPECT_EQ(Error(), "Resource already defined. on Line 5" + kSuffixFile);
    EXPECT_EQ(mManager->Image("same")->path, "first.png");
    EXPECT_NE(mManager->Sound("same"), nullptr);
    EXPECT_EQ(mManager->Image("after"), nullptr);
    EXPECT_EQ(mManager->Group("g"), (std::vector<std::string>{"same", "same"}));
}

TEST_F(ManifestTest, ImageFlagsCountByTheirPresence)
{
    for (bool display3D : {false, true}) {
        SCOPED_TRACE(display3D ? "3D display" : "2D display");
        mHost.display3D = display3D;
        ASSERT_TRUE(ParseGroup("<Image path=\"plain.png\"/>"
                               "<Image path=\"all.png\" nopal=\"false\" a4r4g4b4 a8r8g8b8=\"0\" ddsurface "
                               "minsubdivide noalpha nobits=\"no\"/>"
                               "<Image path=\"n3.png\" nobits3d />"
                               "<Image path=\"n2.png\" nobits2d></Image>"));
        const auto* plain = mManager->Image("plain");
        EXPECT_TRUE(plain->palletize);
        EXPECT_TRUE(plain->autoFindAlpha);
        EXPECT_FALSE(plain->a4r4g4b4 || plain->a8r8g8b8 || plain->ddSurface || plain->minSubdivide || plain->noBits);
        EXPECT_EQ(plain->alphaColor, 0xFFFFFFu);
        EXPECT_EQ(plain->rows, 1);
        EXPECT_EQ(plain->cols, 1);
        EXPECT_EQ(plain->animation.type, AnimInfo::None);
        const auto* all = mManager->Image("all");
        EXPECT_FALSE(all->palletize);
        EXPECT_FALSE(all->autoFindAlpha);
        EXPECT_TRUE(all->a4r4g4b4 && all->a8r8g8b8 && all->ddSurface && all->minSubdivide && all->noBits);
        EXPECT_EQ(mManager->Image("n3")->noBits, display3D);
        EXPECT_EQ(mManager->Image("n2")->noBits, !display3D);
    }
}

// The reader takes the slash of "name/>" into a valueless attribute's name,
// so such a tag stays open; a blank before the slash closes it.
TEST_F(ManifestTest, AFlagRightBeforeTheSlashLeavesTheTagOpen)
{
    EXPECT_FALSE(ParseGroup("<Image path=\"a.png\" nopal/>\n<Image path=\"b.png\"/>"));
    EXPECT_EQ(Error(), "Unexpected element found. on Line 4" + kSuffixFile);
    EXPECT_EQ(mManager->Image("a")->attributes.count(L"nopal/"), 1u);
}

TEST_F(ManifestTest, ReadsNumbersAndSaturatesThem)
{
    struct Case {
        const char* attributes;
        uint32_t alphaColor;
        int rows;
        int cols;
    };
    const std::vector<Case> cases = {
        {"alphacolor=\"ff0000\"", 0xFF0000u, 1, 1},
        {"alphacolor=\"zz\"", 0xFFFFFFu, 1, 1},
        {"alphacolor=\" 0x00ff00\"", 0x00FF00u, 1, 1},
        {"alphacolor=\"12g\"", 0x12u, 1, 1},
        {"alphacolor=\"ffffffffff\"", 0xFFFFFFFFu, 1, 1},
        {"rows=\"3\" cols=\" +7x\"", 0xFFFFFFu, 3, 7},
        // A count below 1 would divide the image by zero or give negative cels.
        {"rows=\"0\" cols=\"-2\"", 0xFFFFFFu, 1, 1},
        {"rows=\"abc\"", 0xFFFFFFu, 1, 1},
        // A count of cels far beyond any picture would only cost memory.
        {"rows=\"99999999999\" cols=\"65536\"", 0xFFFFFFu, 65536, 65536},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.attributes);
        ASSERT_TRUE(ParseGroup(std::string("<Image path=\"a.png\" ") + c.attributes + "/>")) << Error();
        const auto* image = mManager->Image("a");
        EXPECT_EQ(image->alphaColor, c.alphaColor);
        EXPECT_EQ(image->rows, c.rows);
        EXPECT_EQ(image->cols, c.cols);
    }
}

TEST_F(ManifestTest, AnimationAttributesAreReadOnlyWithAnAnimation)
{
    struct Case {
        const char* attributes;
        int type;
        int celCount;
        std::vector<int> frameOrder;
        std::vector<int> frameDelays;
        int frameDelay;
        int totalTime;
    };
    const std::vector<Case> cases = {
        {"cols=\"4\" anim=\"PingPong\"", AnimInfo::PingPong, 6, {0, 1, 2, 3, 2, 1}, {}, 1, 6},
        {"cols=\"3\" anim=\"once\" framedelay=\"10\" begindelay=\"30\"", AnimInfo::Once, 3, {}, {30, 10, 10}, 10, 50},
        {"rows=\"2\" cols=\"1\" anim=\"LOOP\" framedelay=\"5\" enddelay=\"9\"", AnimInfo::Loop, 2, {}, {5, 9}, 5, 14},
        {"cols=\"2\" anim=\"loop\" framemap=\"1,0,1\" perframedelay=\"4, 0 ,6\"",
         AnimInfo::Loop, 3, {1, 0, 1}, {4, 1, 6}, 1, 11},
        {"cols=\"3\" anim=\"none\" framedelay=\"10\" framemap=\"2\"", AnimInfo::None, 1, {}, {}, 1, 0},
        {"cols=\"3\" framedelay=\"10\" framemap=\"2\"", AnimInfo::None, 1, {}, {}, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.attributes);
        ASSERT_TRUE(ParseGroup(std::string("<Image path=\"a.png\" ") + c.attributes + "/>")) << Error();
        const AnimInfo& animation = mManager->Image("a")->animation;
        EXPECT_EQ(animation.type, c.type);
        EXPECT_EQ(animation.celCount, c.celCount);
        EXPECT_EQ(animation.frameOrder, c.frameOrder);
        EXPECT_EQ(animation.frameDelays, c.frameDelays);
        EXPECT_EQ(animation.frameDelay, c.frameDelay);
        EXPECT_EQ(animation.totalTime, c.totalTime);
    }
}

TEST_F(ManifestTest, AnUnknownAnimationFailsAndKeepsTheRecord)
{
    EXPECT_FALSE(ParseGroup("<Image path=\"a.png\" anim=\"bounce\"/>\n<Image path=\"b.png\"/>"));
    EXPECT_EQ(Error(), "Invalid animation type. on Line 3" + kSuffixFile);
    ASSERT_NE(mManager->Image("a"), nullptr);
    EXPECT_EQ(mManager->Group("g"), (std::vector<std::string>{"a"}));
}

TEST_F(ManifestTest, SoundsReadVolumeAndPan)
{
    ASSERT_TRUE(ParseGroup("<Sound path=\"a.ogg\" volume=\"0.5\" pan=\"-300\"/>"
                           "<Sound path=\"b.ogg\"/>"
                           "<Sound path=\"c.ogg\" volume=\"loud\" pan=\"left\"/>"
                           "<Sound path=\"d.ogg\" volume=\" 1e-1x\" pan=\"99999999999\"/>"));
    const auto* a = mManager->Sound("a");
    EXPECT_EQ(a->kind, ResourceManager::BaseRes::SoundKind);
    EXPECT_EQ(a->soundId, -1);
    EXPECT_DOUBLE_EQ(a->volume, 0.5);
    EXPECT_EQ(a->pan, -300);
    EXPECT_DOUBLE_EQ(mManager->Sound("b")->volume, -1.0);
    EXPECT_EQ(mManager->Sound("b")->pan, 0);
    EXPECT_DOUBLE_EQ(mManager->Sound("c")->volume, -1.0);
    EXPECT_EQ(mManager->Sound("c")->pan, 0);
    EXPECT_DOUBLE_EQ(mManager->Sound("d")->volume, 0.1);
    EXPECT_EQ(mManager->Sound("d")->pan, 2147483647);
}

TEST_F(ManifestTest, SystemFontsNeedAPointSize)
{
    ASSERT_TRUE(ParseGroup("<Font id=\"sys\" path=\"!sys:Arial\" size=\"12\" bold italic=\"\" underline shadow />"
                           "<Font id=\"bitmap\" path=\"fonts/a.txt\" image=\"fonts/a.png\" tags=\"x,y\"/>"
                           "<Font id=\"ref\" path=\"!ref:sys\"/>"))
        << Error();
    const auto* sys = mManager->FontRecord("sys");
    EXPECT_EQ(sys->kind, ResourceManager::BaseRes::FontKind);
    EXPECT_TRUE(sys->sysFont);
    EXPECT_EQ(sys->path, "Arial");
    EXPECT_EQ(sys->size, 12);
    EXPECT_TRUE(sys->bold && sys->italic && sys->underline && sys->shadow);
    EXPECT_EQ(sys->font, nullptr);
    const auto* bitmap = mManager->FontRecord("bitmap");
    EXPECT_FALSE(bitmap->sysFont);
    EXPECT_EQ(bitmap->path, "fonts/a.txt");
    EXPECT_EQ(bitmap->imagePath, "fonts/a.png");
    EXPECT_EQ(bitmap->tags, "x,y");
    EXPECT_FALSE(bitmap->bold);
    EXPECT_EQ(mManager->FontRecord("ref")->path, "!ref:sys");

    for (const char* size : {"", " size=\"0\"", " size=\"-3\"", " size=\"big\""}) {
        SCOPED_TRACE(size);
        EXPECT_FALSE(ParseGroup(std::string("<Font id=\"f\" path=\"!sys:Arial\"") + size + "/>"));
        EXPECT_EQ(Error(), "SysFont needs point size on Line 3" + kSuffixFile);
        EXPECT_EQ(mManager->Group("g"), (std::vector<std::string>{"f"}));
    }
}

struct ManifestError {
    const char* name;
    std::string manifest;
    std::string error;
    size_t images;
};

TEST_F(ManifestTest, ReportsEachManifestErrorWithItsLine)
{
    const std::vector<ManifestError> cases = {
        {"wrong root", "\n<Manifest>\n<Resources id=\"g\"><Image path=\"a.png\"/></Resources>\n</Manifest>",
         "Expecting ResourceManifest tag on Line 2" + kSuffixFile, 1},
        {"empty manifest", "", "Expecting ResourceManifest tag on Line 1" + kSuffixFile, 0},
        {"comments only", "<!-- nothing -->\n", "Expecting ResourceManifest tag on Line 2" + kSuffixFile, 0},
        {"group without id", "<ResourceManifest>\n<Resources>\n</Resources></ResourceManifest>",
         "No id specified. on Line 2" + kSuffixFile, 0},
        {"group with an empty id", "<ResourceManifest><Resources id=\"\"/></ResourceManifest>",
         "No id specified. on Line 1" + kSuffixFile, 0},
        {"text at the top", "<ResourceManifest>\nhello  there\n<Resources id=\"g\"/></ResourceManifest>",
         "Element Not Expected 'hello there' on Line 3" + kSuffixFile, 0},
        {"unknown section at the top", "<ResourceManifest><Images id=\"g\"/></ResourceManifest>",
         "Invalid Section 'Images' on Line 1" + kSuffixFile, 0},
        {"unknown element in a group", "<ResourceManifest><Resources id=\"g\">\n\n<Picture/></Resources></ResourceManifest>",
         "Invalid Section 'Picture' on Line 3" + kSuffixFile, 0},
        {"text in a group", "<ResourceManifest><Resources id=\"g\">x</Resources></ResourceManifest>",
         "Element Not Expected 'x' on Line 1" + kSuffixFile, 0},
        {"an image with content",
         "<ResourceManifest><Resources id=\"g\"><Image path=\"a.png\"><Image path=\"b.png\"/></Image>"
         "</Resources></ResourceManifest>",
         "Unexpected element found. on Line 1" + kSuffixFile, 1},
        {"no path", "<ResourceManifest><Resources id=\"g\"><Sound id=\"s\"/></Resources></ResourceManifest>",
         "No path specified. on Line 1" + kSuffixFile, 0},
        {"empty path", "<ResourceManifest><Resources id=\"g\"><Image path=\"\"/></Resources></ResourceManifest>",
         "No path specified. on Line 1" + kSuffixFile, 0},
        {"the reader's error", "<ResourceManifest>\n<Resources id=\"g\">\n</Resource>",
         "End 'Resource' Doesn't Match Start 'Resources' on Line 3" + kSuffixFile, 0},
        {"the reader's error before the root", "\x01", "Illegal Character on Line 1" + kSuffixFile, 0},
        {"a manifest cut between tags",
         "<ResourceManifest><Resources id=\"g\"><Image path=\"a.png\"/>\n",
         "Unexpected End of File on Line 2" + kSuffixFile, 1},
        {"the first error wins", "<Root>\n<Resources id=\"g\"><Image path=\"a.png\" anim=\"x\"/></Resources></Root>",
         "Expecting ResourceManifest tag on Line 1" + kSuffixFile, 1},
    };
    for (const ManifestError& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(Parse(c.manifest));
        EXPECT_EQ(Error(), c.error);
        EXPECT_EQ(mManager->ImageCount(), c.images);
    }
}

TEST_F(ManifestTest, AMissingManifestNamesTheFileWithoutALine)
{
    mManager = std::make_unique<InspectedManager>(&mHost);
    EXPECT_FALSE(mManager->ParseResourcesFile("data\\properties\\none.xml"));
    EXPECT_EQ(Error(), "Resource file not found: data\\properties\\none.xml");
}

TEST_F(ManifestTest, FailOutsideAManifestHasNoSuffixAndKeepsTheFirstError)
{
    ResourceManager manager(&mHost);
    EXPECT_FALSE(manager.Fail("first"));
    EXPECT_FALSE(manager.Fail("second"));
    EXPECT_EQ(manager.GetErrorText(), "first");
}

TEST_F(ManifestTest, ReadsTheSameManifestInEveryEncoding)
{
    const std::string body = "<ResourceManifest>\r\n<Resources id=\"g\">\r\n"
                             "<Image path=\"caf\xC3\xA9.png\" id=\"cafe\"/>\r\n</Resources>\r\n</ResourceManifest>\r\n";
    ASSERT_TRUE(Parse("\xEF\xBB\xBF" + body)) << Error();
    EXPECT_EQ(mManager->Image("cafe")->path, "caf\xE9.png");
    std::string utf16 = "\xFF\xFE";
    for (char c : std::string("<ResourceManifest>\r\n<Resources id=\"g\">\r\n<Image path=\"caf\xE9.png\" id=\"cafe\"/>\r\n"
                              "</Resources>\r\n</ResourceManifest>\r\n")) {
        utf16 += c;
        utf16 += '\0';
    }
    ASSERT_TRUE(Parse(utf16)) << Error();
    EXPECT_EQ(mManager->Image("cafe")->path, "caf\xE9.png");
}

class LoggedFont : public Tandry::FakeFont {
public:
    explicit LoggedFont(std::vector<std::string>& log) : mLog(log) {}
    ~LoggedFont() override { mLog.push_back("font deleted"); }

private:
    std::vector<std::string>& mLog;
};

TEST_F(ManifestTest, RecordsReleaseWhatTheyLoaded)
{
    TestSupport::RecordingSounds sounds;
    mHost.sounds = &sounds;
    ASSERT_TRUE(ParseGroup("<Sound path=\"a.ogg\"/><Sound path=\"b.ogg\"/><Font path=\"f.txt\"/>"
                           "<Font path=\"g.txt\"/><Image path=\"i.png\"/>"));
    auto* a = mManager->Sound("a");
    a->soundId = 7;
    a->DeleteResource();
    EXPECT_EQ(a->soundId, -1);
    a->DeleteResource();
    EXPECT_EQ(sounds.freed, (std::vector<int>{7}));

    std::vector<std::string> log;
    auto* f = mManager->FontRecord("f");
    f->font = new LoggedFont(log);
    f->DeleteResource();
    EXPECT_EQ(f->font, nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"font deleted"}));

    // The destructor frees what is still loaded, each record once.
    log.clear();
    sounds.freed.clear();
    mManager->Sound("b")->soundId = 3;
    mManager->Sound("a")->soundId = 0;
    mManager->FontRecord("g")->font = new LoggedFont(log);
    mManager.reset();
    EXPECT_EQ(sounds.freed, (std::vector<int>{0, 3}));
    EXPECT_EQ(log, (std::vector<std::string>{"font deleted"}));
}

TEST_F(ManifestTest, ASoundIsForgottenAlsoWithoutASoundManager)
{
    ASSERT_TRUE(ParseGroup("<Sound path=\"a.ogg\"/>"));
    auto* a = mManager->Sound("a");
    a->soundId = 2;
    a->DeleteResource();
    EXPECT_EQ(a->soundId, -1);
}

} // namespace
