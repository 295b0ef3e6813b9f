// A test of the profile store on a data folder of its own: the headless
// platform, a temporary folder (also the current one, where "res\\game.ini"
// is looked for) with an empty "profiles" folder, and the store, the folders
// and the safe write's fault put back afterwards.
#pragma once

#include "game/shell/ProfileManager.h"
#include "platform/Platform.h"
#include "platform/fs/SafeWrite.h"
#include "platform/fs/ScratchFolder.h"
#include "platform/headless/HeadlessPlatform.h"
#include "util/StringUtils.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace ShellTest {

class ProfileFolderFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        Platform::InstallHeadlessPlatform();
        Tandry::gGameDataDir = Tandry::WidenString(data.Path().string());
        Tandry::gProfilesDir = Tandry::gGameDataDir + L"\\profiles\\";
        std::filesystem::create_directories(Profiles());
    }
    void TearDown() override
    {
        Platform::SafeWrite::SetFaultForTests(Platform::SafeWrite::Fault::None);
        Tandry::ShutdownProfileManager();
        Tandry::ResetGameFolders();
        Platform::ResetPlatform();
    }

    std::filesystem::path Profiles() const { return data.Path() / "profiles"; }
    std::filesystem::path Settings() const { return data.Path() / "settings.ini"; }

    // The store's profile names, building the store when there is none.
    std::vector<std::wstring> Names()
    {
        std::vector<std::wstring> names;
        Tandry::GetProfileManager().GetProfileNames(names);
        return names;
    }

    Platform::HeadlessDialogs& Dialogs()
    {
        return dynamic_cast<Platform::HeadlessDialogs&>(Platform::GetPlatform().GetDialogs());
    }

    TestSupport::ScratchFolder data{TestSupport::ScratchFolder::Enter};
};

} // namespace ShellTest
