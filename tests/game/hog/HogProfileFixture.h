// A hidden-object test over a real profile store on a temporary data folder,
// with a selected profile "Ann" whose document is in memory and an empty
// message bus.
#pragma once

#include "game/hog/TMessenger.h"
#include "game/shell/ProfileManager.h"
#include "tests/game/shell/ProfileFolderFixture.h"

namespace HogTest {

class HogProfileFixture : public ShellTest::ProfileFolderFixture {
protected:
    void SetUp() override
    {
        Tandry::ResetMessageBus();
        ProfileFolderFixture::SetUp();
        Tandry::ProfileManager& store = Tandry::GetProfileManager();
        store.CreateProfile(L"Ann");
        store.SelectProfile(L"Ann");
        ASSERT_TRUE(store.LoadCurrentProfile());
    }
    void TearDown() override
    {
        ProfileFolderFixture::TearDown();
        Tandry::ResetMessageBus();
    }

    static Tandry::ProfileManager& Store() { return Tandry::GetProfileManager(); }
};

} // namespace HogTest
