// The resource manager inside the running application: a pack holding a
// manifest and the pictures, alpha pictures, a baked bitmap font and a sound
// it names, loaded group by group into the application's shared images, the
// font classes and the sound manager, then looked up by id and freed again.
#include "app/TandryAppBase.h"

#include "AppTestSupport.h"
#include "app/AppFactories.h"
#include "graphics/display/DDImage.h"
#include "platform/fonts/RecordingTextService.h"
#include "resources/images/ImageWriters.h"
#include "resources/manager/ResourceManager.h"
#include "resources/manager/RecordingSounds.h"
#include "resources/manager/ResourceManagerException.h"
#include "resources/pak/PakFile.h"
#include "resources/pak/PakInterface.h"
#include "resources/pak/PakWriter.h"
#include "util/Format.h"
#include "widgets/BMFont.h"
#include "widgets/SysFont.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace AppTest;

// The application with every shared-image request and image-file read counted.
class ResourceApp : public TestApp {
public:
    Tandry::SharedImageHandle AcquireSharedImage(const std::string& name, const std::string& variant,
                                                 bool* isNew) override
    {
        acquired.push_back(name);
        return TestApp::AcquireSharedImage(name, variant, isNew);
    }
    Tandry::DDImage* LoadImageFile(const std::string& path, bool commit) override
    {
        ++fileReads;
        return TestApp::LoadImageFile(path, commit);
    }

    std::vector<std::string> acquired;
    int fileReads = 0;
};

class InspectedManager : public Tandry::ResourceManager {
public:
    using ResourceManager::ResourceManager;
    bool IsLoaded(const std::string& group) const { return mLoadedGroups.count(group) != 0; }
};

// Loads only what the pack holds, as the sound manager reads name + ".wav".
class PackSounds : public TestSupport::RecordingSounds {
public:
    PackSounds() { freeId = 3; }
    bool LoadSoundIntoSlot(int id, const std::string& name) override
    {
        RecordingSounds::LoadSoundIntoSlot(id, name);
        Tandry::PakFileHandle* file = Tandry::PakOpen(name + ".wav", "rb");
        if (file == nullptr)
            return false;
        Tandry::PakClose(file);
        return true;
    }
};

const std::string kManifest = R"(<?xml version="1.0"?>
<ResourceManifest>
  <Resources id="Common">
    <SetDefaults path="data\images\" idprefix="IMAGE_"/>
    <Image id="DOOR" path="door.png" nopal="true"/>
    <Image id="SKY" path="sky.jpg" alphaimage="sky_alpha.png"/>
    <Image id="SHEET" path="sheet.png" rows="2" cols="3" alphagrid="cel.png" nopal="true"/>
    <SetDefaults path="data\fonts" idprefix="FONT_"/>
    <Font id="SANS" path="sans.fnt"/>
    <Font id="ARIAL" path="!sys:Arial" size="12" bold="true"/>
    <Font id="COPY" path="!ref:FONT_SANS"/>
    <SetDefaults path="data\sounds" idprefix="SOUND_"/>
    <Sound id="CLICK" path="click" volume="0.5" pan="200"/>
    <Image id="SCREEN" path="!program"/>
  </Resources>
  <Resources id="Game">
    <SetDefaults path="data\images" idprefix="IMAGE_"/>
    <Image id="GOOD" path="good.png"/>
    <Image id="LOST" path="lost.png"/>
  </Resources>
</ResourceManifest>
)";

// One opaque picture through two records.
const std::string kSurfaceManifest = R"(<ResourceManifest><Resources id="Surface">
<Image id="FIRST" path="data\images\good.png" ddsurface="" nopal=""/>
<Image id="SECOND" path="data\images\good.png"/>
</Resources></ResourceManifest>)";

// Cels of the sheet.
constexpr int kCelWidth = 4;
constexpr int kCelHeight = 3;

std::vector<uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The widths a description gives: advances of its chars and amounts of its kerning pairs.
struct DescribedWidths {
    std::map<int, int> advance;
    std::map<std::pair<int, int>, int> kerning;
    int lineHeight = 0;

    explicit DescribedWidths(const std::string& text)
    {
        std::istringstream lines(text);
        std::string line;
        while (std::getline(lines, line)) {
            std::istringstream words(line);
            std::string tag;
            words >> tag;
            std::map<std::string, int> values;
            std::string word;
            while (words >> word) {
                const size_t equals = word.find('=');
                if (equals != std::string::npos && word[equals + 1] != '"')
                    values[word.substr(0, equals)] = std::stoi(word.substr(equals + 1));
            }
            if (tag == "char")
                advance[values["id"]] = values["xadvance"];
            else if (tag == "kerning")
                kerning[{values["first"], values["second"]}] = values["amount"];
            else if (tag == "common")
                lineHeight = values["lineHeight"];
        }
    }
    int Width(const std::wstring& text) const
    {
        int width = 0;
        int prev = 0;
        for (wchar_t c : text) {
            width += advance.at(c);
            const auto pair = kerning.find({prev, c});
            if (pair != kerning.end())
                width += pair->second;
            prev = c;
        }
        return width;
    }
};

class ResourceLoadingApp : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        Tandry::AppFactories& factories = Tandry::GetAppFactories();
        factories.resourceManager = [](Tandry::TandryAppBase* app) { return new InspectedManager(app); };
        factories.soundManager = [](Platform::WindowHandle, bool) { return new PackSounds(); };
        Platform::InstallTextService(std::make_unique<TestSupport::RecordingTextService>(&mFontRequests));
    }
    void TearDown() override
    {
        Platform::ResetTextService();
        AppFixture::TearDown();
    }

    // Draws the pictures, writes them with the image writers, and packs them
    // with the manifest, the baked font and a sound under "data".
    std::vector<uint8_t> MakeDataPack()
    {
        std::vector<Tandry::PakWriteEntry> entries;
        auto add = [&](const std::string& name, std::vector<uint8_t> bytes) {
            entries.push_back(Tandry::PakWriteEntry::FromBytes(name, std::move(bytes)));
        };
        auto png = [&](const std::string& name, int width, int height, const std::vector<uint32_t>& pixels) {
            EXPECT_TRUE(Tandry::SavePngToFile("work.png", {width, height, pixels.data()}));
            add(name, ReadBytes("work.png"));
        };

        add("data\\properties\\resources.xml", std::vector<uint8_t>(kManifest.begin(), kManifest.end()));
        add("data\\properties\\surface.xml", std::vector<uint8_t>(kSurfaceManifest.begin(), kSurfaceManifest.end()));

        // The door: opaque colours, alpha from the blue channel of its "_" mask.
        png("data\\images\\door.png", 2, 2, {0xFF112233, 0xFF445566, 0xFF778899, 0xFFAABBCC});
        png("data\\images\\_door.png", 2, 2, {0xFFFFFF00, 0xFF000040, 0xFF00FF80, 0xFF0000FF});

        std::vector<uint32_t> sky(8 * 8, 0xFF3060C0);
        EXPECT_TRUE(Tandry::SaveJpegToFile("work.jpg", {8, 8, sky.data()}));
        add("data\\images\\sky.jpg", ReadBytes("work.jpg"));
        std::vector<uint32_t> skyAlpha(8 * 8);
        for (size_t i = 0; i < skyAlpha.size(); ++i)
            skyAlpha[i] = 0xFFFF0000u | static_cast<uint32_t>(i * 4);
        mSkyAlpha = skyAlpha;
        png("data\\images\\sky_alpha.png", 8, 8, skyAlpha);

        std::vector<uint32_t> sheet(kCelWidth * 3 * kCelHeight * 2);
        for (size_t i = 0; i < sheet.size(); ++i)
            sheet[i] = 0xFF000000u | static_cast<uint32_t>(i * 0x010203);
        mSheet = sheet;
        png("data\\images\\sheet.png", kCelWidth * 3, kCelHeight * 2, sheet);
        std::vector<uint32_t> cel(kCelWidth * kCelHeight);
        for (size_t i = 0; i < cel.size(); ++i)
            cel[i] = 0xFFABCD00u | static_cast<uint32_t>(i * 20);
        mCel = cel;
        png("data\\images\\cel.png", kCelWidth, kCelHeight, cel);

        png("data\\images\\good.png", 3, 1, {0xFF000000, 0xFF808080, 0xFFFFFFFF});

        const std::string font = MOORGLEN_APP_FONT;
        const std::vector<uint8_t> description = ReadBytes(font + ".fnt");
        mFontDescription.assign(description.begin(), description.end());
        add("data\\fonts\\sans.fnt", description);
        add("data\\fonts\\" + std::filesystem::path(font).filename().string() + "_0.png", ReadBytes(font + "_0.png"));

        add("data\\sounds\\click.wav", ShortWav());
        std::filesystem::remove("work.png");
        std::filesystem::remove("work.jpg");

        std::vector<uint8_t> pack;
        std::string error;
        EXPECT_TRUE(Tandry::WritePakToMemory(entries, pack, error)) << error;
        return pack;
    }

    // 16-bit mono at 22050 Hz, 64 samples of a ramp.
    static std::vector<uint8_t> ShortWav()
    {
        std::vector<uint8_t> data;
        for (int i = 0; i < 64; ++i) {
            const int16_t sample = static_cast<int16_t>(i * 256);
            data.push_back(static_cast<uint8_t>(sample & 0xFF));
            data.push_back(static_cast<uint8_t>((sample >> 8) & 0xFF));
        }
        std::vector<uint8_t> wav;
        auto text = [&](const char* s) { wav.insert(wav.end(), s, s + 4); };
        auto u32 = [&](uint32_t v) {
            for (int b = 0; b < 4; ++b)
                wav.push_back(static_cast<uint8_t>(v >> (8 * b)));
        };
        auto u16 = [&](uint16_t v) {
            wav.push_back(static_cast<uint8_t>(v));
            wav.push_back(static_cast<uint8_t>(v >> 8));
        };
        text("RIFF");
        u32(static_cast<uint32_t>(36 + data.size()));
        text("WAVE");
        text("fmt ");
        u32(16);
        u16(1);
        u16(1);
        u32(22050);
        u32(22050 * 2);
        u16(2);
        u16(16);
        text("data");
        u32(static_cast<uint32_t>(data.size()));
        wav.insert(wav.end(), data.begin(), data.end());
        return wav;
    }

    // The application, started headless on a display, with the data pack added.
    void Start(ResourceApp& app)
    {
        app.makeDisplay = true;
        app.Init();
        ASSERT_TRUE(Tandry::GetSharedPakInterface()->AddPakMemory("main.pak", MakeDataPack()));
    }

    static InspectedManager& Manager(ResourceApp& app) { return *static_cast<InspectedManager*>(app.mResourceManager); }
    static PackSounds& Sounds(ResourceApp& app) { return *static_cast<PackSounds*>(app.mSoundManager); }

    static std::vector<uint32_t> Pixels(Tandry::Image* image)
    {
        auto* memory = dynamic_cast<Tandry::MemoryImage*>(image);
        if (memory == nullptr || memory->GetBits() == nullptr)
            return {};
        const uint32_t* bits = memory->GetBits();
        return std::vector<uint32_t>(bits, bits + static_cast<size_t>(image->mWidth) * image->mHeight);
    }

    std::vector<Platform::FontRequest> mFontRequests;
    std::vector<uint32_t> mSkyAlpha;
    std::vector<uint32_t> mSheet;
    std::vector<uint32_t> mCel;
    std::string mFontDescription;
};

// The image of an id, held by a copy of the record's handle.
Tandry::Image* ImageOf(Tandry::ResourceManager& manager, const std::string& id)
{
    return manager.GetImageThrow(id).GetImage();
}

TEST_F(ResourceLoadingApp, TheGameStartUpLoadsItsGroupsAndLooksResourcesUp)
{
    ResourceApp app;
    ASSERT_NO_FATAL_FAILURE(Start(app));
    InspectedManager& manager = Manager(app);
    ASSERT_TRUE(manager.ParseResourcesFile("data\\properties\\resources.xml")) << manager.GetErrorText();
    ASSERT_TRUE(manager.LoadResources("Common")) << manager.GetErrorText();
    EXPECT_TRUE(manager.IsLoaded("Common"));

    // Pictures.
    Tandry::Image* door = ImageOf(manager, "IMAGE_DOOR");
    ASSERT_NE(dynamic_cast<Tandry::DDImage*>(door), nullptr);
    EXPECT_EQ(Pixels(door), (std::vector<uint32_t>{0x00112233, 0x40445566, 0x80778899, 0xFFAABBCC}));

    Tandry::Image* sky = ImageOf(manager, "IMAGE_SKY");
    const std::vector<uint32_t> skyPixels = Pixels(sky);
    ASSERT_EQ(skyPixels.size(), mSkyAlpha.size());
    for (size_t i = 0; i < skyPixels.size(); ++i)
        EXPECT_EQ(skyPixels[i] >> 24, mSkyAlpha[i] & 0xFF) << i;

    Tandry::Image* sheet = ImageOf(manager, "IMAGE_SHEET");
    EXPECT_EQ(sheet->mNumRows, 2);
    EXPECT_EQ(sheet->mNumCols, 3);
    const std::vector<uint32_t> sheetPixels = Pixels(sheet);
    ASSERT_EQ(sheetPixels.size(), mSheet.size());
    for (int y = 0; y < kCelHeight * 2; ++y) {
        for (int x = 0; x < kCelWidth * 3; ++x) {
            const size_t i = static_cast<size_t>(y) * kCelWidth * 3 + x;
            const uint32_t celAlpha = mCel[(y % kCelHeight) * kCelWidth + x % kCelWidth] & 0xFF;
            EXPECT_EQ(sheetPixels[i], (mSheet[i] & 0xFFFFFF) | celAlpha << 24) << x << "," << y;
        }
    }

    for (const auto& [id, path] : std::vector<std::pair<std::string, std::string>>{
             {"IMAGE_DOOR", "data\\images/door.png"},
             {"IMAGE_SKY", "data\\images/sky.jpg"},
             {"IMAGE_SHEET", "data\\images/sheet.png"}}) {
        SCOPED_TRACE(id);
        Tandry::SharedImageHandle byId = manager.GetImageThrow(id);
        Tandry::SharedImageHandle byPath = app.AcquireSharedImage(path, "", nullptr);
        EXPECT_EQ(byId.entry, byPath.entry);
        EXPECT_NE(byId.GetImage(), nullptr);
    }
    for (const std::string& path : app.acquired)
        EXPECT_EQ(path.find('!'), std::string::npos) << path;
    EXPECT_THROW(manager.GetImageThrow("IMAGE_SCREEN"), Tandry::ResourceManagerException);

    // Fonts.
    auto* sans = dynamic_cast<Tandry::BMFont*>(manager.GetFontThrow("FONT_SANS"));
    ASSERT_NE(sans, nullptr);
    const DescribedWidths described(mFontDescription);
    for (const std::wstring text : {L"AVAWay", L"Moorglen!", L"T"}) {
        EXPECT_EQ(sans->StringWidth(text, 1.0f, 1.0f, 0.0f), described.Width(text));
    }

    auto* arial = dynamic_cast<Tandry::SysFont*>(manager.GetFontThrow("FONT_ARIAL"));
    ASSERT_NE(arial, nullptr);
    EXPECT_EQ(arial->mFace, "Arial");
    ASSERT_FALSE(mFontRequests.empty());
    EXPECT_EQ(mFontRequests.back().face, "Arial");
    EXPECT_EQ(mFontRequests.back().pixelSize, 16);
    EXPECT_TRUE(mFontRequests.back().bold);
    EXPECT_FALSE(mFontRequests.back().italic);

    auto* copy = dynamic_cast<Tandry::BMFont*>(manager.GetFontThrow("FONT_COPY"));
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, sans);
    EXPECT_EQ(copy->StringWidth(std::wstring(L"AVAWay"), 1.0f, 1.0f, 0.0f),
              sans->StringWidth(std::wstring(L"AVAWay"), 1.0f, 1.0f, 0.0f));
    EXPECT_EQ(copy->mHeight, sans->mHeight);
    ASSERT_FALSE(sans->Pages().empty());
    EXPECT_NE(sans->Pages()[0], nullptr);
    EXPECT_EQ(&copy->Pages(), &sans->Pages());

    // The sound.
    EXPECT_EQ(Sounds(app).calls, (std::vector<std::string>{"FindFreeSoundId", "LoadSoundIntoSlot 3 data\\sounds/click",
                                                           "SetSoundDefaultVolume 3 0.5", "SetSoundDefaultPan 3 200"}));
    EXPECT_EQ(manager.GetSoundThrow("SOUND_CLICK"), 3);

    // A second load finds everything loaded.
    const size_t acquiredBefore = app.acquired.size();
    const int readsBefore = app.fileReads;
    const size_t fontsBefore = mFontRequests.size();
    Sounds(app).calls.clear();
    EXPECT_TRUE(manager.LoadResources("Common"));
    EXPECT_EQ(app.acquired.size(), acquiredBefore);
    EXPECT_EQ(app.fileReads, readsBefore);
    EXPECT_EQ(mFontRequests.size(), fontsBefore);
    EXPECT_TRUE(Sounds(app).calls.empty());

    // Freeing the group.
    manager.DeleteGroup("Common");
    EXPECT_FALSE(manager.IsLoaded("Common"));
    try {
        manager.GetImageThrow("IMAGE_DOOR");
        ADD_FAILURE() << "no exception";
    } catch (const Tandry::ResourceManagerException& e) {
        EXPECT_EQ(e.text, "Image resource not found: IMAGE_DOOR");
    }
    EXPECT_TRUE(Sounds(app).calls.empty());
    EXPECT_EQ(Sounds(app).freed, std::vector<int>{3});
    EXPECT_EQ(manager.GetFont("FONT_SANS"), nullptr);
    EXPECT_EQ(manager.GetFont("FONT_ARIAL"), nullptr);
    EXPECT_EQ(manager.GetFont("FONT_COPY"), nullptr);
    ASSERT_TRUE(manager.LoadResources("Common")) << manager.GetErrorText();
    EXPECT_NE(manager.GetFont("FONT_COPY"), nullptr);
    EXPECT_EQ(manager.GetSoundThrow("SOUND_CLICK"), 4);

    // A group that stops at a missing file.
    EXPECT_FALSE(manager.LoadResources("Game"));
    EXPECT_EQ(manager.GetErrorText(), "Failed to load image: data\\images/lost.png");
    EXPECT_FALSE(manager.IsLoaded("Game"));
    EXPECT_EQ(Pixels(ImageOf(manager, "IMAGE_GOOD")), (std::vector<uint32_t>{0xFF000000, 0xFF808080, 0xFFFFFFFF}));
}

TEST_F(ResourceLoadingApp, AnImageThatHasItsSurfaceIsOnlyMarkedForItsPalette)
{
    ResourceApp app;
    ASSERT_NO_FATAL_FAILURE(Start(app));
    ASSERT_FALSE(app.IsDisplay3D());
    InspectedManager& manager = Manager(app);
    ASSERT_TRUE(manager.ParseResourcesFile("data\\properties\\surface.xml")) << manager.GetErrorText();
    ASSERT_TRUE(manager.LoadResources("Surface")) << manager.GetErrorText();

    // The first record sent the opaque picture to a surface and let its pixels go.
    auto* image = dynamic_cast<Tandry::DDImage*>(ImageOf(manager, "SECOND"));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(ImageOf(manager, "FIRST"), image);
    EXPECT_TRUE(image->mWantSurface);
    EXPECT_NE(image->mSurface, nullptr);
    EXPECT_EQ(image->mBits, nullptr);
    // The second one asks for the palette only.
    EXPECT_TRUE(image->mWantPalette);
    EXPECT_EQ(image->mColorTable, nullptr);
    EXPECT_EQ(Pixels(image), (std::vector<uint32_t>{0xFF000000, 0xFF808080, 0xFFFFFFFF}));
}

} // namespace
