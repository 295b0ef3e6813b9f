#include "app/TandryAppBase.h"

#include "AppTestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace AppTest;

class AppSettings : public AppFixture {
protected:
    void StoreRaw(const std::string& keyPath, const std::string& name, uint32_t type, std::vector<uint8_t> bytes)
    {
        Platform::RegistryKey key;
        ASSERT_TRUE(platform->Registry().CreateKey(keyPath, key));
        ASSERT_TRUE(platform->Registry().SetValue(key, name, type, bytes.data(), static_cast<uint32_t>(bytes.size())));
    }

    const Platform::RegistryValue* Stored(const std::string& keyPath, const std::string& name)
    {
        mSnapshot = platform->Registry().Snapshot();
        return mSnapshot.FindValue(keyPath, name);
    }

    // Value names of the game's key in the order they were first set.
    std::vector<std::string> StoredNamesInOrder()
    {
        std::vector<std::string> names;
        mSnapshot = platform->Registry().Snapshot();
        for (const auto& [folded, key] : mSnapshot.Keys()) {
            if (Platform::RegistryStore::FoldCase(key.path) == Platform::RegistryStore::FoldCase(kKey)) {
                for (const auto& value : key.values)
                    names.push_back(value.name);
            }
        }
        return names;
    }

    static constexpr const char* kKey = "SOFTWARE\\Hollowmere\\Moorglen";

private:
    Platform::RegistryStore mSnapshot;
};

TEST_F(AppSettings, EmptyKeyFailsEverythingAndTouchesNothing)
{
    TestApp app;
    app.mRegistryKey.clear();
    const std::vector<uint8_t> bytes = DwordBytes(5);
    uint32_t type = 0;
    uint8_t data[4] = {};
    uint32_t length = 4;
    EXPECT_FALSE(app.WriteRegistryRaw("MusicVolume", Platform::REG_DWORD, bytes.data(), 4));
    EXPECT_FALSE(app.WriteRegistryBool("Muted", true));
    EXPECT_FALSE(app.WriteRegistryString("DemoJumpTime", "1:30"));
    EXPECT_FALSE(app.ReadRegistryRaw("MusicVolume", &type, data, &length));
    int value = 7;
    EXPECT_FALSE(app.ReadRegistryDword("MusicVolume", &value));
    EXPECT_EQ(value, 7);
    app.EraseRegistryValue("MusicVolume");
    app.SaveSettingsToRegistry();
    app.LoadSettingsFromRegistry();
    EXPECT_TRUE(platform->Registry().Snapshot().Keys().empty());
}

TEST_F(AppSettings, NameWithBackslashesNamesASubKey)
{
    TestApp app;
    const std::vector<uint8_t> bytes = DwordBytes(40);
    ASSERT_TRUE(app.WriteRegistryRaw("Config\\Window\\Left", Platform::REG_DWORD, bytes.data(), 4));
    const Platform::RegistryValue* stored = Stored("SOFTWARE\\Hollowmere\\Moorglen\\Config\\Window", "Left");
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(stored->data, bytes);
    EXPECT_EQ(Stored(kKey, "Config\\Window\\Left"), nullptr);
    int value = 0;
    EXPECT_TRUE(app.ReadRegistryDword("Config\\Window\\Left", &value));
    EXPECT_EQ(value, 40);
    EXPECT_FALSE(app.ReadRegistryDword("Config\\Left", &value));
}

TEST_F(AppSettings, ValuesOfTheWrongShapeKeepTheDefault)
{
    struct Case {
        const char* name;
        uint32_t type;
        std::vector<uint8_t> bytes;
    };
    const Case cases[] = {
        {"string", Platform::REG_SZ, {'8', '0'}},
        {"binary of four bytes", Platform::REG_BINARY, DwordBytes(80)},
        {"short number", Platform::REG_DWORD, {80, 0}},
        {"long number", Platform::REG_DWORD, {80, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StoreRaw(kKey, "MusicVolume", c.type, c.bytes);
        TestApp app;
        app.LoadSettingsFromRegistry();
        EXPECT_DOUBLE_EQ(app.mMusicVolume, 0.85);
    }
}

TEST_F(AppSettings, LoadTakesEveryValueAsItIs)
{
    StoreDword("MusicVolume", 250);
    StoreDword("SfxVolume", 40);
    StoreDword("ScreenMode", 1);
    StoreDword("Muted", 1);
    StoreDword("PreferredX", static_cast<uint32_t>(-1));
    StoreDword("PreferredY", 120);
    StoreDword("CustomCursors", 2);
    StoreDword("WaitForVSync", 1);
    StoreDword("InProgress", 1);
    TestApp app;
    app.LoadSettingsFromRegistry();
    EXPECT_TRUE(app.mSettingsLoaded);
    EXPECT_DOUBLE_EQ(app.mMusicVolume, 2.5);
    EXPECT_DOUBLE_EQ(app.mSfxVolume, 0.4);
    EXPECT_FALSE(app.mWindowed);
    EXPECT_EQ(app.mMuteCount, 1);
    EXPECT_EQ(app.mPreferredX, -1);
    EXPECT_EQ(app.mPreferredY, 120);
    EXPECT_TRUE(app.mCustomCursorsEnabled);
    EXPECT_GE(IndexOf("ApplyCursor"), 0);
    EXPECT_TRUE(app.mWaitForVSync);
    EXPECT_FALSE(app.mLastRunClean);
    EXPECT_EQ(StoredDword("InProgress"), 1u);
}

TEST_F(AppSettings, AbsentValuesKeepTheDefaults)
{
    TestApp app;
    app.LoadSettingsFromRegistry();
    EXPECT_DOUBLE_EQ(app.mMusicVolume, 0.85);
    EXPECT_TRUE(app.mWindowed);
    EXPECT_EQ(app.mMuteCount, 0);
    EXPECT_EQ(app.mPreferredX, -1);
    EXPECT_FALSE(app.mCustomCursorsEnabled);
    EXPECT_TRUE(app.mLastRunClean);
    EXPECT_EQ(IndexOf("ApplyCursor"), -1);
}

TEST_F(AppSettings, SaveWritesWholePercentInTheFixedOrder)
{
    TestApp app;
    app.mMusicVolume = 0.857;
    app.mSfxVolume = 2.5;
    app.mWindowed = false;
    app.mPreferredX = 30;
    app.mPreferredY = -1;
    app.mCustomCursorsEnabled = true;
    app.mWaitForVSync = true;
    app.SaveSettingsToRegistry();
    const std::vector<std::string> order = {"MusicVolume", "SfxVolume",     "Muted",      "ScreenMode",  "PreferredX",
                                            "PreferredY",  "CustomCursors", "InProgress", "WaitForVSync"};
    EXPECT_EQ(StoredNamesInOrder(), order);
    EXPECT_EQ(StoredDword("MusicVolume"), 85u);
    EXPECT_EQ(StoredDword("SfxVolume"), 250u);
    EXPECT_EQ(StoredDword("ScreenMode"), 1u);
    EXPECT_EQ(StoredDword("PreferredX"), 30u);
    EXPECT_EQ(StoredDword("PreferredY"), 0xFFFFFFFFu);
    EXPECT_EQ(StoredDword("CustomCursors"), 1u);
    EXPECT_EQ(StoredDword("InProgress"), 0u);
    EXPECT_EQ(StoredDword("WaitForVSync"), 1u);
}

TEST_F(AppSettings, VolumesFarOutOfRangeSaveWithoutOverflow)
{
    TestApp app;
    app.mMusicVolume = 1e30;
    app.mSfxVolume = -1e30;
    app.SaveSettingsToRegistry();
    EXPECT_EQ(StoredDword("MusicVolume"), 0x7FFFFFFFu);
    EXPECT_EQ(StoredDword("SfxVolume"), 0x80000000u);
}

TEST_F(AppSettings, OnlyTheUsersMuteIsSaved)
{
    struct Case {
        const char* name;
        int userMutes;
        int automaticMutes;
        uint32_t saved;
    };
    const Case cases[] = {
        {"not muted", 0, 0, 0},
        {"muted by focus loss only", 0, 1, 0},
        {"muted by the user", 1, 0, 1},
        {"both", 1, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestApp app;
        for (int i = 0; i < c.userMutes; ++i)
            app.Mute(false);
        for (int i = 0; i < c.automaticMutes; ++i)
            app.Mute(true);
        app.SaveSettingsToRegistry();
        EXPECT_EQ(StoredDword("Muted"), c.saved);
    }
}

TEST_F(AppSettings, AStoredMuteStartsMuted)
{
    StoreDword("Muted", 1);
    TestApp app;
    app.LoadSettingsFromRegistry();
    EXPECT_EQ(app.mMuteCount, 1);
    EXPECT_TRUE(app.IsMuted());
    app.Mute(true);
    app.SaveSettingsToRegistry();
    EXPECT_EQ(StoredDword("Muted"), 1u);
}

TEST_F(AppSettings, ExtremeStoredMuteCountsNeitherOverflowNorWrap)
{
    StoreDword("Muted", 0x80000000u);
    {
        TestApp app;
        app.LoadSettingsFromRegistry();
        app.Mute(true);
        app.SaveSettingsToRegistry();
        EXPECT_EQ(StoredDword("Muted"), 0u);
    }
    StoreDword("Muted", 0x7FFFFFFFu);
    TestApp app;
    app.LoadSettingsFromRegistry();
    app.Mute(false);
    EXPECT_EQ(app.mMuteCount, 0x7FFFFFFF);
    EXPECT_TRUE(app.IsMuted());
}

TEST_F(AppSettings, ARefusedWriteIsReportedAndRecordedAsAFailure)
{
    TestApp app;
    app.mRecordingDemo = true;
    platform->Registry().FailNextSet();
    EXPECT_FALSE(app.WriteRegistryBool("Muted", true));
    EXPECT_TRUE(app.WriteRegistryBool("Muted", true));
    EXPECT_EQ(app.Seam().recordedWrites, (std::vector<bool>{false, true}));
}

TEST_F(AppSettings, StringsAreStoredWithoutTheirTerminator)
{
    TestApp app;
    ASSERT_TRUE(app.WriteRegistryString("DemoJumpTime", "1:30"));
    const Platform::RegistryValue* stored = Stored(kKey, "DemoJumpTime");
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(stored->type, Platform::REG_SZ);
    EXPECT_EQ(stored->data, (std::vector<uint8_t>{'1', ':', '3', '0'}));
}

TEST_F(AppSettings, EraseRemovesTheValueAndIsNotRecorded)
{
    StoreDword("Is3D", 1);
    TestApp app;
    app.mRecordingDemo = true;
    app.EraseRegistryValue("Is3D");
    app.EraseRegistryValue("Absent\\Value");
    EXPECT_EQ(StoredDword("Is3D"), std::nullopt);
    EXPECT_TRUE(app.Seam().recordedWrites.empty());
    EXPECT_TRUE(app.Seam().recordedReads.empty());
}

TEST_F(AppSettings, RegistryKeyCanBeReplacedThroughTheStringTable)
{
    StoreRaw("SOFTWARE\\Other\\Game", "SfxVolume", Platform::REG_DWORD, DwordBytes(10));
    TestApp app;
    app.SetString("RegistryKey", L"Other\\Game");
    app.LoadSettingsFromRegistry();
    EXPECT_EQ(app.mRegistryKey, "Other\\Game");
    EXPECT_DOUBLE_EQ(app.mSfxVolume, 0.1);
    EXPECT_NE(Stored("SOFTWARE\\Other\\Game", "InProgress"), nullptr);
}

TEST_F(AppSettings, AKeyThatCannotBeNarrowedTouchesNothing)
{
    TestApp app;
    app.SetString("RegistryKey", L"Hollowmere\\Moor\x0100glen");
    app.LoadSettingsFromRegistry();
    EXPECT_TRUE(app.mSettingsLoaded);
    EXPECT_EQ(app.mRegistryKey, "");
    app.SaveSettingsToRegistry();
    EXPECT_TRUE(platform->Registry().Snapshot().Keys().empty());
}

TEST_F(AppSettings, RecordingEchoesReadsAndWrites)
{
    StoreDword("MusicVolume", 60);
    TestApp app;
    app.mRecordingDemo = true;
    int value = 0;
    ASSERT_TRUE(app.ReadRegistryDword("MusicVolume", &value));
    EXPECT_FALSE(app.ReadRegistryDword("SfxVolume", &value));
    ASSERT_EQ(app.Seam().recordedReads.size(), 2u);
    EXPECT_TRUE(app.Seam().recordedReads[0].success);
    EXPECT_EQ(app.Seam().recordedReads[0].type, Platform::REG_DWORD);
    EXPECT_EQ(app.Seam().recordedReads[0].data, DwordBytes(60));
    EXPECT_FALSE(app.Seam().recordedReads[1].success);
    EXPECT_TRUE(app.Seam().recordedReads[1].data.empty());
}

TEST_F(AppSettings, PlaybackTakesOutcomesFromTheDemoAndLeavesTheRegistryAlone)
{
    StoreDword("MusicVolume", 60);
    TestApp app;
    app.mPlayingDemo = true;
    app.Seam().replayedReads.push_back({true, Platform::REG_DWORD, DwordBytes(30)});
    app.Seam().replayedWrites.push_back(false);
    int value = 0;
    ASSERT_TRUE(app.ReadRegistryDword("MusicVolume", &value));
    EXPECT_EQ(value, 30);
    EXPECT_FALSE(app.WriteRegistryBool("Muted", true));
    EXPECT_EQ(StoredDword("Muted"), std::nullopt);
}

TEST_F(AppSettings, OnceTheDemoHasFinishedReadsFailAndWritesSucceed)
{
    TestApp app;
    app.mPlayingDemo = true;
    app.mDemoFinished = true;
    app.Seam().replayedReads.push_back({true, Platform::REG_DWORD, DwordBytes(30)});
    int value = 0;
    EXPECT_FALSE(app.ReadRegistryDword("MusicVolume", &value));
    EXPECT_TRUE(app.WriteRegistryBool("Muted", true));
    EXPECT_TRUE(LogEntriesStartingWith("demo replay").empty());
    EXPECT_EQ(app.Seam().replayedReads.size(), 1u);
    EXPECT_EQ(StoredDword("Muted"), std::nullopt);
}

TEST_F(AppSettings, AReplayedValueNeverLandsPastTheCallersBuffer)
{
    TestApp app;
    app.mPlayingDemo = true;
    // Recorded by a run whose value was longer than the caller's buffer.
    app.Seam().replayedReads.push_back({true, Platform::REG_DWORD, {1, 2, 3, 4, 5, 6, 7, 8}});
    int value = 99;
    EXPECT_FALSE(app.ReadRegistryDword("MusicVolume", &value));
    EXPECT_EQ(value, 99);

    // A seam that reports more than fits is not believed.
    app.Seam().overstateReadLength = true;
    app.Seam().replayedReads.push_back({true, Platform::REG_DWORD, {1, 2, 3, 4, 5, 6, 7, 8}});
    uint8_t bytes[4] = {9, 9, 9, 9};
    uint32_t type = 0;
    uint32_t length = 4;
    EXPECT_FALSE(app.ReadRegistryRaw("MusicVolume", &type, bytes, &length));
    EXPECT_EQ(length, 4u);
    EXPECT_EQ(type, 0u);
    EXPECT_EQ(bytes[0], 9);
}

} // namespace
