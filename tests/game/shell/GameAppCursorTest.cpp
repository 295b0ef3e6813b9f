// The game's cursor kinds: each kind's picture goes into the framework's
// four game slots, applied after each, and the standard pointer is applied
// last; the overlay gets the kind's picture and pulse. The lock holds the
// shown kind, remembers the one asked for and, over the hand, shows the
// dragging hand.
#include "GameServicesFixture.h"

#include <gtest/gtest.h>

namespace {

using ShellTest::GameServicesFixture;
using Tandry::Image;
using Tandry::MemoryImage;

class GameAppCursorTest : public GameServicesFixture {
protected:
    // Every slot and overlay field away from what any kind sets.
    void Scramble()
    {
        for (size_t slot = 0; slot < Tandry::TandryAppBase::kCursorImageCount; ++slot)
            app->mCursorImages[slot] = &stale;
        app->mCursorKind = 9;
        overlay.image = &stale;
        overlay.altImage = &stale;
        overlay.useAlt = 1;
        overlay.pulse = true;
        overlay.scale = 0.95f;
        overlay.phase = 3.5f;
        overlay.maxScale = 0.5f;
        app->applied.clear();
    }

    MemoryImage stale{nullptr};
};

TEST_F(GameAppCursorTest, EachKindSetsTheSlotsThePointerAndTheOverlay)
{
    MemoryImage* const blankImage = blank.get();
    const struct {
        int kind;
        MemoryImage* system;
        Image* image;
        Image* altImage;
        bool pulse;
        float bound;
    } cases[] = {
        {0, blankImage, nullptr, nullptr, false, 0.9f},
        {1, &arrow, nullptr, nullptr, false, 0.9f},
        {2, &arrowRed, nullptr, nullptr, false, 0.9f},
        {3, blankImage, &door, nullptr, true, 0.9f},
        {4, blankImage, &hand, &hand2, false, 0.0f},
        {5, blankImage, &magnifier, nullptr, true, 0.9f},
        {6, &aim, nullptr, nullptr, false, 0.9f},
        {7, &aimHit, nullptr, nullptr, false, 0.9f},
        {8, &aimMiss, nullptr, nullptr, false, 0.9f},
        {9, nullptr, nullptr, nullptr, false, 0.9f},
        {-1, nullptr, nullptr, nullptr, false, 0.9f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        Scramble();
        app->SetCursorType(c.kind);

        EXPECT_EQ(app->mCursorType, c.kind);
        EXPECT_EQ(app->mCursorKind, 0);
        // One apply after each slot, in slot order, then one for the pointer.
        ASSERT_EQ(app->applied.size(), 5u);
        for (size_t step = 0; step < 4; ++step) {
            EXPECT_EQ(app->applied[step].kind, 9) << step;
            for (size_t slot = 0; slot < 4; ++slot)
                EXPECT_EQ(app->applied[step].slots[slot], slot <= step ? c.system : &stale) << step << " " << slot;
        }
        EXPECT_EQ(app->applied[4].kind, 0);
        for (size_t slot = 0; slot < 4; ++slot)
            EXPECT_EQ(app->mCursorImages[slot], c.system) << slot;
        // The framework's other slots are not the game's.
        for (size_t slot = 4; slot < Tandry::TandryAppBase::kCursorImageCount; ++slot)
            EXPECT_EQ(app->mCursorImages[slot], &stale) << slot;

        EXPECT_EQ(overlay.image, c.image);
        EXPECT_EQ(overlay.altImage, c.altImage);
        EXPECT_EQ(overlay.useAlt, 0);
        EXPECT_EQ(overlay.pulse, c.pulse);
        EXPECT_EQ(overlay.scale, 1.0f);
        EXPECT_EQ(overlay.phase, 0.0f);
        EXPECT_EQ(overlay.maxScale, c.bound);
    }
}

TEST_F(GameAppCursorTest, WhileLockedAKindIsOnlyRememberedAndUnlockingAppliesIt)
{
    app->SetCursorType(1);
    app->SetCursorLock(true);
    app->applied.clear();

    app->SetCursorType(5);
    EXPECT_EQ(app->mCursorType, 1);
    EXPECT_EQ(app->mPendingCursorType, 5);
    EXPECT_TRUE(app->applied.empty());
    EXPECT_EQ(app->mCursorImages[0], &arrow);
    EXPECT_EQ(overlay.image, nullptr);

    app->SetCursorLock(false);
    EXPECT_FALSE(app->mCursorLocked);
    EXPECT_EQ(app->mCursorType, 5);
    EXPECT_EQ(app->mCursorImages[0], blank.get());
    EXPECT_EQ(overlay.image, &magnifier);
    EXPECT_TRUE(overlay.pulse);
}

TEST_F(GameAppCursorTest, LockingOverTheHandShowsTheDraggingHandUntilUnlocked)
{
    // Unlocked with nothing asked meanwhile: the hand again, as its own picture.
    app->SetCursorType(4);
    app->SetCursorLock(true);
    EXPECT_EQ(overlay.useAlt, 1);
    EXPECT_EQ(overlay.ShownImage(), &hand2);
    app->SetCursorLock(false);
    EXPECT_EQ(app->mCursorType, 4);
    EXPECT_EQ(overlay.useAlt, 0);
    EXPECT_EQ(overlay.ShownImage(), &hand);

    // A kind asked for while dragging takes over at the release.
    app->SetCursorLock(true);
    app->SetCursorType(1);
    EXPECT_EQ(overlay.ShownImage(), &hand2);
    app->SetCursorLock(false);
    EXPECT_EQ(overlay.useAlt, 0);
    EXPECT_EQ(overlay.ShownImage(), nullptr);
    EXPECT_EQ(app->mCursorImages[0], &arrow);
}

TEST_F(GameAppCursorTest, LockingOverAnotherKindLeavesItsPicture)
{
    app->SetCursorType(5);
    app->SetCursorLock(true);
    EXPECT_EQ(overlay.useAlt, 0);
    EXPECT_EQ(overlay.ShownImage(), &magnifier);
}

TEST_F(GameAppCursorTest, ASecondLockKeepsTheKindAskedForAndAStrayUnlockChangesNothing)
{
    app->SetCursorType(3);
    app->SetCursorLock(true);
    app->SetCursorType(6);
    app->SetCursorLock(true);
    app->SetCursorLock(false);
    EXPECT_EQ(app->mCursorType, 6);

    // The pending kind of an old lock must not come back.
    app->SetCursorType(2);
    app->applied.clear();
    app->SetCursorLock(false);
    EXPECT_EQ(app->mCursorType, 2);
    EXPECT_TRUE(app->applied.empty());
    EXPECT_EQ(app->mCursorImages[0], &arrowRed);
}

} // namespace
