#include "graphics/image/SharedImageHandle.h"

#include "graphics/image/FakeImageHost.h"
#include "graphics/image/Image.h"
#include "graphics/image/ImageHost.h"
#include "graphics/image/SharedImageEntry.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

using Tandry::Image;
using Tandry::SharedImageEntry;
using Tandry::SharedImageHandle;

class CountingImage : public Image {
public:
    explicit CountingImage(int& deletions) : mDeletions(deletions) {}
    ~CountingImage() override { ++mDeletions; }

private:
    int& mDeletions;
};

class RecordingHost : public TandryTest::FakeImageHost {
public:
    void SharedImageReleased() override { ++releases; }
    std::atomic<int> releases{0};
};

class SharedImageHandleTest : public ::testing::Test {
protected:
    void SetUp() override { Tandry::SetImageHost(&mHost); }
    void TearDown() override { Tandry::SetImageHost(nullptr); }

    // What the application's acquisition does: the entry's count goes up for
    // the handle it returns.
    static void Acquire(SharedImageHandle& handle, SharedImageEntry& entry)
    {
        entry.refCount.fetch_add(1);
        handle.entry = &entry;
    }

    RecordingHost mHost;
};

TEST_F(SharedImageHandleTest, ReleasingAnEmptyHandleTwiceChangesNothing)
{
    SharedImageHandle handle;
    handle.Release();
    handle.Release();
    EXPECT_EQ(handle.entry, nullptr);
    EXPECT_EQ(handle.GetImage(), nullptr);
    EXPECT_EQ(mHost.releases, 0);
}

TEST_F(SharedImageHandleTest, ACopyUsesAnOwnImageButNeverDeletesIt)
{
    int deletions = 0;
    auto* image = new CountingImage(deletions);
    {
        SharedImageHandle owner;
        owner.ownImage = image;
        owner.ownsImage = true;
        {
            SharedImageHandle copy(owner);
            EXPECT_EQ(copy.GetImage(), image);
            EXPECT_FALSE(copy.ownsImage);
        }
        EXPECT_EQ(deletions, 0);
        owner.Release();
        EXPECT_EQ(deletions, 1);
        EXPECT_EQ(owner.ownImage, nullptr);
        owner.Release();
    }
    EXPECT_EQ(deletions, 1);
}

TEST_F(SharedImageHandleTest, LastReleaseTellsTheHostAndLeavesTheImageAlive)
{
    int deletions = 0;
    CountingImage image(deletions);
    SharedImageEntry entry;
    entry.image = &image;
    SharedImageHandle first;
    Acquire(first, entry);
    {
        SharedImageHandle second(first);
        EXPECT_EQ(entry.refCount, 2);
        EXPECT_EQ(second.GetImage(), &image);
    }
    EXPECT_EQ(entry.refCount, 1);
    EXPECT_EQ(mHost.releases, 0);
    first.Release();
    EXPECT_EQ(entry.refCount, 0);
    EXPECT_EQ(mHost.releases, 1);
    EXPECT_EQ(first.entry, nullptr);
    EXPECT_EQ(deletions, 0);
    first.Release();
    EXPECT_EQ(entry.refCount, 0);
    EXPECT_EQ(mHost.releases, 1);
}

TEST_F(SharedImageHandleTest, ReleaseWithoutAHostStillCounts)
{
    Tandry::SetImageHost(nullptr);
    SharedImageEntry entry;
    SharedImageHandle handle;
    Acquire(handle, entry);
    handle.Release();
    EXPECT_EQ(entry.refCount, 0);
    EXPECT_EQ(mHost.releases, 0);
}

TEST_F(SharedImageHandleTest, AssignReleasesTheOldEntryAndTakesOnlyTheOthersEntry)
{
    int deletions = 0;
    CountingImage oldImage(deletions), newImage(deletions);
    SharedImageEntry oldEntry, newEntry;
    oldEntry.image = &oldImage;
    newEntry.image = &newImage;

    SharedImageHandle target;
    Acquire(target, oldEntry);
    auto* ownOfTarget = new CountingImage(deletions);
    target.ownImage = ownOfTarget;
    target.ownsImage = true;

    SharedImageHandle source;
    Acquire(source, newEntry);
    CountingImage ownOfSource(deletions);
    source.ownImage = &ownOfSource;

    target.Assign(source);
    EXPECT_EQ(oldEntry.refCount, 0);
    EXPECT_EQ(mHost.releases, 1);
    EXPECT_EQ(deletions, 1);  // the target's own image
    EXPECT_EQ(newEntry.refCount, 2);
    EXPECT_EQ(target.entry, &newEntry);
    EXPECT_EQ(target.ownImage, nullptr);
    EXPECT_EQ(target.GetImage(), &newImage);
    EXPECT_EQ(source.GetImage(), &ownOfSource);

    // Assigning a handle to itself keeps what it holds.
    target.Assign(target);
    EXPECT_EQ(target.entry, &newEntry);
    EXPECT_EQ(newEntry.refCount, 2);

    // Assigning an empty handle only releases.
    target.Assign(SharedImageHandle());
    EXPECT_EQ(target.entry, nullptr);
    EXPECT_EQ(newEntry.refCount, 1);
}

TEST_F(SharedImageHandleTest, GetImagePrefersTheOwnImageAndGetEntryImageIgnoresIt)
{
    int deletions = 0;
    CountingImage shared(deletions), own(deletions);
    SharedImageEntry entry;
    entry.image = &shared;

    SharedImageHandle handle;
    EXPECT_EQ(handle.GetEntryImage(), nullptr);
    handle.ownImage = &own;
    EXPECT_EQ(handle.GetImage(), &own);
    EXPECT_EQ(handle.GetEntryImage(), nullptr);
    Acquire(handle, entry);
    EXPECT_EQ(handle.GetImage(), &own);
    EXPECT_EQ(handle.GetEntryImage(), &shared);
    handle.ownImage = nullptr;
    EXPECT_EQ(handle.GetImage(), &shared);
}

TEST_F(SharedImageHandleTest, CopiesAndReleasesOnTwoThreadsKeepTheCount)
{
    SharedImageEntry entry;
    SharedImageHandle held;
    Acquire(held, entry);
    auto churn = [&held] {
        for (int i = 0; i < 100000; ++i) {
            SharedImageHandle copy(held);
            copy.Release();
        }
    };
    std::thread other(churn);
    churn();
    other.join();
    EXPECT_EQ(entry.refCount, 1);
    EXPECT_EQ(mHost.releases, 0);
}

} // namespace
