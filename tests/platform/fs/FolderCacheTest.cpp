#include "platform/fs/FolderCache.h"

#include "platform/fs/ScratchFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

using Platform::FolderCache;
using Platform::FolderStamp;
using TestSupport::ScratchFolder;
using TestSupport::WriteFile;

constexpr int64_t kSecond = 1000000000;

// The folder's stamp and the clock as the test sets them: a change made
// afterwards leaves the stamp as it was, as one within the same tick does.
FolderStamp gStamp;
int64_t gNow = 0;

bool FixedStamp(const std::string&, FolderStamp& stamp)
{
    stamp = gStamp;
    return true;
}

int64_t FixedNow()
{
    return gNow;
}

// A listing is trusted only when read more than a tick after the folder's
// last change: 20 ms, or 2 s when the time has no nanoseconds (a file system
// of whole seconds).
TEST(FolderCache, AListingReadWithinTheTickOfTheChangeIsReadAgain)
{
    const struct {
        int64_t modified;
        int64_t readAfter;
        bool readAgain;
    } cases[] = {
        {1000 * kSecond + 5, 20000000, true},
        {1000 * kSecond + 5, 20000001, false},
        {1000 * kSecond, 2 * kSecond, true},
        {1000 * kSecond, 2 * kSecond + 1, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.readAfter);
        ScratchFolder scratch;
        const std::string folder = scratch.Path().string();
        WriteFile(scratch.Path() / "first.txt", "1");
        gStamp = {1, 2, c.modified, c.modified};
        gNow = c.modified + c.readAfter;
        FolderCache::SetStampSource(&FixedStamp, &FixedNow);

        ASSERT_NE(FolderCache::Get(folder), nullptr);
        WriteFile(scratch.Path() / "second.txt", "2");
        const auto listing = FolderCache::Get(folder);
        ASSERT_NE(listing, nullptr);
        EXPECT_EQ(listing->Match("second.txt") != nullptr, c.readAgain);
        EXPECT_NE(listing->Match("first.txt"), nullptr);
    }
}

} // namespace
