// Arbitrary bytes as "logo\\logo.ini": the title screen builds its pages with
// a fake picture loader (a small picture for every name not ending in "x")
// and the null movie control (every movie refused), then is updated, drawn
// now and then and clicked at, until it hands over to the main menu. The
// hand-over happens once, only after the last page, and the screen's state
// stays within its ranges throughout.
#include "game/shell/BoardRegistry.h"
#include "game/shell/GameApp.h"
#include "game/shell/TitleScreen.h"
#include "graphics/context/Graphics.h"
#include "graphics/display/DDImage.h"
#include "graphics/image/MemoryImage.h"
#include "platform/flash/FlashControlFactory.h"
#include "platform/flash/NullFlashControl.h"
#include "platform/headless/HeadlessPlatform.h"

#include "tests/fuzz/FuzzBytes.h"
#include "tests/fuzz/FuzzScratchFolder.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace {

class FakePictureGame : public Tandry::GameApp {
public:
    Tandry::DDImage* LoadImageFile(const std::string& path, bool /*commit*/) override
    {
        if (path.empty() || path.back() == 'x')
            return nullptr;
        auto* image = new Tandry::DDImage();
        image->Create(1 + static_cast<int>(path.size() % 5), 1 + static_cast<int>(path.size() % 3));
        return image;
    }
};

int gHandOvers = 0;

void Setup()
{
    static bool done = [] {
        Platform::InstallHeadlessPlatform();
        new FakePictureGame(); // lives until the process ends
        Platform::SetFlashControlFactory([] { return std::make_unique<Platform::NullFlashControl>(); });
        Tandry::GetBoardRegistry().mainMenu = [](bool) -> Tandry::BaseBoard* {
            ++gHandOvers;
            return nullptr;
        };
        return true;
    }();
    (void)done;
}

void CheckState(const Tandry::TitleScreen& screen)
{
    FuzzCheck(screen.currentIndex <= screen.pages.size());
    FuzzCheck(screen.phase >= 0 && screen.phase <= 2);
    FuzzCheck(screen.skipAlpha >= 0.0f && screen.skipAlpha <= 1.0f);
    FuzzCheck(gHandOvers == (screen.finished ? 1 : 0));
    FuzzCheck(screen.finished == (screen.currentIndex == screen.pages.size()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Setup();
    FuzzScratchFolder scratch;
    std::filesystem::create_directories("logo");
    if (FILE* file = std::fopen("logo/logo.ini", "wb")) {
        if (size > 0)
            std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    gHandOvers = 0;
    {
        Tandry::TitleScreen screen;
        screen.Resize(0, 0, 1024, 768);
        for (const auto& page : screen.pages)
            FuzzCheck(page->loaded);
        // Adding it to the tree: only a screen without pages hands over then.
        if (screen.pages.empty())
            screen.Finish();
        CheckState(screen);

        Tandry::MemoryImage target;
        target.Create(16, 12);
        // Pictures count 0.01 s per update whatever the frame time, so a page
        // of a long time is clicked away, and one that cannot be skipped
        // ends the run.
        for (int update = 0; update < 20000 && !screen.finished; ++update) {
            screen.UpdateBoard(0.05f);
            CheckState(screen);
            if (update % 97 == 0) {
                Tandry::Graphics g(&target);
                screen.Draw(&g);
            }
            if (update % 500 == 499)
                screen.MouseDown(0, 0, 0, 1);
        }
        screen.Finish();
        FuzzCheck(gHandOvers == 1);
    }
    std::filesystem::remove("logo/logo.ini");
    return 0;
}
