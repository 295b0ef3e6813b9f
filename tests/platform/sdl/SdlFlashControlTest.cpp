// On the SDL back end, as on the headless one, the movie control a widget
// gets plays the project's movie files, on the real clock.
#include "platform/Platform.h"
#include "platform/flash/FlashControlFactory.h"
#include "platform/flash/MovieFileControl.h"
#include "platform/sdl/SdlPlatform.h"
#include "platform/sdl/SdlTestSupport.h"
#include "tests/platform/flash/RecordingFlashSink.h"
#include "tests/platform/fs/ScratchFolder.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

using namespace Platform;

TEST(SdlFlashControl, TheDefaultControlPlaysMovieFiles)
{
    SdlTestSupport::UseDummyDrivers();
    auto platform = kSdlBootstrap.create({"Hollowmere", "MoorglenTest" + std::to_string(getpid()), {}});
    ASSERT_NE(platform, nullptr);
    InstallPlatform(std::move(platform));
    ResetFlashControlFactory();
    TestSupport::ScratchFolder folder;
    TestSupport::WriteFile(folder.Path() / "m.dat", "MOORGLEN MOVIE 1\n0 next 1\n0 end\n");

    const std::unique_ptr<FlashControl> control = CreateFlashControl();
    ASSERT_NE(dynamic_cast<MovieFileControl*>(control.get()), nullptr);
    TestSupport::RecordingFlashSink sink;
    control->Advise(&sink);
    const std::string path = folder / "m.dat";
    ASSERT_TRUE(control->PutMovie(std::wstring(path.begin(), path.end())));
    ASSERT_TRUE(control->Play());
    EXPECT_FALSE(control->IsPlaying());
    EXPECT_EQ(sink.events, (std::vector<std::string>{"150 next|1", "150 end|"}));
    control->Close();
    ResetPlatform();
}

} // namespace
