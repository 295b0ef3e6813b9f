// The dimming backdrop in the application's widget manager: its fade, its
// one click after the fade, its end, its picture, and the clicks it keeps
// from the board below.
#include "game/shell/DarkBack.h"

#include "ShellAppFixture.h"
#include "game/shell/GlobalResources.h"
#include "graphics/context/Graphics.h"
#include "graphics/image/MemoryImage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

namespace {

using Tandry::BoundCall;
using Tandry::DarkBack;

// A board below the backdrop that counts what reaches it.
class Board : public Tandry::Widget {
public:
    void MouseDown(int, int, int, int) override { ++clicks; }
    int clicks = 0;
};

struct Owner {
    void Clicked() { ++clicks; }
    int clicks = 0;
};

int gBacksDeleted = 0;

class CountedBack : public DarkBack {
public:
    using DarkBack::DarkBack;
    ~CountedBack() override { ++gBacksDeleted; }
};

// The updates a fade takes from level to target by 0.03 per update, worked
// out from the easing rule.
int UpdatesToArrive(float level, float target)
{
    int updates = 0;
    for (;;) {
        ++updates;
        if (level == target)
            return updates;
        if (std::fabs(level - target) < 0.03f)
            return updates;
        level += target > level ? 0.03f : -0.03f;
    }
}

class DarkBackTest : public ShellTest::ShellAppFixture {
protected:
    void SetUp() override
    {
        ShellAppFixture::SetUp();
        gBacksDeleted = 0;
        board.Resize(0, 0, 1024, 768);
        Manager().AddWidget(&board);
    }
    void TearDown() override
    {
        Manager().RemoveWidget(&board);
        ShellAppFixture::TearDown();
    }

    // A backdrop over the board, as a panel's owner adds it.
    CountedBack* AddBack(const BoundCall<void()>* call)
    {
        auto* back = new CountedBack(call, 0);
        back->zOrder = 30;
        Manager().AddWidget(back);
        return back;
    }

    Board board;
    Owner owner;
};

TEST_F(DarkBackTest, CoversTheScreenAndFadesInOverThirtyFourUpdates)
{
    const BoundCall<void()> call(&owner, &Owner::Clicked);
    CountedBack* back = AddBack(&call);
    EXPECT_EQ(back->GetRect(), Tandry::Rect(0, 0, 1024, 768));
    int updates = 0;
    while (back->level != 1.0f && updates < 100) {
        RunUpdate();
        ++updates;
    }
    EXPECT_EQ(updates, 34);
    EXPECT_EQ(UpdatesToArrive(0.0f, 1.0f), 34);
    Manager().RemoveWidget(back);
    delete back;
}

TEST_F(DarkBackTest, OnlyTheFirstClickAfterTheFadeCallsTheOwner)
{
    const BoundCall<void()> call(&owner, &Owner::Clicked);
    CountedBack* back = AddBack(&call);
    for (int i = 0; i < 33; ++i)
        RunUpdate();
    ASSERT_LT(back->level, 1.0f);
    Click(500, 400);
    RunUpdate(); // the click comes before the 34th update
    EXPECT_EQ(owner.clicks, 0);
    ASSERT_EQ(back->level, 1.0f);

    for (Platform::MouseButton button : {Platform::MouseButton::Right, Platform::MouseButton::Left}) {
        Click(10, 700, button);
        RunUpdate();
    }
    EXPECT_EQ(owner.clicks, 1);
    EXPECT_EQ(board.clicks, 0);
    EXPECT_TRUE(back->clickCall.IsEmpty());

    // A call set after construction is called the same way.
    back->clickCall = BoundCall<void()>(&owner, &Owner::Clicked);
    Click(1, 1);
    RunUpdate();
    EXPECT_EQ(owner.clicks, 2);
    EXPECT_EQ(board.clicks, 0);
    Manager().RemoveWidget(back);
    delete back;
}

TEST_F(DarkBackTest, ClosingFadesBackFromWhereItIsAndDeletesItAfterTheUpdateAtZero)
{
    CountedBack* back = AddBack(nullptr);
    back->level = 0.5f;
    back->target = 0.0f;
    back->closing = true;
    const int expected = UpdatesToArrive(0.5f, 0.0f);
    float previous = back->level;
    for (int i = 1; i < expected; ++i) {
        RunUpdate();
        ASSERT_TRUE(Manager().HasWidget(back));
        EXPECT_LT(back->level, previous);
        EXPECT_GT(back->level, 0.0f);
        previous = back->level;
    }
    EXPECT_NEAR(previous, 0.5f - 0.03f * static_cast<float>(expected - 1), 1e-5f);
    RunUpdate();
    EXPECT_FALSE(Manager().HasWidget(back));
    EXPECT_EQ(gBacksDeleted, 1);
    // Later updates have nothing left to delete.
    RunUpdate();
    EXPECT_EQ(gBacksDeleted, 1);
}

TEST_F(DarkBackTest, ABackdropArrivingAtZeroWithoutClosingStays)
{
    CountedBack* back = AddBack(nullptr);
    back->target = 0.0f;
    for (int i = 0; i < 3; ++i)
        RunUpdate();
    EXPECT_TRUE(Manager().HasWidget(back));
    EXPECT_EQ(gBacksDeleted, 0);
    Manager().RemoveWidget(back);
    delete back;
}

// A nearly black picture with some grain and varied alpha, over a bright
// screen pattern.
std::unique_ptr<Tandry::MemoryImage> MakeImage(uint32_t seed, bool picture)
{
    auto image = std::make_unique<Tandry::MemoryImage>();
    image->Create(1024, 768);
    uint32_t* bits = image->GetBits();
    for (int i = 0; i < 1024 * 768; ++i) {
        seed = seed * 1664525u + 1013904223u;
        bits[i] = picture ? (0xC0000000u | (seed >> 8 & 0x0F0F0F)) + ((seed >> 28) << 28)
                          : 0xFF000000u | (seed >> 8 & 0xFFFFFF);
    }
    image->MarkBitsChanged();
    return image;
}

TEST(DarkBackDraw, DrawsThePictureColourisedWithHalfTheLevelAsAlpha)
{
    auto picture = MakeImage(7, true);
    Tandry::ResetGlobalResources();
    const Tandry::BoundCall<void()> none;
    DarkBack back(&none, 0);

    struct Case {
        float level;
        int alpha;
    };
    for (const Case& c : {Case{1.0f, 127}, Case{0.5f, 63}, Case{0.03f, 3}}) {
        SCOPED_TRACE(c.level);
        auto drawn = MakeImage(3, false);
        auto direct = MakeImage(3, false);
        const std::vector<uint32_t> before(drawn->GetBits(), drawn->GetBits() + 1024 * 768);

        Tandry::IMAGE_DARK_BACK = nullptr;
        back.level = c.level;
        Tandry::Graphics g(drawn.get());
        back.Draw(&g);
        EXPECT_TRUE(std::equal(before.begin(), before.end(), drawn->GetBits())) << "nothing without the picture";

        Tandry::IMAGE_DARK_BACK = picture.get();
        back.Draw(&g);
        Tandry::Graphics reference(direct.get());
        reference.SetColorizeImages(true);
        reference.SetColor(Tandry::Color(255, 255, 255, c.alpha));
        reference.DrawImage(picture.get(), 0, 0);
        EXPECT_TRUE(std::equal(drawn->GetBits(), drawn->GetBits() + 1024 * 768, direct->GetBits()));
        EXPECT_FALSE(std::equal(before.begin(), before.end(), drawn->GetBits()));
    }
    Tandry::ResetGlobalResources();
}

} // namespace
