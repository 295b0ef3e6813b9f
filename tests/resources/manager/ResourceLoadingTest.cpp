// Loading groups of the manifest against a fake application: hand-made
// images, alpha pictures on disk, fonts and a recording sound manager.
#include "resources/manager/ResourceManager.h"

#include "graphics/display/DDImage.h"
#include "graphics/image/MemoryImage.h"
#include "platform/fonts/RecordingTextService.h"
#include "resources/images/ImageLib.h"
#include "resources/images/ImageWriters.h"
#include "resources/manager/FakeResourceHost.h"
#include "resources/manager/ResourceManagerException.h"
#include "resources/pak/PakTestSupport.h"
#include "util/SectionProfiler.h"
#include "widgets/SysFont.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Tandry::DDImage;
using Tandry::MemoryImage;
using Tandry::ResourceManager;
using Tandry::ResourceManagerException;

// Opens the records to the tests.
class LoadingManager : public ResourceManager {
public:
    using ResourceManager::ResourceManager;

    ImageRes* Image(const std::string& id) { return static_cast<ImageRes*>(mImageMap.at(id)); }
    SoundRes* Sound(const std::string& id) { return static_cast<SoundRes*>(mSoundMap.at(id)); }
    FontRes* FontRecord(const std::string& id) { return static_cast<FontRes*>(mFontMap.at(id)); }
    bool IsLoaded(const std::string& group) const { return mLoadedGroups.count(group) != 0; }
    void DeleteAll()
    {
        DeleteResources(mImageMap, "");
        DeleteResources(mSoundMap, "");
        DeleteResources(mFontMap, "");
    }
    void ResourceLoadedHook(BaseRes* record) override { hooked.push_back(record->id); }

    std::vector<std::string> hooked;
};

// Pixels of a w x h picture, all of one colour unless changed.
std::vector<uint32_t> Fill(int width, int height, uint32_t color)
{
    return std::vector<uint32_t>(static_cast<size_t>(width) * static_cast<size_t>(height), color);
}

template <class ImageClass>
std::function<Tandry::Image*()> Picture(int width, int height, std::vector<uint32_t> pixels)
{
    return [=] {
        auto* image = new ImageClass(nullptr);
        image->SetBits(pixels.data(), width, height, false);
        return image;
    };
}

// A file read the way the application reads it, alpha lookup and alpha colour included.
std::function<Tandry::Image*()> FileOf(const std::string& path)
{
    return [path]() -> Tandry::Image* {
        const std::unique_ptr<Tandry::ImageLib::Image> decoded = Tandry::ImageLib::GetImage(path, true);
        if (decoded == nullptr)
            return nullptr;
        auto* image = new MemoryImage(nullptr);
        image->SetBits(decoded->bits, decoded->width, decoded->height, false);
        return image;
    };
}

void SavePng(const std::string& path, int width, int height, const std::vector<uint32_t>& pixels)
{
    ASSERT_TRUE(Tandry::SavePngToFile(path, {width, height, pixels.data()}));
}

class ResourceLoading : public TestSupport::PakLayerTest {
protected:
    void SetUp() override
    {
        mHost.sounds = &mSounds;
        Platform::InstallTextService(std::make_unique<TestSupport::RecordingTextService>(&mFontRequests));
    }
    void TearDown() override
    {
        mManager.reset();
        Platform::ResetTextService();
        Tandry::ResetAlphaColor();
    }

    // A manifest of one group "g" with the body, read by a new manager.
    void Parse(const std::string& body)
    {
        TestSupport::WriteFile("resources.xml",
                               "<ResourceManifest><Resources id=\"g\">" + body + "</Resources></ResourceManifest>");
        mManager = std::make_unique<LoadingManager>(&mHost);
        ASSERT_TRUE(mManager->ParseResourcesFile("resources.xml")) << mManager->GetErrorText();
    }
    std::string Error() const { return mManager->GetErrorText(); }
    // The image the record's handle refers to.
    template <class ImageClass = MemoryImage>
    ImageClass* Loaded(const std::string& id)
    {
        return dynamic_cast<ImageClass*>(mManager->Image(id)->image.GetEntryImage());
    }

    std::vector<Platform::FontRequest> mFontRequests;
    TestSupport::RecordingSounds mSounds;
    TestSupport::FakeResourceHost mHost;
    std::unique_ptr<LoadingManager> mManager;
};

TEST_F(ResourceLoading, EachStepLoadsOneResourceAndPassesOverTheRest)
{
    mHost.pictures["a.png"] = Picture<MemoryImage>(2, 2, Fill(2, 2, 0xFF000000));
    mHost.pictures["b.png"] = Picture<MemoryImage>(2, 2, Fill(2, 2, 0xFF0000FF));
    Parse("<Image path=\"a.png\"/><Image id=\"code\" path=\"!program\"/><Sound path=\"s\"/>"
          "<Image id=\"again\" path=\"a.png\"/><Image path=\"b.png\"/>");
    // Loaded before the group starts: passed over like the record that code supplies.
    ASSERT_TRUE(mManager->DoLoadImage(mManager->Image("b")));
    mManager->hooked.clear();

    mManager->StartLoadResources("g");
    struct Step {
        bool result;
        std::vector<std::string> hooked;
    };
    const Step steps[] = {
        {true, {"a"}},
        {true, {"a", "s"}},
        {true, {"a", "s", "again"}},
        {false, {"a", "s", "again"}},
        {false, {"a", "s", "again"}},
    };
    for (size_t i = 0; i < std::size(steps); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(mManager->LoadNextResource(), steps[i].result);
        EXPECT_EQ(mManager->hooked, steps[i].hooked);
    }
    EXPECT_EQ(Error(), "");
    EXPECT_FALSE(mManager->IsLoaded("g"));
    EXPECT_EQ(mHost.images.size(), 3u);
    EXPECT_EQ(mManager->GetImageThrow("again").entry, mManager->GetImageThrow("a").entry);
    EXPECT_THROW(mManager->GetImageThrow("code"), ResourceManagerException);
}

TEST_F(ResourceLoading, AGroupLoadsOnceAndFailuresStopIt)
{
    mHost.pictures["a.png"] = Picture<MemoryImage>(1, 1, Fill(1, 1, 0xFF102030));
    Parse("<Image path=\"a.png\"/><Sound path=\"s\" volume=\"0.25\" pan=\"-300\"/><Font id=\"Face\" path=\"!sys:Face\" size=\"9\"/>"
          "<Image path=\"missing.png\"/><Image path=\"after.png\"/>");
    mHost.pictures["after.png"] = Picture<MemoryImage>(1, 1, Fill(1, 1, 0xFF000000));

    EXPECT_FALSE(mManager->LoadResources("g"));
    EXPECT_EQ(Error(), "Failed to load image: missing.png");
    EXPECT_FALSE(mManager->IsLoaded("g"));
    EXPECT_EQ(mManager->hooked, (std::vector<std::string>{"a", "s", "Face"}));
    EXPECT_EQ(mSounds.calls, (std::vector<std::string>{"FindFreeSoundId", "LoadSoundIntoSlot 0 s",
                                                       "SetSoundDefaultVolume 0 0.25", "SetSoundDefaultPan 0 -300"}));
    EXPECT_EQ(mManager->GetSoundThrow("s"), 0);
    EXPECT_NE(mManager->GetImageThrow("a").GetImage(), nullptr);

    // The missing file comes later; the loaded records are passed over.
    mHost.pictures["missing.png"] = Picture<MemoryImage>(1, 1, Fill(1, 1, 0xFF000000));
    mHost.images.clear();
    mSounds.calls.clear();
    EXPECT_TRUE(mManager->LoadResources("g")) << Error();
    EXPECT_EQ(Error(), "");
    EXPECT_TRUE(mManager->IsLoaded("g"));
    EXPECT_EQ(mHost.images.size(), 2u);
    EXPECT_TRUE(mSounds.calls.empty());

    mHost.images.clear();
    mManager->hooked.clear();
    EXPECT_TRUE(mManager->LoadResources("g"));
    EXPECT_TRUE(mHost.images.empty());
    EXPECT_TRUE(mManager->hooked.empty());

    // A group nobody declared has nothing to load.
    EXPECT_TRUE(mManager->LoadResources("other"));
}

TEST_F(ResourceLoading, DeletingAGroupFreesItsResourcesForAnotherLoad)
{
    mHost.pictures["a.png"] = Picture<MemoryImage>(1, 1, Fill(1, 1, 0xFF102030));
    TestSupport::WriteFile("resources.xml", "<ResourceManifest>"
                                            "<Resources id=\"g\"><Image path=\"a.png\"/><Sound path=\"s\"/>"
                                            "<Font id=\"Face\" path=\"!sys:Face\" size=\"9\"/></Resources>"
                                            "<Resources id=\"h\"><Sound path=\"t\"/></Resources>"
                                            "</ResourceManifest>");
    mManager = std::make_unique<LoadingManager>(&mHost);
    ASSERT_TRUE(mManager->ParseResourcesFile("resources.xml"));
    ASSERT_TRUE(mManager->LoadResources("g"));
    ASSERT_TRUE(mManager->LoadResources("h"));
    Tandry::SharedImageEntry* entry = mHost.Entry("a.png");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->refCount, 1);

    mManager->DeleteGroup("g");
    EXPECT_EQ(entry->refCount, 0);
    EXPECT_EQ(mSounds.freed, std::vector<int>{0});
    EXPECT_EQ(mManager->GetFont("Face"), nullptr);
    EXPECT_FALSE(mManager->IsLoaded("g"));
    EXPECT_TRUE(mManager->IsLoaded("h"));
    EXPECT_EQ(mManager->GetSoundThrow("t"), 1);

    // An empty group name frees every record, keeping the loaded-group names.
    ASSERT_TRUE(mManager->LoadResources("g"));
    EXPECT_EQ(entry->refCount, 1);
    mManager->DeleteAll();
    EXPECT_EQ(entry->refCount, 0);
    EXPECT_EQ(mSounds.freed, (std::vector<int>{0, 2, 1}));
    EXPECT_EQ(mManager->GetFont("Face"), nullptr);
    EXPECT_TRUE(mManager->IsLoaded("g"));
    EXPECT_TRUE(mManager->IsLoaded("h"));
}

TEST_F(ResourceLoading, TheGettersThrowTheFirstErrorSinceTheLastReset)
{
    Parse("<Image path=\"missing.png\"/><Sound path=\"s\"/><Font id=\"Face\" path=\"!sys:Face\" size=\"9\"/>");
    struct Case {
        const char* name;
        std::function<void()> get;
        const char* text;
    };
    const Case cases[] = {
        {"image", [&] { mManager->GetImageThrow("nope"); }, "Image resource not found: nope"},
        {"sound", [&] { mManager->GetSoundThrow("s"); }, "Sound resource not found: s"},
        {"font", [&] { mManager->GetFontThrow("Face"); }, "Font resource not found: Face"},
        {"percent", [&] { mManager->GetFontThrow("100%s"); }, "Font resource not found: 100%s"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mManager->StartLoadResources("none");
        try {
            c.get();
            ADD_FAILURE() << "no exception";
        } catch (const ResourceManagerException& e) {
            EXPECT_EQ(e.text, c.text);
            EXPECT_EQ(Error(), c.text);
        }
    }
    EXPECT_EQ(mManager->GetFont("Face"), nullptr);
    EXPECT_EQ(mManager->GetFont("unknown"), nullptr);

    EXPECT_FALSE(mManager->LoadResources("g"));
    try {
        mManager->GetSoundThrow("s");
        ADD_FAILURE() << "no exception";
    } catch (const ResourceManagerException& e) {
        EXPECT_EQ(e.text, "Failed to load image: missing.png");
    }
}

TEST_F(ResourceLoading, SoundFailuresNameTheirCause)
{
    Parse("<Sound path=\"snd\\a\" volume=\"0\"/><Sound path=\"b\" volume=\"-1\" pan=\"0\"/>");
    mSounds.freeId = -1;
    EXPECT_FALSE(mManager->LoadResources("g"));
    EXPECT_EQ(Error(), "Out of free sound ids");

    mSounds.freeId = 7;
    mSounds.loadSucceeds = false;
    mSounds.calls.clear();
    EXPECT_FALSE(mManager->LoadResources("g"));
    EXPECT_EQ(Error(), "Failed to load sound: snd\\a");
    EXPECT_EQ(mManager->Sound("a")->soundId, -1);

    mSounds.loadSucceeds = true;
    mSounds.calls.clear();
    EXPECT_TRUE(mManager->LoadResources("g"));
    // A volume of 0 is a volume; a pan of 0 and a volume below 0 are not given.
    EXPECT_EQ(mSounds.calls, (std::vector<std::string>{"FindFreeSoundId", "LoadSoundIntoSlot 8 snd\\a",
                                                       "SetSoundDefaultVolume 8 0", "FindFreeSoundId",
                                                       "LoadSoundIntoSlot 9 b"}));

    mHost.sounds = nullptr;
    mManager->DeleteGroup("g");
    EXPECT_FALSE(mManager->LoadResources("g"));
    EXPECT_EQ(Error(), "Failed to load sound: snd\\a");
}

TEST_F(ResourceLoading, FontsAreSystemReferencedOrBitmapFonts)
{
    Parse("<Font id=\"copy\" path=\"!ref:sys\"/>"
          "<Font id=\"sys\" path=\"!sys:Face\" size=\"12\" bold=\"\" italic=\"\"/>"
          "<Font id=\"late\" path=\"!ref:sys\" image=\"unused.png\"/>"
          "<Font id=\"pic\" path=\"fonts/pic.fnt\" image=\"fonts/pic.png\"/>"
          "<Font id=\"bitmap\" path=\"fonts/none.fnt\"/>");
    EXPECT_FALSE(mManager->LoadResources("g"));
    EXPECT_EQ(Error(), "Ref font not found: sys");
    EXPECT_EQ(mManager->GetFont("copy"), nullptr);

    // The system font first; the reference then copies it.
    mManager->StartLoadResources("none");
    ASSERT_TRUE(mManager->DoLoadFont(mManager->FontRecord("sys")));
    ASSERT_TRUE(mManager->DoLoadFont(mManager->FontRecord("late")));
    auto* sys = dynamic_cast<Tandry::SysFont*>(mManager->GetFont("sys"));
    ASSERT_NE(sys, nullptr);
    EXPECT_EQ(sys->mFace, "Face");
    Tandry::Font* late = mManager->GetFont("late");
    ASSERT_NE(late, nullptr);
    EXPECT_NE(late, sys);
    EXPECT_NE(dynamic_cast<Tandry::SysFont*>(late), nullptr);
    EXPECT_EQ(late->mHeight, sys->mHeight);

    // That system family gets no bold faces; the other styles stay.
    for (bool windows9x : {false, true}) {
        SCOPED_TRACE(windows9x);
        mHost.windows9x = windows9x;
        mManager->DeleteGroup("g");
        mFontRequests.clear();
        ASSERT_TRUE(mManager->DoLoadFont(mManager->FontRecord("sys")));
        ASSERT_EQ(mFontRequests.size(), 1u);
        EXPECT_EQ(mFontRequests[0].face, "Face");
        EXPECT_EQ(mFontRequests[0].pixelSize, 16);
        EXPECT_EQ(mFontRequests[0].bold, !windows9x);
        EXPECT_TRUE(mFontRequests[0].italic);
        EXPECT_FALSE(mFontRequests[0].underline);
    }

    mManager->StartLoadResources("none");
    EXPECT_FALSE(mManager->DoLoadFont(mManager->FontRecord("pic")));
    EXPECT_EQ(Error(), "Failed to load font: fonts/pic.fnt");
    EXPECT_EQ(mManager->GetFont("pic"), nullptr);

    mManager->StartLoadResources("none");
    EXPECT_FALSE(mManager->DoLoadFont(mManager->FontRecord("bitmap")));
    EXPECT_EQ(Error(), "Failed to load font: fonts/none.fnt");
    EXPECT_EQ(mManager->GetFont("bitmap"), nullptr);
}

TEST_F(ResourceLoading, DdSurfaceKeepsPartialAlphaInMemoryAndSendsOpaqueImagesToASurface)
{
    std::vector<uint32_t> partial = Fill(2, 2, 0xFF203040);
    partial[3] = 0x80203040;
    mHost.pictures["opaque.png"] = Picture<DDImage>(2, 2, Fill(2, 2, 0xFF203040));
    mHost.pictures["partial.png"] = Picture<DDImage>(2, 2, partial);
    mHost.pictures["gone.png"] = Picture<DDImage>(2, 2, partial);
    mHost.pictures["memory.png"] = Picture<MemoryImage>(2, 2, Fill(2, 2, 0xFF203040));
    Parse("<Image path=\"opaque.png\" ddsurface=\"\" nopal=\"\"/>"
          "<Image path=\"partial.png\" ddsurface=\"\" nopal=\"\"/>"
          "<Image path=\"gone.png\" ddsurface=\"\" nopal=\"\" nobits=\"\"/>"
          "<Image path=\"memory.png\" ddsurface=\"\" nopal=\"\"/>");
    ASSERT_TRUE(mManager->LoadResources("g")) << Error();

    DDImage* opaque = Loaded<DDImage>("opaque");
    ASSERT_NE(opaque, nullptr);
    EXPECT_TRUE(opaque->mWantSurface);
    EXPECT_TRUE(opaque->mWantDiscard);

    DDImage* partialImage = Loaded<DDImage>("partial");
    ASSERT_NE(partialImage, nullptr);
    EXPECT_TRUE(partialImage->mHasAlpha);
    EXPECT_FALSE(partialImage->mWantSurface);
    EXPECT_FALSE(partialImage->mWantDiscard);
    ASSERT_NE(partialImage->mBits, nullptr);
    EXPECT_EQ(std::vector<uint32_t>(partialImage->mBits.get(), partialImage->mBits.get() + 4), partial);

    DDImage* gone = Loaded<DDImage>("gone");
    ASSERT_NE(gone, nullptr);
    EXPECT_FALSE(gone->mWantSurface);
    EXPECT_TRUE(gone->mWantDiscard);
    EXPECT_EQ(gone->mBits, nullptr);

    // Only a surface image can want a surface: a memory image keeps its pixels.
    MemoryImage* memory = Loaded("memory");
    ASSERT_NE(memory, nullptr);
    EXPECT_FALSE(memory->mWantDiscard);
    EXPECT_NE(memory->mBits, nullptr);
}

TEST_F(ResourceLoading, ImagesArePalettisedUnlessNopal)
{
    mHost.pictures["a.png"] = Picture<MemoryImage>(2, 1, {0xFF000000, 0xFFFFFFFF});
    mHost.pictures["b.png"] = Picture<DDImage>(2, 1, {0xFF000000, 0xFFFFFFFF});
    mHost.pictures["c.png"] = Picture<MemoryImage>(2, 1, {0xFF000000, 0xFFFFFFFF});
    Parse("<Image path=\"a.png\"/><Image path=\"b.png\"/><Image path=\"c.png\" nopal=\"\"/>");
    ASSERT_TRUE(mManager->LoadResources("g")) << Error();
    EXPECT_NE(Loaded("a")->mColorTable, nullptr);
    EXPECT_NE(Loaded("b")->mColorTable, nullptr);
    EXPECT_EQ(Loaded("c")->mColorTable, nullptr);
    EXPECT_FALSE(Loaded("c")->mWantPalette);
}

TEST_F(ResourceLoading, FlagsCelsAndAnimationGoOntoTheImage)
{
    mHost.pictures["sheet.png"] = Picture<MemoryImage>(6, 4, Fill(6, 4, 0xFF000000));
    Parse("<Image id=\"first\" path=\"sheet.png\" nopal=\"\" a4r4g4b4=\"\" minsubdivide=\"\" rows=\"2\" cols=\"3\" "
          "anim=\"loop\" framedelay=\"5\" begindelay=\"9\"/>"
          "<Image id=\"second\" path=\"sheet.png\" nopal=\"\" a8r8g8b8=\"\" rows=\"4\" cols=\"1\"/>");
    mManager->StartLoadResources("g");
    ASSERT_TRUE(mManager->LoadNextResource()) << Error();
    MemoryImage* sheet = Loaded("first");
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->mTextureFlags, 4 | 1);
    EXPECT_EQ(sheet->mNumRows, 2);
    EXPECT_EQ(sheet->mNumCols, 3);
    ASSERT_NE(sheet->mAnimInfo, nullptr);

    // The same shared image through a second record: its flags are or-ed in,
    // its grid replaces the first, and without an animation the first one stays.
    ASSERT_TRUE(mManager->LoadNextResource()) << Error();
    EXPECT_EQ(Loaded("second"), sheet);
    EXPECT_EQ(sheet->mTextureFlags, 4 | 8 | 1);
    EXPECT_EQ(sheet->mNumRows, 4);
    EXPECT_EQ(sheet->mNumCols, 1);

    mManager.reset();
    Tandry::SharedImageEntry* entry = mHost.Entry("sheet.png");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->refCount, 0);
    // The record is gone; the image's copy is whole: 3 cels of 5, the first 9.
    ASSERT_NE(sheet->mAnimInfo, nullptr);
    EXPECT_EQ(sheet->mAnimInfo->type, Tandry::AnimInfo::Loop);
    EXPECT_EQ(sheet->mAnimInfo->celCount, 3);
    EXPECT_EQ(sheet->mAnimInfo->frameDelays, (std::vector<int>{9, 5, 5}));
    EXPECT_EQ(sheet->mAnimInfo->totalTime, 19);
}

TEST_F(ResourceLoading, AlphaPicturesGiveTheirBlueChannelToNewImages)
{
    // Blue carries the alpha; red and green must not leak into it.
    SavePng("mask.png", 2, 2, {0xFF00FF00, 0xFFFF0080, 0xFF0000FF, 0xFF123410});
    SavePng("cel.png", 2, 2, {0xFFFFFF00, 0xFF0000C0, 0xFF000011, 0xFF0000FF});
    SavePng("small.png", 1, 2, {0xFF0000FF, 0xFF0000FF});
    mHost.pictures["a.png"] = Picture<MemoryImage>(2, 2, Fill(2, 2, 0xFF102030));
    std::vector<uint32_t> sheetPixels(4 * 5);
    for (size_t i = 0; i < sheetPixels.size(); ++i)
        sheetPixels[i] = 0x7F000000u | static_cast<uint32_t>(i);
    mHost.pictures["sheet.png"] = Picture<MemoryImage>(4, 5, sheetPixels);
    mHost.pictures["b.png"] = Picture<MemoryImage>(2, 2, Fill(2, 2, 0xFF102030));
    mHost.pictures["c.png"] = Picture<MemoryImage>(4, 2, Fill(4, 2, 0xFF102030));
    Parse("<Image path=\"a.png\" alphaimage=\"mask.png\" nopal=\"\"/>"
          "<Image path=\"sheet.png\" alphagrid=\"cel.png\" rows=\"2\" cols=\"2\" nopal=\"\"/>"
          "<Image id=\"again\" path=\"a.png\" alphaimage=\"small.png\" nopal=\"\"/>"
          "<Image path=\"b.png\" alphaimage=\"small.png\"/>"
          "<Image path=\"c.png\" alphagrid=\"small.png\" cols=\"2\"/>");
    mManager->StartLoadResources("g");
    ASSERT_TRUE(mManager->LoadNextResource()) << Error();
    MemoryImage* a = Loaded("a");
    EXPECT_EQ(std::vector<uint32_t>(a->GetBits(), a->GetBits() + 4),
              (std::vector<uint32_t>{0x00102030, 0x80102030, 0xFF102030, 0x10102030}));
    EXPECT_TRUE(a->mHasAlpha);
    EXPECT_TRUE(a->mHasTrans);

    // The sheet's cels are 2 x 2; the last row is outside the grid and keeps its alpha.
    ASSERT_TRUE(mManager->LoadNextResource()) << Error();
    MemoryImage* sheet = Loaded("sheet");
    const uint32_t celAlpha[2][2] = {{0x00, 0xC0}, {0x11, 0xFF}};
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 4; ++x) {
            const uint32_t colour = static_cast<uint32_t>(y * 4 + x);
            const uint32_t alpha = y < 4 ? celAlpha[y % 2][x % 2] : 0x7F;
            EXPECT_EQ(sheet->GetPixel(x, y), alpha << 24 | colour) << x << "," << y;
        }
    }

    // An image loaded before is not merged again, so the wrong size does not matter.
    ASSERT_TRUE(mManager->LoadNextResource()) << Error();
    EXPECT_EQ(Loaded("again"), a);
    EXPECT_EQ(a->GetBits()[1], 0x80102030u);

    EXPECT_FALSE(mManager->LoadNextResource());
    EXPECT_EQ(Error(), "AlphaImage size mismatch between b.png and small.png");
    EXPECT_EQ(mManager->Image("b")->image.entry, nullptr);
    EXPECT_EQ(mHost.Entry("b.png")->refCount, 0);

    ASSERT_FALSE(mManager->LoadResources("g"));
    EXPECT_EQ(Error(), "GridAlphaImage size mismatch between c.png and small.png");

    mManager->Image("c")->alphaGridImage = "nothing.png";
    mHost.pictures["c2.png"] = mHost.pictures["c.png"];
    mManager->Image("c")->path = "c2.png";
    ASSERT_FALSE(mManager->LoadResources("g"));
    EXPECT_EQ(Error(), "Failed to load image: nothing.png");
}

TEST_F(ResourceLoading, TheAlphaColourHoldsForOneLoadOnly)
{
    // Only the alpha picture exists: the colour comes from the record.
    SavePng("_glow.png", 2, 1, {0xFF0000FF, 0xFF000040});
    mHost.pictures["glow.png"] = FileOf("glow.png");
    mHost.pictures["plain.png"] = Picture<MemoryImage>(1, 1, Fill(1, 1, 0xFF000000));
    Parse("<Image path=\"glow.png\" alphacolor=\"FF8000\" nopal=\"\"/>"
          "<Image path=\"missing.png\" alphacolor=\"123456\"/>"
          "<Image path=\"plain.png\"/>");
    Tandry::gAlphaColor = 0xABCDEF;
    EXPECT_FALSE(mManager->LoadResources("g"));
    EXPECT_EQ(Error(), "Failed to load image: missing.png");
    EXPECT_EQ(mHost.alphaColors, (std::vector<uint32_t>{0xFF8000, 0x123456}));
    EXPECT_EQ(Tandry::gAlphaColor, Tandry::kDefaultAlphaColor);
    MemoryImage* glow = Loaded("glow");
    ASSERT_NE(glow, nullptr);
    EXPECT_EQ(std::vector<uint32_t>(glow->GetBits(), glow->GetBits() + 2),
              (std::vector<uint32_t>{0xFFFF8000, 0x40FF8000}));

    mManager->Image("missing")->suppliedByCode = true;
    EXPECT_TRUE(mManager->LoadResources("g"));
    EXPECT_EQ(mHost.alphaColors.back(), 0xFFFFFFu);
    EXPECT_EQ(Tandry::gAlphaColor, Tandry::kDefaultAlphaColor);
}

TEST_F(ResourceLoading, TheProfilerShowsEveryLoadingSection)
{
    SavePng("mask.png", 1, 1, {0xFF0000FF});
    mHost.pictures["a.png"] = Picture<DDImage>(1, 1, Fill(1, 1, 0xFF000000));
    mHost.pictures["b.png"] = Picture<MemoryImage>(2, 1, Fill(2, 1, 0xFF000000));
    Parse("<Image path=\"a.png\" alphaimage=\"mask.png\" ddsurface=\"\"/>"
          "<Image path=\"b.png\" alphagrid=\"mask.png\" cols=\"2\"/>"
          "<Font id=\"Face\" path=\"!sys:Face\" size=\"9\"/><Sound path=\"s\"/>");
    Tandry::SectionProfiler::Reset();
    Tandry::SectionProfiler::Start();
    const bool loaded = mManager->LoadResources("g");
    Tandry::SectionProfiler::Stop();
    EXPECT_TRUE(loaded) << Error();

    std::set<std::string> names;
    std::istringstream report(Tandry::SectionProfiler::BuildReport());
    std::string line;
    std::getline(report, line);
    while (std::getline(report, line))
        names.insert(line.substr(0, line.find(" (")));
    Tandry::SectionProfiler::Reset();
    EXPECT_EQ(names, (std::set<std::string>{"ResourceManager:GetImage", "ResourceManager::GetImage",
                                            "ResourceManager:DDSurface", "ResourceManager:Palletize",
                                            "ResourceManager:DoLoadFont", "ResourceManager:LoadSound"}));
}

} // namespace
