// The capability test inside the application, headless on the stand-ins: a
// first start tests the card, stores the result and draws in 3D; a second
// start takes the stored result; a machine without Direct3D draws in 2D; and
// the result passes through a recorded or played demo.
#include "app/TandryAppBase.h"

#include "AppTestSupport.h"
#include "DisplayAppFixture.h"
#include "graphics/context/Graphics.h"
#include "graphics/display/D3DInterface.h"
#include "graphics/display/D3DTester.h"
#include "graphics/display/DDInterface.h"
#include "graphics/display/TextureData.h"
#include "platform/ddraw/DDrawRuntime.h"
#include "platform/fs/FileOps.h"
#include "platform/headless/HeadlessPresenter.h"
#include "platform/registry/RegistryStore.h"
#include "util/Buffer.h"
#include "widgets/Widget.h"
#include "widgets/WidgetManager.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

using Platform::DDrawCall;
using Platform::DDrawOp;

// The game's names with the game's wish for 3D when the card is good.
class AutoApp : public Tandry::TandryAppBase {
public:
    AutoApp()
    {
        mCompanyName = "Hollowmere";
        mProductName = "Moorglen";
        mRegistryKey = "Hollowmere\\Moorglen";
        mWidth = 1024;
        mHeight = 768;
        mAutoEnable3D = true;
    }
    void On3DTestDone() override { ++testDone; }
    AppTest::RecordingDemoSeam& Seam() { return static_cast<AppTest::RecordingDemoSeam&>(GetDemoSeam()); }

    int testDone = 0;
};

// Fills itself red.
class RedWidget : public Tandry::Widget {
public:
    void Draw(Tandry::Graphics* g) override
    {
        g->SetColor(Tandry::Color(255, 0, 0));
        g->FillRect(0, 0, width, height);
    }
};

std::vector<DDrawCall> CallsOf(DDrawOp op)
{
    std::vector<DDrawCall> kept;
    for (const DDrawCall& call : Platform::DDrawRuntime::Get().GetCallLog()) {
        if (call.op == op)
            kept.push_back(call);
    }
    return kept;
}

std::vector<uint8_t> Block(const std::function<void(Tandry::Buffer&)>& put)
{
    Tandry::Buffer buffer;
    put(buffer);
    return std::vector<uint8_t>(buffer.GetData(), buffer.GetData() + buffer.GetByteSize());
}

class CapabilityApp : public AppTest::DisplayAppFixture {
protected:
    void SetUp() override
    {
        DisplayAppFixture::SetUp();
        Tandry::ResetD3DTesterGlobals();
        // The stand-in names the program file as its driver: written now, so
        // the card counts as supported.
        FILE* program = Platform::OpenFile(ProgramFolder() + "/moorglen", "wb");
        ASSERT_NE(program, nullptr);
        std::fclose(program);
        StoreDword("ScreenMode", 0);
    }

    void TearDown() override
    {
        Tandry::ResetD3DTesterGlobals();
        DisplayAppFixture::TearDown();
    }

    const Platform::RegistryStore::Key* CacheKey()
    {
        mSnapshot = platform->Registry().Snapshot();
        const auto found =
            mSnapshot.Keys().find(Platform::RegistryStore::FoldCase("SOFTWARE\\Hollowmere\\Moorglen\\Test3D"));
        return found != mSnapshot.Keys().end() ? &found->second : nullptr;
    }

    // A red frame drawn through the widget manager reaches the window.
    void ExpectARedFrame(AutoApp& app)
    {
        RedWidget widget;
        widget.Resize(0, 0, 200, 100);
        app.mWidgetManager->AddWidget(&widget);
        EXPECT_TRUE(app.DrawDirtyStuff());
        const Platform::HeadlessPresenter::Frame shown =
            dynamic_cast<Platform::HeadlessPresenter&>(platform->GetPresenter()).GetLastFrame();
        ASSERT_EQ(shown.width, 1024u);
        ASSERT_EQ(shown.height, 768u);
        auto isRed = [&](int x, int y) {
            const uint32_t pixel = shown.pixels[static_cast<size_t>(y) * shown.width + x];
            return (pixel >> 16 & 0xFF) >= 0xF0 && (pixel >> 8 & 0xFF) < 0x10;
        };
        for (const auto& [x, y] : {std::pair{0, 0}, std::pair{199, 99}, std::pair{100, 50}})
            EXPECT_TRUE(isRed(x, y)) << x << "," << y;
        EXPECT_FALSE(isRed(200, 50));
        EXPECT_FALSE(isRed(100, 100));
        app.mWidgetManager->RemoveWidget(&widget);
    }

    Platform::RegistryStore mSnapshot;
};

TEST_F(CapabilityApp, AFirstStartTestsTheCardAndDrawsIn3DAndASecondTakesTheStoredResult)
{
    {
        AutoApp app;
        app.Init();
        ASSERT_TRUE(app.mInitDone);
        Tandry::DDInterface& display = *app.mDDInterface;
        ASSERT_NE(display.mD3DTester, nullptr);
        EXPECT_EQ(display.mD3DTester->mFailureReason, "");
        EXPECT_EQ(display.mD3DTester->mWarning, "");
        EXPECT_TRUE(display.mD3DTester->mFreshResult);
        EXPECT_TRUE(display.mIs3D);
        EXPECT_TRUE(display.mInitialized);
        EXPECT_EQ(app.testDone, 1);
        EXPECT_TRUE(app.Is3DTestPassedWithoutWarning());
        // The tester's device and the display's.
        EXPECT_EQ(CallsOf(DDrawOp::CreateDevice).size(), 2u);
        const Platform::RegistryStore::Key* cache = CacheKey();
        ASSERT_NE(cache, nullptr);
        EXPECT_EQ(cache->values.size(), 6u);
        EXPECT_EQ(StoredDword("Is3D"), std::nullopt);
        ExpectARedFrame(app);
    }

    Platform::DDrawRuntime::Get().ClearCallLog();
    AutoApp again;
    again.Init();
    ASSERT_TRUE(again.mInitDone);
    Tandry::DDInterface& display = *again.mDDInterface;
    ASSERT_NE(display.mD3DTester, nullptr);
    EXPECT_FALSE(display.mD3DTester->mFreshResult);
    EXPECT_TRUE(display.mD3DTester->PassedWithoutWarning());
    EXPECT_TRUE(display.mIs3D);
    EXPECT_EQ(again.testDone, 0);
    // Only the display's device: no render test ran.
    EXPECT_EQ(CallsOf(DDrawOp::CreateDevice).size(), 1u);
    EXPECT_TRUE(CallsOf(DDrawOp::BeginScene).empty());
    ExpectARedFrame(again);
}

TEST_F(CapabilityApp, WithoutDirect3DTheGameDrawsIn2D)
{
    Platform::DDrawSettings settings = Platform::DDrawRuntime::Get().GetSettings();
    settings.hasDirect3D = false;
    Platform::DDrawRuntime::Get().SetSettings(settings);
    AutoApp app;
    app.Init();
    ASSERT_TRUE(app.mInitDone);
    Tandry::DDInterface& display = *app.mDDInterface;
    ASSERT_NE(display.mD3DTester, nullptr);
    EXPECT_EQ(display.mD3DTester->mFailureReason, "DXError - QueryInterface IID_IDirect3D7: DSERR_NOINTERFACE");
    EXPECT_FALSE(display.mIs3D);
    EXPECT_TRUE(display.mInitialized);
    EXPECT_FALSE(app.Is3DTestPassed());
    ExpectARedFrame(app);
}

TEST_F(CapabilityApp, ARecordedDemoKeepsTheResultInOrder)
{
    Platform::DDrawSettings settings = Platform::DDrawRuntime::Get().GetSettings();
    settings.textureFormats = {Tandry::MakeTexturePixelFormat(Tandry::kTextureA4R4G4B4)};
    Platform::DDrawRuntime::Get().SetSettings(settings);
    AutoApp app;
    app.mRecordingDemo = true;
    app.Init();
    ASSERT_TRUE(app.mInitDone);
    const std::vector<std::vector<uint8_t>>& blocks = app.Seam().recordedBlocks;
    ASSERT_GE(blocks.size(), 3u);
    EXPECT_EQ(blocks[0], Block([](Tandry::Buffer& b) { b.PutString(""); }));
    EXPECT_EQ(blocks[1], Block([](Tandry::Buffer& b) { b.PutString("A8R8G8B8 texture format not supported."); }));
    EXPECT_EQ(blocks[2], Block([](Tandry::Buffer& b) { b.PutBool(true); }));
    EXPECT_FALSE(app.mDDInterface->mIs3D);
}

TEST_F(CapabilityApp, APlayedDemoSuppliesTheResultWithoutTouchingTheCardOrTheRegistry)
{
    struct Case {
        const char* failure;
        const char* warning;
        bool fresh;
        bool is3D;
    };
    for (const Case& c : {Case{"Alpha blend Not Supported", "", true, false}, Case{"", "", false, true},
                          Case{"", "Clip problem detected.", false, false}}) {
        SCOPED_TRACE(c.failure + std::string("/") + c.warning);
        Platform::DDrawRuntime::Get().Reset();
        AutoApp app;
        app.mPlayingDemo = true;
        app.Seam().replayedBlocks = {Block([&](Tandry::Buffer& b) { b.PutString(c.failure); }),
                                     Block([&](Tandry::Buffer& b) { b.PutString(c.warning); }),
                                     Block([&](Tandry::Buffer& b) { b.PutBool(c.fresh); })};
        app.Init();
        ASSERT_TRUE(app.mInitDone);
        Tandry::DDInterface& display = *app.mDDInterface;
        ASSERT_NE(display.mD3DTester, nullptr);
        EXPECT_EQ(display.mD3DTester->mFailureReason, c.failure);
        EXPECT_EQ(display.mD3DTester->mWarning, c.warning);
        EXPECT_EQ(display.mD3DTester->mFreshResult, c.fresh);
        EXPECT_EQ(display.mIs3D, c.is3D);
        EXPECT_EQ(app.testDone, c.fresh ? 1 : 0);
        EXPECT_TRUE(app.Seam().replayedBlocks.empty());
        EXPECT_TRUE(CallsOf(DDrawOp::GetDeviceIdentifier).empty());
        EXPECT_TRUE(CallsOf(DDrawOp::GetAvailableVidMem).empty());
        EXPECT_EQ(CacheKey(), nullptr);
    }
}

} // namespace
