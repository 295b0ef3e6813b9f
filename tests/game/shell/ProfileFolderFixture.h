// A game test on the profile store alone: the headless platform, a data
// folder of its own (also the current folder, where "res\\game.ini" is
// looked for) with an empty "profiles" folder, and an empty game ini; the
// store, the folders, the game ini, the cached settings and the safe write's
// fault are put back afterwards. Helpers make a current profile and read its
// file as the next start would.
#pragma once

#include "game/shell/PlayerInfo.h"
#include "game/shell/ProfileManager.h"
#include "platform/Platform.h"
#include "platform/fs/SafeWrite.h"
#include "platform/fs/ScratchFolder.h"
#include "platform/headless/HeadlessPlatform.h"
#include "resources/ini/GameIni.h"
#include "resources/ini/IniDocument.h"
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
        platform = &Platform::InstallHeadlessPlatform();
        Tandry::gGameDataDir = Tandry::WidenString(data.Path().string());
        Tandry::gProfilesDir = Tandry::gGameDataDir + L"\\profiles\\";
        std::filesystem::create_directories(Profiles());
        Tandry::ResetGameIni();
        Tandry::ResetProgressParts();
    }
    void TearDown() override
    {
        Platform::SafeWrite::SetFaultForTests(Platform::SafeWrite::Fault::None);
        Tandry::ShutdownProfileManager();
        Tandry::ResetProgressParts();
        Tandry::ResetGameIni();
        Tandry::ResetGameFolders();
        Platform::ResetPlatform();
    }

    std::filesystem::path Profiles() const { return data.Path() / "profiles"; }
    std::filesystem::path Settings() const { return data.Path() / "settings.ini"; }

    // The game's settings as the start-up would have read them.
    static void SetGameIni(const std::string& text) { Tandry::gGameIni.LoadText(text); }
    // The store's defaults document, read when the store is built.
    void SetDefaults(const std::string& text) { TestSupport::WriteFile(data.Path() / "res" / "game.ini", text); }

    // A new profile, made current.
    static void UseNewProfile(const std::wstring& name)
    {
        Tandry::ProfileManager& store = Tandry::GetProfileManager();
        ASSERT_TRUE(store.CreateProfile(name));
        store.SelectProfile(name);
        ASSERT_TRUE(store.LoadCurrentProfile());
    }

    // The store's profile names, building the store when there is none.
    static std::vector<std::wstring> Names()
    {
        std::vector<std::wstring> names;
        Tandry::GetProfileManager().GetProfileNames(names);
        return names;
    }

    static Platform::HeadlessDialogs& Dialogs()
    {
        return dynamic_cast<Platform::HeadlessDialogs&>(Platform::GetPlatform().GetDialogs());
    }

    // The first profile's file as it is on disk now.
    Tandry::NarrowIniDocument SavedProfile() const
    {
        const std::string bytes = TestSupport::ReadFile(Profiles() / "profile0.prf");
        Tandry::NarrowIniDocument doc;
        Tandry::NarrowIniDocument::LoadBytes(bytes.data(), bytes.size(), doc);
        return doc;
    }
    static std::string ValueOf(Tandry::NarrowIniDocument& doc, const std::string& section, const std::string& key)
    {
        const Tandry::NarrowIniDocument::Cursor found = doc.FindKey(section, key);
        return found == Tandry::NarrowIniDocument::NotFound() ? "<missing>" : found.GetValue();
    }

    Platform::HeadlessPlatform* platform = nullptr;
    TestSupport::ScratchFolder data{TestSupport::ScratchFolder::Enter};
};

} // namespace ShellTest
