// The capability test on the DirectDraw and Direct3D stand-ins: the checks
// before the render tests, the render tests on each desktop format, injected
// failures with their texts, the registry cache and the card lists. The call
// log and the live counts show what the tester made and that it let it go.
#include "graphics/display/D3DTester.h"

#include "graphics/display/D3DVertex.h"
#include "graphics/display/DisplayTestSupport.h"
#include "graphics/display/TextureData.h"
#include "platform/d3d/D3DConstants.h"
#include "platform/fs/FileOps.h"
#include "platform/registry/RegistryStore.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace Platform;
using DisplayTest::CallsOf;
using Tandry::D3DTester;

constexpr const char* kCacheKey = "SOFTWARE\\Hollowmere\\Moorglen\\Test3D";
// The stand-in's adapter identity as the registry keeps it: Data1, Data2 and
// Data3 low byte first, then the eight bytes.
const std::vector<uint8_t> kStandInGuid{0x72, 0x6F, 0x6F, 0x6D, 0x6C, 0x67, 0x6E, 0x65,
                                        0x73, 0x6F, 0x66, 0x74, 0x33, 0x64, 0x00, 0x01};
// Seconds since 1970 of 2001-06-15 and 2003-06-15, noon UTC.
constexpr int64_t kMid2001 = 992606400;
constexpr int64_t kMid2003 = 1055678400;

std::vector<uint8_t> Dword(uint32_t value)
{
    return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value >> 16),
            static_cast<uint8_t>(value >> 24)};
}

std::vector<uint8_t> Text(const std::string& text)
{
    std::vector<uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    return bytes;
}

std::array<uint32_t, 6> AllLiveCounts()
{
    DDrawRuntime& runtime = DDrawRuntime::Get();
    return {runtime.LiveCount(DDrawObjectKind::DirectDraw), runtime.LiveCount(DDrawObjectKind::Surface),
            runtime.LiveCount(DDrawObjectKind::Clipper),    runtime.LiveCount(DDrawObjectKind::Palette),
            runtime.LiveCount(DDrawObjectKind::Direct3D),   runtime.LiveCount(DDrawObjectKind::Device)};
}

class D3DTesterTest : public DisplayTest::DisplayFixture {
protected:
    void SetUp() override
    {
        DisplayFixture::SetUp();
        Tandry::ResetD3DTesterGlobals();
        mOldFolder = GetCurrentFolder();
        mFolder = mPlatform->Folders().GetRoot() + "/program";
        MakeFolder(mFolder);
        SetCurrentFolder(mFolder);
        mHost.settings.registryKey = "Hollowmere\\Moorglen";
        // The driver: a file written just now, so the card counts as supported.
        mDriver = mFolder + "/driver.so";
        WriteFile(mDriver, "driver");
        Fresh();
    }

    // The stand-ins at their start but for the driver, no cache, and a
    // display that looked up "DirectDrawCreateEx" as the tester does.
    void Fresh()
    {
        Restart();
        Change([&](DDrawSettings& s) { s.driverName = mDriver; });
        RegistryKey key;
        if (mPlatform->Registry().OpenKey(kCacheKey, key)) {
            for (const char* name : {"Version", "MinVidMemory", "RecVidMemory", "DisplayGUID", "FailureReason", "Warning"})
                mPlatform->Registry().DeleteValue(key, name);
        }
        MakeDisplay();
    }

    void TearDown() override
    {
        SetCurrentFolder(mOldFolder);
        Tandry::ResetD3DTesterGlobals();
        DisplayFixture::TearDown();
    }

    static void WriteFile(const std::string& path, const std::string& contents)
    {
        FILE* file = OpenFile(path, "wb");
        ASSERT_NE(file, nullptr) << path;
        std::fwrite(contents.data(), 1, contents.size(), file);
        std::fclose(file);
    }

    static void SetWriteTime(const std::string& path, int64_t unixSeconds)
    {
        const auto when = std::chrono::sys_seconds{std::chrono::seconds{unixSeconds}};
        std::filesystem::last_write_time(path, std::chrono::file_clock::from_sys(when));
    }

    void Change(const std::function<void(DDrawSettings&)>& change)
    {
        DDrawSettings settings = Settings();
        change(settings);
        SetSettings(settings);
    }

    // A tester with the application's default limits, run on its own DirectDraw object.
    void Run(D3DTester& tester)
    {
        tester.mMinVidMemory = 6;
        tester.mRecVidMemory = 14;
        tester.Run(nullptr, mWindow);
    }

    void Store(const std::string& name, uint32_t type, const std::vector<uint8_t>& data)
    {
        RegistryKey key;
        ASSERT_TRUE(mPlatform->Registry().CreateKey(kCacheKey, key));
        ASSERT_TRUE(mPlatform->Registry().SetValue(key, name, type, data.data(), static_cast<uint32_t>(data.size())));
    }

    // The cache a run on the stand-in's defaults writes, with the given texts.
    void StoreCache(const std::string& failure, const std::string& warning,
                    const std::vector<uint8_t>& guid = kStandInGuid)
    {
        Store("Version", REG_DWORD, Dword(2));
        Store("MinVidMemory", REG_DWORD, Dword(6));
        Store("RecVidMemory", REG_DWORD, Dword(14));
        Store("DisplayGUID", REG_BINARY, guid);
        Store("FailureReason", REG_SZ, Text(failure));
        Store("Warning", REG_SZ, Text(warning));
    }

    const RegistryStore::Key* CacheKey()
    {
        snapshot = mPlatform->Registry().Snapshot();
        const auto& keys = snapshot.Keys();
        const auto found = keys.find(RegistryStore::FoldCase("SOFTWARE\\Hollowmere\\Moorglen\\Test3D"));
        return found != keys.end() ? &found->second : nullptr;
    }

    size_t Count(DDrawOp op) { return CallsOf(CallLog(), op).size(); }

    std::string mOldFolder;
    std::string mFolder;
    std::string mDriver;
    RegistryStore snapshot;
};

TEST_F(D3DTesterTest, TheStandInPassesOnEveryDisplayFormatItDraws)
{
    for (DDrawFormat format : {DDrawFormat::X8R8G8B8, DDrawFormat::R5G6B5, DDrawFormat::X1R5G5B5,
                               DDrawFormat::BGR565}) {
        SCOPED_TRACE(static_cast<int>(format));
        Fresh();
        SetDesktopFormat(format);
        const auto before = AllLiveCounts();
        D3DTester tester;
        Run(tester);
        EXPECT_EQ(tester.mFailureReason, "");
        EXPECT_EQ(tester.mWarning, "");
        EXPECT_TRUE(tester.PassedWithoutWarning());
        EXPECT_TRUE(Tandry::gUse32BitTestTextures);
        // Four blend tests draw twice, the clipping test once.
        EXPECT_EQ(Count(DDrawOp::DrawPrimitive), 9u);
        EXPECT_EQ(Count(DDrawOp::BeginScene), 5u);
        EXPECT_EQ(Count(DDrawOp::EndScene), 5u);
        EXPECT_EQ(AllLiveCounts(), before);
    }
}

TEST_F(D3DTesterTest, ATwentyFourBitDisplayFailsTheFirstTestAndRunsNoOther)
{
    SetDesktopFormat(DDrawFormat::R8G8B8);
    D3DTester tester;
    Run(tester);
    EXPECT_EQ(tester.mFailureReason, "Can't test 24-bit mode.");
    EXPECT_EQ(Count(DDrawOp::DrawPrimitive), 2u);
    EXPECT_EQ(Count(DDrawOp::BeginScene), 1u);
    EXPECT_EQ(AllLiveCounts(), (std::array<uint32_t, 6>{}));
}

TEST_F(D3DTesterTest, FailuresBeforeTheRenderTestsGiveTheirTexts)
{
    struct Case {
        const char* name;
        std::function<void()> prepare;
        std::string failure;
        bool deviceMade;
    };
    const Case cases[] = {
        {"8-bit display", [this] { SetDesktopFormat(DDrawFormat::P8); },
         "DXError - CreateDevice: DDERR_INVALIDPIXELFORMAT", false},
        {"no Direct3D",
         [this] { Inject(DDrawFault::OfInterface(IID_IDirect3D7, E_NOINTERFACE)); },
         "DXError - QueryInterface IID_IDirect3D7: DSERR_NOINTERFACE", false},
        {"second texture refused",
         [this] {
             DDrawFault fault{DDrawOp::CreateSurface, DDERR_OUTOFVIDEOMEMORY, 1, DDSCAPS_TEXTURE};
             fault.skip = 1;
             Inject(fault);
         },
         "DXError - CreateSurface (TextureSurfacd2): DDERR_OUTOFVIDEOMEMORY", true},
        {"first texture refused",
         [this] { Inject(DDrawFault{DDrawOp::CreateSurface, DDERR_OUTOFVIDEOMEMORY, 1, DDSCAPS_TEXTURE}); },
         "DXError - CreateSurface (TextureSurface1): DDERR_OUTOFVIDEOMEMORY", true},
        {"render surface refused",
         [this] { Inject(DDrawFault{DDrawOp::CreateSurface, DDERR_OUTOFVIDEOMEMORY, 1, DDSCAPS_3DDEVICE}); },
         "DXError - CreateSurface (Primary): DDERR_OUTOFVIDEOMEMORY", false},
        {"identity refused",
         [this] { Inject(DDrawFault{DDrawOp::GetDeviceIdentifier, DSERR_GENERIC}); },
         "DXError - GetDeviceIdentifier: DSERR_GENERIC", false},
        {"no texture format",
         [this] { Change([](DDrawSettings& s) { s.textureFormats.clear(); }); },
         "A4R4G4B4 and A8R8G8B8 texture formats not supported.", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fresh();
        c.prepare();
        D3DTester tester;
        Run(tester);
        EXPECT_EQ(tester.mFailureReason, c.failure);
        EXPECT_EQ(Count(DDrawOp::CreateDevice) == 1 && CallsOf(CallLog(), DDrawOp::CreateDevice)[0].result >= 0,
                  c.deviceMade);
        EXPECT_EQ(Count(DDrawOp::DrawPrimitive), 0u);
        EXPECT_EQ(AllLiveCounts(), (std::array<uint32_t, 6>{}));
    }
}

TEST_F(D3DTesterTest, WithoutDirectDrawCreateExNothingIsMade)
{
    Change([](DDrawSettings& s) { s.hasDirectDrawCreateEx = false; });
    MakeDisplay();
    ASSERT_EQ(Tandry::gDirectDrawCreateEx, nullptr);
    D3DTester tester;
    Run(tester);
    EXPECT_EQ(tester.mFailureReason, "No DirectDrawCreateEx");
    EXPECT_TRUE(CallLog().empty());
}

TEST_F(D3DTesterTest, VideoMemoryCountsTheScreenAndTheCard)
{
    // (1024 x 768 x 4 + card) >> 20 against 6 MB.
    struct Case {
        uint32_t card;
        bool queryFails;
        bool enough;
    };
    for (const Case& c : {Case{2u << 20, false, false}, Case{3u << 20, false, true}, Case{2u << 20, true, true}}) {
        SCOPED_TRACE(testing::Message() << c.card << " " << c.queryFails);
        Fresh();
        mPlatform->Windows().SetScreenSize(1024, 768);
        Change([&](DDrawSettings& s) { s.videoMemoryTotal = c.card; });
        if (c.queryFails)
            Inject(DDrawFault{DDrawOp::GetAvailableVidMem, DSERR_GENERIC});
        D3DTester tester;
        Run(tester);
        EXPECT_EQ(tester.mFailureReason, c.enough ? "" : "Not enough video memory.");
        EXPECT_EQ(Count(DDrawOp::CreateDevice), c.enough ? 1u : 0u);
        const auto memory = CallsOf(CallLog(), DDrawOp::GetAvailableVidMem);
        ASSERT_EQ(memory.size(), 1u);
        EXPECT_EQ(memory[0].caps, DDSCAPS_VIDEOMEMORY);
    }
}

TEST_F(D3DTesterTest, WithoutA8R8G8B8TheTexturesAre4444AndEveryTestRuns)
{
    Change([](DDrawSettings& s) {
        s.textureFormats = {Tandry::MakeTexturePixelFormat(Tandry::kTextureA4R4G4B4)};
    });
    D3DTester tester;
    Run(tester);
    EXPECT_EQ(tester.mFailureReason, "");
    EXPECT_EQ(tester.mWarning, "A8R8G8B8 texture format not supported.");
    EXPECT_FALSE(Tandry::gUse32BitTestTextures);
    EXPECT_EQ(Count(DDrawOp::DrawPrimitive), 9u);
    for (const DDrawCall& call : CallsOf(CallLog(), DDrawOp::CreateSurface)) {
        if ((call.caps & DDSCAPS_TEXTURE) != 0) {
            EXPECT_EQ(call.result, DD_OK);
        }
    }
}

TEST_F(D3DTesterTest, ACachedPassSkipsEveryTestAfterTheMemoryCheck)
{
    StoreCache("", "slow card");
    D3DTester tester;
    Run(tester);
    EXPECT_TRUE(tester.Passed());
    EXPECT_EQ(tester.mWarning, "slow card");
    EXPECT_FALSE(tester.mFreshResult);
    EXPECT_EQ(Count(DDrawOp::GetAvailableVidMem), 1u);
    EXPECT_EQ(Count(DDrawOp::QueryInterface), 0u);
    EXPECT_EQ(Count(DDrawOp::CreateDevice), 0u);
    EXPECT_EQ(AllLiveCounts(), (std::array<uint32_t, 6>{}));
}

TEST_F(D3DTesterTest, TheCacheIsTestedAgainUnlessItHoldsAPassForThisCardAndTheseLimits)
{
    struct Case {
        const char* name;
        std::function<void()> store;
        bool fresh;
    };
    auto guid = kStandInGuid;
    guid[15] ^= 1;
    const Case cases[] = {
        {"a cached failure", [this] { StoreCache("Alpha blend Not Supported", ""); }, false},
        {"another adapter", [&, this] { StoreCache("", "", guid); }, true},
        {"other limits",
         [this] {
             StoreCache("", "");
             Store("RecVidMemory", REG_DWORD, Dword(32));
         },
         true},
        {"an old version",
         [this] {
             StoreCache("", "");
             Store("Version", REG_DWORD, Dword(1));
         },
         true},
        {"no cache", [] {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fresh();
        c.store();
        D3DTester tester;
        Run(tester);
        EXPECT_TRUE(tester.PassedWithoutWarning()) << tester.mFailureReason << tester.mWarning;
        EXPECT_EQ(tester.mFreshResult, c.fresh);
        EXPECT_EQ(Count(DDrawOp::DrawPrimitive), 9u);
    }
}

TEST_F(D3DTesterTest, ARunLeavesExactlyTheSixCacheValues)
{
    D3DTester tester;
    Run(tester);
    ASSERT_TRUE(tester.PassedWithoutWarning());
    const RegistryStore::Key* key = CacheKey();
    ASSERT_NE(key, nullptr);
    const std::vector<RegistryValue> expected{
        {"Version", REG_DWORD, Dword(2)},          {"MinVidMemory", REG_DWORD, Dword(6)},
        {"RecVidMemory", REG_DWORD, Dword(14)},    {"DisplayGUID", REG_BINARY, kStandInGuid},
        {"FailureReason", REG_SZ, {0}},            {"Warning", REG_SZ, {0}},
    };
    EXPECT_EQ(key->values, expected);

    // A failure stored by a run that ended before the cache was read.
    Fresh();
    mPlatform->Windows().SetScreenSize(1024, 768);
    Change([&](DDrawSettings& s) { s.videoMemoryTotal = 1u << 20; });
    D3DTester poor;
    Run(poor);
    EXPECT_TRUE(poor.mFreshResult);
    key = CacheKey();
    ASSERT_NE(key, nullptr);
    ASSERT_EQ(key->values.size(), 6u);
    EXPECT_EQ(key->values[4].data, Text("Not enough video memory."));
    // The same again: the stored failure makes it no longer fresh.
    D3DTester again;
    Run(again);
    EXPECT_EQ(again.mFailureReason, "Not enough video memory.");
    EXPECT_FALSE(again.mFreshResult);
}

TEST_F(D3DTesterTest, WithoutARegistryKeyTheCacheIsNotUsed)
{
    mHost.settings.registryKey.clear();
    D3DTester tester;
    Run(tester);
    EXPECT_TRUE(tester.PassedWithoutWarning());
    EXPECT_TRUE(tester.mFreshResult);
    EXPECT_EQ(CacheKey(), nullptr);
}

// The cache values as a player may have edited them.
TEST_F(D3DTesterTest, MalformedCacheValuesCountAsMissing)
{
    struct Case {
        const char* name;
        const char* value;
        uint32_t type;
        std::vector<uint8_t> data;
    };
    const Case cases[] = {
        {"Version as text", "Version", REG_SZ, Text("2")},
        {"Version of 2 bytes", "Version", REG_DWORD, {2, 0}},
        {"Version of 8 bytes", "Version", REG_DWORD, {2, 0, 0, 0, 0, 0, 0, 0}},
        {"MinVidMemory as binary", "MinVidMemory", REG_BINARY, Dword(6)},
        {"RecVidMemory of 3 bytes", "RecVidMemory", REG_DWORD, {14, 0, 0}},
        {"GUID of 15 bytes", "DisplayGUID", REG_BINARY, std::vector<uint8_t>(kStandInGuid.begin(), kStandInGuid.end() - 1)},
        {"GUID as text", "DisplayGUID", REG_SZ, kStandInGuid},
        {"failure as a number", "FailureReason", REG_DWORD, Dword(0)},
        {"warning as a number", "Warning", REG_DWORD, Dword(0)},
        {"failure of 5000 bytes", "FailureReason", REG_SZ, std::vector<uint8_t>(5000, 'x')},
        {"warning of 4097 bytes", "Warning", REG_SZ, std::vector<uint8_t>(4097, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fresh();
        StoreCache("", "");
        Store(c.value, c.type, c.data);
        D3DTester tester;
        tester.mMinVidMemory = 6;
        tester.mRecVidMemory = 14;
        tester.mDeviceGuid = Settings().deviceGuid;
        tester.OpenCache("Hollowmere\\Moorglen");
        EXPECT_FALSE(tester.LoadCache());
        EXPECT_TRUE(tester.mFreshResult);
    }
}

TEST_F(D3DTesterTest, CachedTextsEndAtTheirZeroByteOrTheirStoredLength)
{
    struct Case {
        const char* name;
        std::vector<uint8_t> stored;
        std::string text;
    };
    std::vector<uint8_t> full(4096, 'w');
    std::vector<uint8_t> early{'a', 'b', 0, 'c', 'd'};
    const Case cases[] = {
        // All 4096 bytes without a terminator: the text is exactly those.
        {"4096 bytes, no terminator", full, std::string(4096, 'w')},
        {"a zero inside", early, "ab"},
        {"no terminator, short", {'o', 'k'}, "ok"},
        {"empty", {}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fresh();
        StoreCache("", "");
        Store("Warning", REG_SZ, c.stored);
        D3DTester tester;
        tester.mMinVidMemory = 6;
        tester.mRecVidMemory = 14;
        tester.mDeviceGuid = Settings().deviceGuid;
        tester.OpenCache("Hollowmere\\Moorglen");
        EXPECT_TRUE(tester.LoadCache());
        EXPECT_FALSE(tester.mFreshResult);
        EXPECT_EQ(tester.mWarning, c.text);
    }
    // The same length as a failure reason: a cached failure, tested again.
    Fresh();
    StoreCache("", "");
    Store("FailureReason", REG_SZ, full);
    D3DTester tester;
    Run(tester);
    EXPECT_FALSE(tester.mFreshResult);
    EXPECT_TRUE(tester.PassedWithoutWarning());
    EXPECT_EQ(Count(DDrawOp::DrawPrimitive), 9u);
}

TEST_F(D3DTesterTest, CardListsAndTheDriverYearDecideWhetherTheCardIsSupported)
{
    struct Case {
        const char* name;
        const char* refused;  // contents of "vhwb.dat", or null for none
        const char* accepted; // contents of "vhw.dat", or null for none
        int year;
        const char* description;
        bool supported;
    };
    const Case cases[] = {
        {"refused by a trimmed line", "geforce\n  radeon 9 \r\n", nullptr, 2005, "RADEON 9600", false},
        {"refused list wins over the accepted one", "radeon", "radeon", 2005, "RADEON 9600", false},
        {"not on the accepted list", nullptr, "GeForce\n", 2005, "RADEON 9600", false},
        {"on the accepted list", "GeForce", "9600", 1999, "RADEON 9600", true},
        {"old driver, unknown maker", nullptr, nullptr, 2001, "Software 3D device", false},
        {"new driver, unknown maker", nullptr, nullptr, 2003, "Software 3D device", true},
        {"2002 counts as new", nullptr, nullptr, 2002, "Software 3D device", true},
        {"no date, known maker", nullptr, nullptr, 0, "NVIDIA GeForce", true},
        {"old driver, radeon", nullptr, nullptr, 2001, "Radeon 7000", true},
        {"old driver, ati", nullptr, nullptr, 2001, "ATI Rage 128", true},
        {"'ati' inside a word is no maker", nullptr, nullptr, 2001, "Corporation", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RemoveFile("vhwb.dat");
        RemoveFile("vhw.dat");
        if (c.refused != nullptr)
            WriteFile("vhwb.dat", c.refused);
        if (c.accepted != nullptr)
            WriteFile("vhw.dat", c.accepted);
        D3DTester tester;
        tester.mDriverYear = c.year;
        EXPECT_EQ(tester.IsSupportedCard(c.description), c.supported);
    }
}

TEST_F(D3DTesterTest, AnUnsupportedCardIsAWarningWithItsDescription)
{
    WriteFile("vhwb.dat", "  radeon 9 \r\n");
    for (const char* description : {"RADEON 9600", "RADEON 9%s%n%d"}) {
        SCOPED_TRACE(description);
        Fresh();
        Change([&](DDrawSettings& s) { s.deviceDescription = description; });
        D3DTester tester;
        Run(tester);
        EXPECT_TRUE(tester.Passed());
        EXPECT_EQ(tester.mWarning, std::string("Unsupported video card: ") + description);
        EXPECT_EQ(Count(DDrawOp::DrawPrimitive), 9u);
    }
}

TEST_F(D3DTesterTest, TheDriverYearIsTheLastWriteOfTheDriverFile)
{
    const std::string system = mPlatform->Folders().GetRoot() + "/system";
    MakeFolder(system);
    mPlatform->Folders().SetSystemFolder(system);
    WriteFile(system + "/Old.dll", "old");
    SetWriteTime(system + "/Old.dll", kMid2001);
    WriteFile(system + "/new.dll", "new");
    SetWriteTime(system + "/new.dll", kMid2003);
    // The same bare name in the current folder is not the one looked at.
    WriteFile("here.dll", "here");
    MakeFolder("sub");
    WriteFile("sub/Deep.dll", "deep");
    SetWriteTime("sub/Deep.dll", kMid2001);
    struct Case {
        std::string driver;
        int year;
    };
    const Case cases[] = {
        {"old.dll", 2001},        // bare: from the system folder, whatever the case
        {"new.dll", 2003},
        {"here.dll", 0},          // bare, but not in the system folder
        {"sub\\deep.dll", 2001},  // with a separator: as it stands
        {mFolder + "/sub/Deep.dll", 2001},
        {"missing/none.dll", 0},
        {"", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.driver);
        Fresh();
        Change([&](DDrawSettings& s) { s.driverName = c.driver; });
        D3DTester tester;
        tester.mDriverYear = 1234;
        Run(tester);
        EXPECT_EQ(tester.mDriverYear, c.year);
        // The stand-in's description names no maker: an old or unknown driver is a warning.
        EXPECT_EQ(tester.mWarning.empty(), c.year >= 2002);
    }
}

TEST_F(D3DTesterTest, AFailedDrawEndsTheSceneAndNoLaterTestRuns)
{
    Inject(DDrawFault{DDrawOp::DrawPrimitive, DDERR_SURFACELOST});
    D3DTester tester;
    Run(tester);
    EXPECT_EQ(tester.mFailureReason, "DXError - DrawPrimitive: DDERR_SURFACELOST");
    const std::vector<DDrawCall> log = CallLog();
    EXPECT_EQ(CallsOf(log, DDrawOp::BeginScene).size(), 1u);
    EXPECT_EQ(CallsOf(log, DDrawOp::DrawPrimitive).size(), 1u);
    // EndScene comes after the failed draw.
    size_t draw = 0;
    size_t end = 0;
    for (size_t i = 0; i < log.size(); ++i) {
        if (log[i].op == DDrawOp::DrawPrimitive)
            draw = i;
        if (log[i].op == DDrawOp::EndScene)
            end = i;
    }
    EXPECT_GT(end, draw);
    EXPECT_EQ(AllLiveCounts(), (std::array<uint32_t, 6>{}));
}

TEST_F(D3DTesterTest, ATestImageIsDrawnInTilesAndPartTilesComeFromZeroedTextures)
{
    D3DTester tester;
    tester.mUseCache = false;
    ASSERT_TRUE(tester.Init(nullptr, mWindow));
    DDrawRuntime::Get().ClearCallLog();
    Tandry::D3DTestImage image;
    image.Resize(100, 70);
    for (size_t i = 0; i < image.mBits.size(); ++i)
        image.mBits[i] = 0xFF000000u | static_cast<uint32_t>(i);
    ASSERT_EQ(tester.mD3DDevice->BeginScene(), DD_OK);
    tester.DrawTestImage(image, 5, 7, 0xFFFFFFFF);
    tester.mD3DDevice->EndScene();

    const std::vector<DDrawCall> draws = CallsOf(CallLog(), DDrawOp::DrawPrimitive);
    ASSERT_EQ(draws.size(), 4u);
    const float corners[4][2] = {{0, 0}, {64, 0}, {0, 64}, {64, 64}};
    for (size_t i = 0; i < draws.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(draws[i].primitiveType, D3DPT_TRIANGLESTRIP);
        EXPECT_EQ(draws[i].vertexFormat, 0x1C4u);
        ASSERT_EQ(draws[i].vertices.size(), 4 * sizeof(Tandry::D3DVertex));
        Tandry::D3DVertex v[4];
        std::memcpy(v, draws[i].vertices.data(), sizeof(v));
        const float x = 5 + corners[i][0];
        const float y = 7 + corners[i][1];
        EXPECT_EQ(v[0].x, x - 0.5f);
        EXPECT_EQ(v[0].y, y - 0.5f);
        EXPECT_EQ(v[3].x, x + 63.5f);
        EXPECT_EQ(v[3].y, y + 63.5f);
        EXPECT_EQ(v[1].u, 0.0f);
        EXPECT_EQ(v[1].v, 1.0f);
        EXPECT_EQ(v[2].u, 1.0f);
        EXPECT_EQ(v[2].v, 0.0f);
        EXPECT_EQ(v[0].color, 0xFFFFFFFFu);
    }
    // The last tile was 36 x 6: the texture holds it and zero around it.
    DDSURFACEDESC2 desc;
    desc.dwSize = sizeof(desc);
    ASSERT_EQ(tester.mTextureSurface1->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
    for (uint32_t y = 0; y < 64; ++y) {
        for (uint32_t x = 0; x < 64; ++x) {
            uint32_t texel;
            std::memcpy(&texel, static_cast<const uint8_t*>(desc.lpSurface) + y * desc.lPitch + 4 * x, 4);
            const uint32_t expected = x < 36 && y < 6 ? image.GetPixel(64 + static_cast<int>(x), 64 + static_cast<int>(y)) : 0;
            ASSERT_EQ(texel, expected) << x << "," << y;
        }
    }
    tester.mTextureSurface1->Unlock(nullptr);
}

TEST(D3DTesterHelpers, SurfacePixelsAreReadByTheirMasks)
{
    struct Case {
        uint32_t pixel, red, green, blue, argb;
    };
    const Case cases[] = {
        {0xFFFF, 0xF800, 0x07E0, 0x001F, 0xFFF8FCF8}, // 565 white
        {0x07E0, 0xF800, 0x07E0, 0x001F, 0xFF00FC00},
        {0x001F, 0x001F, 0x07E0, 0xF800, 0xFFF80000}, // BGR565: red in the low bits
        {0xF800, 0x001F, 0x07E0, 0xF800, 0xFF0000F8},
        {0x7FFF, 0x7C00, 0x03E0, 0x001F, 0xFFF8F8F8}, // 555
        {0x00123456, 0xFF0000, 0xFF00, 0xFF, 0xFF123456},
        {0x12345678, 0xFF0000, 0xFF00, 0xFF, 0xFF345678},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Tandry::ConvertSurfacePixel(c.pixel, c.red, c.green, c.blue), c.argb) << std::hex << c.pixel;
    EXPECT_EQ(Tandry::HighestBitIndex(0), -1);
    EXPECT_EQ(Tandry::HighestBitIndex(1), 0);
    EXPECT_EQ(Tandry::HighestBitIndex(0xF800), 15);
    EXPECT_EQ(Tandry::HighestBitIndex(0x80000000), 31);
}

TEST(D3DTesterHelpers, A4R4G4B4TexelsKeepTheTopFourBitsOfEachChannel)
{
    const uint32_t pixels[3] = {0x80FF4010, 0xFFFFFFFF, 0x0F0F0F0F};
    uint8_t row[6] = {};
    Tandry::UploadTile4444(pixels, 3, row);
    EXPECT_EQ(row[0] | row[1] << 8, 0x8F41);
    EXPECT_EQ(row[2] | row[3] << 8, 0xFFFF);
    EXPECT_EQ(row[4] | row[5] << 8, 0x0000);
}

TEST(D3DTesterHelpers, TheDriverYearIsTheUtcYearOfTheFileTime)
{
    // FILETIME = (seconds since 1970 + 11644473600) x 10^7.
    auto fileTime = [](int64_t unix) { return static_cast<uint64_t>(unix + 11644473600) * 10000000u; };
    EXPECT_EQ(Tandry::FileTimeYear(0), 1601);
    EXPECT_EQ(Tandry::FileTimeYear(fileTime(0)), 1970);
    EXPECT_EQ(Tandry::FileTimeYear(fileTime(1009843199)), 2001); // 2001-12-31 23:59:59
    EXPECT_EQ(Tandry::FileTimeYear(fileTime(1009843200)), 2002); // 2002-01-01 00:00:00
    EXPECT_EQ(Tandry::FileTimeYear(fileTime(951782400)), 2000);  // 2000-02-29
    EXPECT_EQ(Tandry::FileTimeYear(fileTime(-1)), 1969);
    EXPECT_GT(Tandry::FileTimeYear(~uint64_t{0}), 50000);
}

TEST(D3DTesterHelpers, DXErrorThrowsOnlyForFailures)
{
    EXPECT_NO_THROW(Tandry::DXError(0, "Clear"));
    EXPECT_NO_THROW(Tandry::DXError(1, "Clear"));
    try {
        Tandry::DXError(static_cast<HRESULT>(0x887601C2u), "CopyPrimary Lock");
        FAIL();
    } catch (const D3DTester::TestException& e) {
        EXPECT_STREQ(e.what(), "DXError - CopyPrimary Lock: DDERR_SURFACELOST");
    }
    EXPECT_FALSE(Tandry::GetAdapterIdentifier8(nullptr, nullptr, nullptr));
}

} // namespace
