// The display's decision on 3D drawing: when it runs the capability test, how
// the test's outcome sets the 3D flag, the application told once of a fresh
// result, and the display's own DirectDraw object lent to the test and given
// back.
#include "graphics/display/D3DTester.h"

#include "graphics/display/DisplayTestSupport.h"
#include "graphics/display/TextureData.h"
#include "platform/fs/FileOps.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace Platform;
using DisplayTest::CallsOf;

constexpr const char* kCacheKey = "SOFTWARE\\Hollowmere\\Moorglen\\Test3D";

class DDInterfaceCapability : public DisplayTest::DisplayFixture {
protected:
    void SetUp() override
    {
        DisplayFixture::SetUp();
        Tandry::ResetD3DTesterGlobals();
        mOldFolder = GetCurrentFolder();
        const std::string folder = mPlatform->Folders().GetRoot() + "/program";
        MakeFolder(folder);
        SetCurrentFolder(folder);
        mDriver = folder + "/driver.so";
        FILE* file = OpenFile(mDriver, "wb");
        ASSERT_NE(file, nullptr);
        std::fclose(file);
        mHost.settings.registryKey = "Hollowmere\\Moorglen";
    }
    void TearDown() override
    {
        SetCurrentFolder(mOldFolder);
        Tandry::ResetD3DTesterGlobals();
        DisplayFixture::TearDown();
    }

    void Fresh()
    {
        Restart();
        DDrawSettings settings = Settings();
        settings.driverName = mDriver;
        SetSettings(settings);
        mHost.testDoneCalls = 0;
        mHost.synced.clear();
        RegistryKey key;
        if (mPlatform->Registry().OpenKey(kCacheKey, key)) {
            for (const char* name : {"Version", "MinVidMemory", "RecVidMemory", "DisplayGUID", "FailureReason", "Warning"})
                mPlatform->Registry().DeleteValue(key, name);
        }
        MakeDisplay();
    }

    void StoreCache(const std::string& failure, const std::string& warning)
    {
        // A run on the stand-in's defaults writes the cache the next run matches.
        Tandry::D3DTester writer;
        writer.mMinVidMemory = mHost.settings.minVidMemoryMB;
        writer.mRecVidMemory = mHost.settings.recVidMemoryMB;
        writer.mDeviceGuid = Settings().deviceGuid;
        writer.mFailureReason = failure;
        writer.mWarning = warning;
        writer.OpenCache(mHost.settings.registryKey);
        writer.WriteCache();
    }

    std::array<uint32_t, 6> Live()
    {
        DDrawRuntime& runtime = DDrawRuntime::Get();
        return {runtime.LiveCount(DDrawObjectKind::DirectDraw), runtime.LiveCount(DDrawObjectKind::Surface),
                runtime.LiveCount(DDrawObjectKind::Clipper),    runtime.LiveCount(DDrawObjectKind::Palette),
                runtime.LiveCount(DDrawObjectKind::Direct3D),   runtime.LiveCount(DDrawObjectKind::Device)};
    }

    std::string mOldFolder;
    std::string mDriver;
};

TEST_F(DDInterfaceCapability, TheOutcomeSetsTheThreeDFlag)
{
    enum Outcome { CleanPass, PassWithWarning, Failure };
    struct Case {
        bool test3D;
        bool autoEnable3D;
        Outcome outcome;
        bool cached;
        bool is3DBefore;
        // What follows: a tester made, fresh, and the flag after.
        bool ran;
        bool fresh;
        bool is3DAfter;
    };
    const Case cases[] = {
        // Nobody asks: no test, the flag stays as the stored choice set it.
        {false, false, CleanPass, false, false, false, false, false},
        {false, false, Failure, false, true, false, false, true},
        // Automatic: a clean pass turns 3D on, fresh or cached.
        {false, true, CleanPass, false, false, true, true, true},
        {false, true, CleanPass, true, false, true, false, true},
        // A warning: a fresh one turns 3D off, a cached one leaves the flag.
        {false, true, PassWithWarning, false, true, true, true, false},
        {false, true, PassWithWarning, true, true, true, false, true},
        {false, true, PassWithWarning, true, false, true, false, false},
        // A failure always turns 3D off.
        {false, true, Failure, false, true, true, true, false},
        {false, true, Failure, true, true, true, false, false},
        // The player's choice: a pass keeps it, a warning keeps it unless fresh.
        {true, false, CleanPass, false, true, true, true, true},
        {true, false, CleanPass, false, false, true, true, false},
        {true, false, CleanPass, true, true, true, false, true},
        {true, false, PassWithWarning, false, true, true, true, false},
        {true, false, PassWithWarning, true, true, true, false, true},
        {true, false, Failure, true, true, true, false, false},
        {true, true, CleanPass, false, false, true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "test3D " << c.test3D << " auto " << c.autoEnable3D << " outcome "
                                        << c.outcome << " cached " << c.cached << " is3D " << c.is3DBefore);
        Fresh();
        mHost.settings.test3D = c.test3D;
        mHost.settings.autoEnable3D = c.autoEnable3D;
        DDrawSettings settings = Settings();
        if (c.outcome == PassWithWarning)
            settings.textureFormats = {Tandry::MakeTexturePixelFormat(Tandry::kTextureA4R4G4B4)};
        if (c.outcome == Failure)
            settings.hasDirect3D = false;
        SetSettings(settings);
        if (c.cached)
            StoreCache(c.outcome == Failure ? "DXError - QueryInterface IID_IDirect3D7: DSERR_NOINTERFACE" : "",
                       c.outcome == PassWithWarning ? "A8R8G8B8 texture format not supported." : "");
        // As the stored choice set it before the display came up.
        mDisplay->mIs3D = c.is3DBefore;
        InitWindowed();
        ASSERT_EQ(mDisplay->mD3DTester != nullptr, c.ran);
        EXPECT_EQ(mDisplay->mIs3D, c.is3DAfter);
        EXPECT_EQ(mHost.testDoneCalls, c.ran && c.fresh ? 1 : 0);
        if (!c.ran) {
            EXPECT_TRUE(CallsOf(CallLog(), DDrawOp::GetDeviceIdentifier).empty());
            continue;
        }
        EXPECT_EQ(mDisplay->mD3DTester->mFreshResult, c.fresh);
        EXPECT_EQ(mDisplay->mD3DTester->Passed(), c.outcome != Failure);
        EXPECT_EQ(mDisplay->mD3DTester->PassedWithoutWarning(), c.outcome == CleanPass);
        // The result passes through the demo: failure reason, warning, fresh.
        ASSERT_EQ(mHost.synced.size(), 3u);
        EXPECT_EQ(mHost.synced[0], mDisplay->mD3DTester->mFailureReason);
        EXPECT_EQ(mHost.synced[1], mDisplay->mD3DTester->mWarning);
        EXPECT_EQ(mHost.synced[2], c.fresh ? "true" : "false");
    }
}

TEST_F(DDInterfaceCapability, OnlyTheFirstInitTests)
{
    Fresh();
    mHost.settings.autoEnable3D = true;
    ASSERT_EQ(InitWindowed(), 0);
    const Tandry::D3DTester* tester = mDisplay->mD3DTester;
    ASSERT_NE(tester, nullptr);
    EXPECT_TRUE(mDisplay->mIs3D);
    EXPECT_EQ(mHost.testDoneCalls, 1);
    // The player turns 3D off; a second Init neither tests nor turns it back on.
    mDisplay->mIs3D = false;
    DDrawRuntime::Get().ClearCallLog();
    ASSERT_EQ(InitWindowed(), 0);
    EXPECT_EQ(mDisplay->mD3DTester, tester);
    EXPECT_FALSE(mDisplay->mIs3D);
    EXPECT_EQ(mHost.testDoneCalls, 1);
    EXPECT_TRUE(CallsOf(CallLog(), DDrawOp::GetDeviceIdentifier).empty());
}

TEST_F(DDInterfaceCapability, TheDisplayKeepsItsDirectDrawObjectAndLeaksNothing)
{
    // The counts of a display brought up in 3D without the test...
    Fresh();
    mDisplay->mIs3D = true;
    ASSERT_EQ(InitWindowed(), 0);
    const auto plain = Live();
    // ...are those of one whose test turned 3D on.
    Fresh();
    mHost.settings.autoEnable3D = true;
    ASSERT_EQ(InitWindowed(), 0);
    ASSERT_TRUE(mDisplay->mIs3D);
    EXPECT_EQ(Live(), plain);
    // The test drew through the display's own object.
    const auto created = CallsOf(CallLog(), DDrawOp::DirectDrawCreateEx);
    EXPECT_EQ(created.size(), 1u);
    // And the display still works with it.
    ASSERT_EQ(InitWindowed(), 0);
    EXPECT_TRUE(mDisplay->Redraw(nullptr));
    mDisplay->Cleanup();
    EXPECT_EQ(Live(), (std::array<uint32_t, 6>{}));
}

TEST_F(DDInterfaceCapability, WithoutDirectDrawCreateExTheTestFailsAndTheDisplayStaysIn2D)
{
    Fresh();
    DDrawSettings settings = Settings();
    settings.hasDirectDrawCreateEx = false;
    SetSettings(settings);
    MakeDisplay();
    mHost.settings.autoEnable3D = true;
    ASSERT_EQ(InitWindowed(), 0);
    ASSERT_NE(mDisplay->mD3DTester, nullptr);
    EXPECT_EQ(mDisplay->mD3DTester->mFailureReason, "No DirectDrawCreateEx");
    EXPECT_FALSE(mDisplay->mIs3D);
}

TEST_F(DDInterfaceCapability, WhileADemoPlaysTheResultComesFromTheDemo)
{
    Fresh();
    mHost.settings.autoEnable3D = true;
    mHost.settings.playingDemo = true;
    mHost.replayed = {"Alpha blend Not Supported", "", "true"};
    ASSERT_EQ(InitWindowed(), 0);
    ASSERT_NE(mDisplay->mD3DTester, nullptr);
    EXPECT_EQ(mDisplay->mD3DTester->mFailureReason, "Alpha blend Not Supported");
    EXPECT_TRUE(mDisplay->mD3DTester->mFreshResult);
    EXPECT_FALSE(mDisplay->mIs3D);
    EXPECT_EQ(mHost.testDoneCalls, 1);
    // Nothing asked of the card or the registry.
    const std::vector<DDrawCall> log = CallLog();
    EXPECT_TRUE(CallsOf(log, DDrawOp::GetDeviceIdentifier).empty());
    EXPECT_TRUE(CallsOf(log, DDrawOp::CreateDevice).empty());
    RegistryKey key;
    EXPECT_FALSE(mPlatform->Registry().OpenKey(kCacheKey, key));
}

} // namespace
