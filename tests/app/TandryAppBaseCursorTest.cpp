// The cursor shown for each kind, image and state: a system cursor, the two
// built-in hands, the override handle, or an image the display draws itself.
#include "LoopTestSupport.h"

#include "graphics/image/MemoryImage.h"

#include <array>

namespace LoopTest {
namespace {

class Cursors : public LoopFixture {
protected:
    void SetUp() override
    {
        LoopFixture::SetUp();
        OpenWindow();
        Platform::CursorService& cursors = mPlatform->Cursors();
        std::array<uint8_t, 128> andMask{};
        std::array<uint8_t, 128> xorMask{};
        mApp->mHandCursor = cursors.CreateCursor(11, 4, 32, 32, andMask.data(), xorMask.data());
        mApp->mDragCursor = cursors.CreateCursor(15, 10, 32, 32, andMask.data(), xorMask.data());
        mApp->mMouseInWindow = true;
        PutCursorAt(100, 100);
        ProcessAll();
        mApp->mMouseInWindow = true;
        mApp->mForceRedraw = false;
    }

    void TearDown() override
    {
        mApp->mCursorImages.fill(nullptr);
        LoopFixture::TearDown();
    }

    Platform::CursorHandle System(uint32_t id) { return mPlatform->Cursors().LoadSystemCursor(id); }

    // Applies the cursor and answers what was shown by this one call.
    Platform::CursorHandle Apply()
    {
        const size_t before = mPlatform->Cursors().GetShown().size();
        mApp->ApplyCursor();
        const std::vector<Platform::CursorHandle> shown = mPlatform->Cursors().GetShown();
        EXPECT_EQ(shown.size(), before + 1) << "one cursor shown per application";
        return shown.empty() ? nullptr : shown.back();
    }

    Tandry::MemoryImage* DisplayImage() { return Display().mCursorImage; }

    // Outside the application's image set: only their addresses matter.
    Tandry::MemoryImage mImageA{nullptr};
    Tandry::MemoryImage mImageB{nullptr};
};

TEST_F(Cursors, EveryKindWithoutAnImageShowsItsSystemCursor)
{
    struct Case {
        int kind;
        uint32_t systemId; // 0: a cursor of the application or none
    };
    const Case cases[] = {
        {0, Platform::IDC_ARROW},   {3, Platform::IDC_IBEAM},    {4, Platform::IDC_NO},
        {5, Platform::IDC_SIZEALL}, {6, Platform::IDC_SIZENESW}, {7, Platform::IDC_SIZENS},
        {8, Platform::IDC_SIZENWSE}, {9, Platform::IDC_SIZEWE},  {10, Platform::IDC_WAIT},
        {13, Platform::IDC_ARROW},  {-1, Platform::IDC_ARROW},   {1000, Platform::IDC_ARROW},
        {INT32_MIN, Platform::IDC_ARROW},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        mApp->mCursorKind = c.kind;
        EXPECT_EQ(Apply(), System(c.systemId));
        EXPECT_EQ(DisplayImage(), nullptr);
    }
    mApp->mCursorKind = 1;
    EXPECT_EQ(Apply(), mApp->mHandCursor);
    mApp->mCursorKind = 2;
    EXPECT_EQ(Apply(), mApp->mDragCursor);
    for (int hidden : {11, 12}) {
        mApp->mCursorKind = hidden;
        EXPECT_EQ(Apply(), nullptr);
    }
    EXPECT_FALSE(mApp->mForceRedraw);
}

TEST_F(Cursors, ImagesAreDrawnByTheDisplayWhenCustomCursorsAreOn)
{
    struct Step {
        const char* name;
        void (*act)(LoopApp&, Tandry::MemoryImage& a, Tandry::MemoryImage& b);
        const char* shown; // "hand", "hidden", "ibeam", "arrow"
        int displayImage;  // 0 none, 1 image A, 2 image B
        bool forceRedraw;
    };
    const Step steps[] = {
        {"off, kind 1 with an image",
         [](LoopApp& app, Tandry::MemoryImage& a, Tandry::MemoryImage&) {
             app.mCursorImages[1] = &a;
             app.mCursorKind = 1;
         },
         "hand", 0, false},
        {"custom cursors on", [](LoopApp& app, Tandry::MemoryImage&, Tandry::MemoryImage&) {
             app.mCustomCursorsEnabled = true;
         },
         "hidden", 1, true},
        {"the same image again", [](LoopApp&, Tandry::MemoryImage&, Tandry::MemoryImage&) {}, "hidden", 1, false},
        {"kind 3 without an image", [](LoopApp& app, Tandry::MemoryImage&, Tandry::MemoryImage&) {
             app.mCursorKind = 3;
         },
         "ibeam", 0, true},
        {"kind 12 with an image, custom cursors off",
         [](LoopApp& app, Tandry::MemoryImage&, Tandry::MemoryImage& b) {
             app.mCustomCursorsEnabled = false;
             app.mCursorImages[12] = &b;
             app.mCursorKind = 12;
         },
         "hidden", 2, true},
        {"window hidden", [](LoopApp& app, Tandry::MemoryImage&, Tandry::MemoryImage&) {
             app.mWindowHidden = true;
         },
         "arrow", 0, true},
        {"shown again, mouse outside", [](LoopApp& app, Tandry::MemoryImage&, Tandry::MemoryImage&) {
             app.mWindowHidden = false;
             app.mMouseInWindow = false;
         },
         "arrow", 0, false},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.act(*mApp, mImageA, mImageB);
        mApp->mForceRedraw = false;
        const Platform::CursorHandle shown = Apply();
        const std::string name = shown == mApp->mHandCursor                     ? "hand"
                                 : shown == nullptr                             ? "hidden"
                                 : shown == System(Platform::IDC_IBEAM)         ? "ibeam"
                                 : shown == System(Platform::IDC_ARROW)         ? "arrow"
                                                                                : "other";
        EXPECT_EQ(name, step.shown);
        Tandry::MemoryImage* expected = step.displayImage == 1   ? &mImageA
                                        : step.displayImage == 2 ? &mImageB
                                                                 : nullptr;
        EXPECT_EQ(DisplayImage(), expected);
        EXPECT_EQ(mApp->mForceRedraw, step.forceRedraw);
    }
}

TEST_F(Cursors, TurningCustomCursorsOffRemovesTheDisplayImage)
{
    mApp->mCursorImages[0] = &mImageA;
    mApp->SetCustomCursorsEnabled(true);
    EXPECT_EQ(DisplayImage(), &mImageA);
    mApp->mForceRedraw = false;
    mApp->SetCustomCursorsEnabled(false);
    EXPECT_EQ(DisplayImage(), nullptr);
    EXPECT_EQ(mPlatform->Cursors().GetShown().back(), System(Platform::IDC_ARROW));
    EXPECT_TRUE(mApp->mForceRedraw);
}

TEST_F(Cursors, TheOverrideHandleReplacesTheKindsCursorButNotAnImage)
{
    std::array<uint8_t, 128> mask{};
    mApp->mCursorHandle = mPlatform->Cursors().CreateCursor(0, 0, 32, 32, mask.data(), mask.data());
    mApp->mCursorKind = 3;
    EXPECT_EQ(Apply(), mApp->mCursorHandle);
    mApp->mCursorKind = 11;
    EXPECT_EQ(Apply(), mApp->mCursorHandle);
    mApp->mCursorImages[3] = &mImageA;
    mApp->mCustomCursorsEnabled = true;
    mApp->mCursorKind = 3;
    EXPECT_EQ(Apply(), nullptr);
    EXPECT_EQ(DisplayImage(), &mImageA);
}

TEST_F(Cursors, ADemoShowsThatTheMouseDoesNotSteer)
{
    mApp->mPlayingDemo = true;
    mApp->mCursorImages[5] = &mImageA;
    mApp->mCursorKind = 5;
    struct Case {
        int x, y;
        uint32_t shown;
    };
    // The client area is 1024 x 768; its right and bottom edges lie outside.
    const Case cases[] = {
        {0, 0, Platform::IDC_NO},       {1023, 767, Platform::IDC_NO}, {1024, 10, Platform::IDC_ARROW},
        {10, 768, Platform::IDC_ARROW}, {-1, 10, Platform::IDC_ARROW}, {10, -1, Platform::IDC_ARROW},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        PutCursorAt(c.x, c.y);
        EXPECT_EQ(Apply(), System(c.shown));
        EXPECT_EQ(DisplayImage(), &mImageA);
    }
}

} // namespace
} // namespace LoopTest
