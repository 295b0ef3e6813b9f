// When registry changes reach the settings file: once per settings save, a
// second after a lone change (from the main loop, on its clock), and at
// shutdown. The headless registry counts the writes a file would take.
#include "LoopTestSupport.h"

namespace LoopTest {
namespace {

class RegistryFlush : public LoopFixture {
protected:
    void SetUp() override
    {
        LoopFixture::SetUp();
        mApp->mRegistryKey = "Hollowmere\\Moorglen";
    }

    int Writes() { return mPlatform->Registry().GetWriteCount(); }

    bool Stored(const std::string& name)
    {
        return mPlatform->Registry().Snapshot().FindValue("SOFTWARE\\Hollowmere\\Moorglen", name) != nullptr;
    }
};

TEST_F(RegistryFlush, ASettingsSaveIsOneWriteAndASaveWithoutChangesIsNone)
{
    const int before = Writes();
    mApp->SaveSettingsToRegistry();
    EXPECT_EQ(Writes(), before + 1);
    EXPECT_FALSE(mPlatform->Registry().HasUnsavedChanges());
    mApp->SaveSettingsToRegistry();
    EXPECT_EQ(Writes(), before + 1);

    // The save flushed; the loop's deadline that its writes armed writes nothing more.
    OpenWindow();
    Clock().Advance(5000);
    RunCycle();
    RunCycle();
    EXPECT_EQ(Writes(), before + 1);
}

TEST_F(RegistryFlush, ALoneWriteWaitsForTheLoopEvenLongAfterItsSecond)
{
    OpenWindow();
    RunCycle();
    const int before = Writes();
    ASSERT_TRUE(mApp->WriteRegistryBool("HintsShown", true));
    Clock().Advance(5000);
    EXPECT_EQ(Writes(), before);
    mApp->RunUpdateStep(nullptr);
    EXPECT_EQ(Writes(), before + 1);
    EXPECT_FALSE(mPlatform->Registry().HasUnsavedChanges());
}

TEST_F(RegistryFlush, ALoneWriteReachesTheFileOneSecondOfLoopTimeLater)
{
    OpenWindow();
    StartTimingAndAdvance(10);
    const int before = Writes();
    const uint32_t written = Clock().TimeGetTime();
    ASSERT_TRUE(mApp->WriteRegistryBool("HintsShown", true));
    ASSERT_TRUE(RunCyclesUntil([&] { return Writes() != before || Clock().TimeGetTime() - written >= 999; }));
    EXPECT_EQ(Writes(), before) << "written early, after " << Clock().TimeGetTime() - written << " ms";
    ASSERT_TRUE(RunCyclesUntil([&] { return Writes() != before; }));
    const uint32_t waited = Clock().TimeGetTime() - written;
    EXPECT_GE(waited, 1000u);
    // No later than the first step after the second is over; a cycle sleeps at most a frame.
    EXPECT_LE(waited, 1000u + 2 * static_cast<uint32_t>(mApp->mFrameTimeMs));
    EXPECT_EQ(Writes(), before + 1);
}

TEST_F(RegistryFlush, AChangeMadeBesideTheApplicationIsFlushedAsWell)
{
    OpenWindow();
    RunCycle();
    const int before = Writes();
    Platform::RegistryKey key;
    ASSERT_TRUE(mPlatform->Registry().CreateKey("SOFTWARE\\Elsewhere", key));
    RunCycle();
    EXPECT_EQ(Writes(), before);
    Clock().Advance(1000);
    RunCycle();
    EXPECT_EQ(Writes(), before + 1);
}

TEST_F(RegistryFlush, ShutdownFlushesWhatIsLeft)
{
    // Settings never loaded: the shutdown saves none, yet the lone write is kept.
    const int before = Writes();
    ASSERT_TRUE(mApp->WriteRegistryBool("HintsShown", true));
    mApp->Shutdown();
    mApp.reset();
    EXPECT_EQ(Writes(), before + 1);
    EXPECT_TRUE(Stored("HintsShown"));
    EXPECT_FALSE(mPlatform->Registry().HasUnsavedChanges());
}

TEST_F(RegistryFlush, ShutdownWithLoadedSettingsSavesThemInOneWrite)
{
    mApp->LoadSettingsFromRegistry();
    ASSERT_TRUE(mApp->mSettingsLoaded);
    const int before = Writes();
    ASSERT_TRUE(mApp->WriteRegistryBool("HintsShown", true));
    mApp->Shutdown();
    EXPECT_EQ(Writes(), before + 1);
    EXPECT_TRUE(Stored("HintsShown"));
    EXPECT_TRUE(Stored("WaitForVSync"));
    mApp.reset();
    EXPECT_EQ(Writes(), before + 1);
}

} // namespace
} // namespace LoopTest
