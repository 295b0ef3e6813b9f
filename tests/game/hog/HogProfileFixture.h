// A hidden-object test over a real profile store: the headless platform, a
// temporary data folder that is also the current one, and a selected profile
// "Ann" whose document is in memory. Everything is put back afterwards.
#pragma once

#include "game/hog/TMessenger.h"
#include "game/shell/ProfileManager.h"
#include "platform/Platform.h"
#include "platform/headless/HeadlessPlatform.h"
#include "platform/fs/ScratchFolder.h"
#include "util/StringUtils.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace HogTest {

class HogProfileFixture : public testing::Test {
protected:
    void SetUp() override
    {
        Tandry::ResetMessageBus();
        Platform::InstallHeadlessPlatform();
        Tandry::gGameDataDir = Tandry::WidenString(data.Path().string());
        Tandry::gProfilesDir = Tandry::gGameDataDir + L"\\profiles\\";
        std::filesystem::create_directories(data.Path() / "profiles");
        Tandry::ProfileManager& store = Tandry::GetProfileManager();
        store.CreateProfile(L"Ann");
        store.SelectProfile(L"Ann");
        ASSERT_TRUE(store.LoadCurrentProfile());
    }
    void TearDown() override
    {
        Tandry::ShutdownProfileManager();
        Tandry::ResetGameFolders();
        Platform::ResetPlatform();
        Tandry::ResetMessageBus();
    }

    static Tandry::ProfileManager& Store() { return Tandry::GetProfileManager(); }

    TestSupport::ScratchFolder data{TestSupport::ScratchFolder::Enter};
};

} // namespace HogTest
