// The program's run on the SDL back end under its dummy driver: the game
// starts, runs its loop until its window is closed, and leaves a clean exit
// behind in its registry file.
#include "game/shell/RunGame.h"

#include "game/shell/GameApp.h"
#include "platform/Platform.h"
#include "platform/fs/ScratchFolder.h"
#include "platform/registry/FileRegistry.h"
#include "platform/sdl/SdlPlatform.h"
#include "platform/sdl/SdlTestSupport.h"
#include "platform/window/WindowMessages.h"
#include "platform/window/WindowSystemBase.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

namespace {

// Closes the game's window once it exists, as a user would. The game's
// platform outlives the close, so touching it until then is safe.
void CloseTheGameWindowWhenItAppears()
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < deadline) {
        if (Platform::ServiceBundle* platform = Platform::TryGetPlatform()) {
            auto* windows = dynamic_cast<Platform::WindowSystemBase*>(&platform->GetWindows());
            Platform::WindowHandle main = windows != nullptr ? windows->GetMainWindow() : nullptr;
            if (main != nullptr && windows->PostMessage(main, Platform::WM_CLOSE, 0, 0))
                return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

// The game starts in its program's folder, which is the test program's: for
// the test's length that folder links to a copy of the built game's data.
class GameDataInProgramFolder {
public:
    GameDataInProgramFolder()
    {
        namespace fs = std::filesystem;
        fs::copy(MOORGLEN_GAME_FOLDER, mCopy.Path(), fs::copy_options::recursive);
        const fs::path program = fs::read_symlink("/proc/self/exe").parent_path();
        for (const fs::directory_entry& entry : fs::directory_iterator(mCopy.Path())) {
            const fs::path link = program / entry.path().filename();
            if (fs::exists(link) && !fs::is_symlink(link))
                continue;
            fs::remove(link);
            fs::create_symlink(entry.path(), link);
            mLinks.push_back(link);
        }
    }
    ~GameDataInProgramFolder()
    {
        for (const std::filesystem::path& link : mLinks)
            std::filesystem::remove(link);
    }

private:
    TestSupport::ScratchFolder mCopy;
    std::vector<std::filesystem::path> mLinks;
};

TEST(RunGame, TheGameRunsUntilItsWindowIsClosed)
{
    TestSupport::ScratchFolder scratch;
    GameDataInProgramFolder gameData;
    setenv("XDG_CONFIG_HOME", (scratch.Path() / "config").c_str(), 1);
    setenv("XDG_DATA_HOME", (scratch.Path() / "data").c_str(), 1);
    unsetenv("MOORGLEN_PLATFORM");
    Platform::SdlTestSupport::UseDummyDrivers();
    const std::filesystem::path folder = std::filesystem::current_path();
    Platform::ResetPlatform();

    std::thread closer(CloseTheGameWindowWhenItAppears);
    EXPECT_EQ(Tandry::RunGame(Platform::GetBackendTable(), {}), 0);
    closer.join();
    std::filesystem::current_path(folder);
    EXPECT_EQ(Tandry::gGameApp, nullptr);
    EXPECT_EQ(Platform::TryGetPlatform(), nullptr);

    Platform::FileRegistry registry((scratch.Path() / "config/Hollowmere/Moorglen/registry.ini").string());
    Platform::RegistryKey key;
    ASSERT_TRUE(registry.OpenKey("SOFTWARE\\Hollowmere\\Moorglen", key));
    uint32_t type = 0;
    uint8_t data[4] = {0xFF, 0xFF, 0xFF, 0xFF};
    uint32_t length = sizeof data;
    ASSERT_TRUE(registry.QueryValue(key, "InProgress", &type, data, &length));
    EXPECT_EQ(type, Platform::REG_DWORD);
    EXPECT_EQ(length, 4u);
    EXPECT_EQ(data[0] | data[1] | data[2] | data[3], 0);
}

TEST(RunGame, TheGameObjectCarriesTheGamesNames)
{
    {
        Tandry::GameApp game;
        EXPECT_EQ(Tandry::gGameApp, &game);
        EXPECT_EQ(Tandry::gApplication, &game);
        EXPECT_EQ(game.mProductName, "Moorglen");
        EXPECT_EQ(game.mRegistryKey, "Hollowmere\\Moorglen");
        EXPECT_EQ(game.mCompanyName, "Hollowmere");
        EXPECT_EQ(game.mWidth, 1024);
        EXPECT_EQ(game.mHeight, 768);
        EXPECT_EQ(game.mMusicVolume, 0.5);
        EXPECT_TRUE(game.mSmoothVSync);
        EXPECT_TRUE(game.mAutoEnable3D);
        EXPECT_FALSE(game.mAutoStartLoadingThread);
    }
    EXPECT_EQ(Tandry::gGameApp, nullptr);
    Platform::ResetPlatform();
}

} // namespace
