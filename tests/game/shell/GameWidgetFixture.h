// The fixture of the game's widget tests (buttons, sliders, cursor, tooltips,
// bubbles, panels): the test application on the headless platform with the
// DirectDraw display, whose widget manager draws onto the screen image
// (ShellScreenFixture), plus what the game's widgets read from globals:
//
// - Fonts: the box rasterizer is the text service, so every character is a
//   box of known size (the 10-point face: 13 pixels high, ascent 10, 6 wide).
//   FONT_BUTTON, FONT_CORBEL, FONT_DEFAULT, FONT_HEAD, FONT_TEXT and
//   FONT_TEXT_BOLD are bound to such fonts (Font(), kFontPoints) and put back
//   to null after the test with every other global resource.
// - Texts: the test runs in a fresh program folder; SetLangTexts writes
//   "res\\lang.ini" (UTF-16) and makes the language table read it again.
// - Sounds: the UI sound bank plays through a recording manager; Played()
//   gives the bank names played, in order ("buttonPress", "buttonEnter", ...).
// - Pictures: layouts written as "layers.ini" plus PNG files under
//   "data/gui/<folder>/" (WriteLayout, SolidPixels, RingPixels) and read
//   through the application's own loader, so they are surface images of the
//   display as in the game.
// - Input: mouse moves, clicks and keys injected into the headless window
//   system and taken in by update passes of the loop (RunUpdate), or handed
//   to the manager directly (Manager().MouseMove(...)) where the loop is not
//   the point.
// - Drawing: DrawScreen fills the screen with a colour, draws every widget
//   and ScreenPixel reads the result (no alpha: the surface has none;
//   ChannelsNear allows the one step the surface's blending may lose).
#pragma once

#include "ShellAppFixture.h"
#include "ShellScreenFixture.h"
#include "app/SoundManagerStub.h"
#include "audio/SoundBank.h"
#include "audio/SoundInstance.h"
#include "game/shell/GlobalResources.h"
#include "game/shell/GuiLayout.h"
#include "graphics/context/Graphics.h"
#include "graphics/display/DDImage.h"
#include "platform/fonts/BoxTextService.h"
#include "platform/fs/FileOps.h"
#include "platform/fonts/TextService.h"
#include "platform/fs/ScratchFolder.h"
#include "platform/window/InputEvent.h"
#include "resources/images/ImageWriters.h"
#include "resources/ini/IniDocument.h"
#include "resources/ini/LangTable.h"
#include "widgets/SysFont.h"
#include "widgets/WidgetManager.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace GameWidgetTest {

// Plays nothing; records the bank name of every sound asked to play.
class NameRecordingSoundManager : public AppTest::SoundManagerStub {
public:
    int LoadSoundFile(const std::string& path) override
    {
        files.push_back(path);
        return static_cast<int>(files.size()) - 1;
    }
    Tandry::SoundInstance* NewSoundInstance(int id) override
    {
        if (id < 0 || id >= static_cast<int>(files.size()))
            return nullptr;
        instances.push_back(std::make_unique<Instance>(files[id], &played));
        return instances.back().get();
    }

    // The bank maps each name to "data\\sound\\" + the same name.
    static std::string NameOf(const std::string& file)
    {
        const std::string prefix = "data\\sound\\";
        return file.compare(0, prefix.size(), prefix) == 0 ? file.substr(prefix.size()) : file;
    }

    std::vector<std::string> files;
    std::vector<std::string> played;

private:
    class Instance : public Tandry::SoundInstance {
    public:
        Instance(std::string file, std::vector<std::string>* played) : mFile(std::move(file)), mPlayed(played) {}
        void Discard() override {}
        void SetDefaultVolume(double) override {}
        void SetDefaultPan(int) override {}
        void ShiftPitch(double) override {}
        void SetPlayVolume(double) override {}
        void SetPlayPan(int) override {}
        bool Play(bool, bool) override
        {
            mPlayed->push_back(NameOf(mFile));
            return true;
        }
        void Stop() override {}
        bool IsPlaying() override { return false; }
        bool IsDiscarded() override { return false; }
        double GetPlayVolume() override { return 1.0; }

    private:
        std::string mFile;
        std::vector<std::string>* mPlayed;
    };

    std::vector<std::unique_ptr<Instance>> instances;
};

// A picture as rows of ARGB pixels, row by row.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> argb;
};

// One colour all over.
inline Pixels SolidPixels(int width, int height, uint32_t argb)
{
    return {width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height, argb)};
}

// A square of side size in one colour with a transparent square hole of side
// hole in its middle (hole and size of the same parity keep it centred).
inline Pixels RingPixels(int size, int hole, uint32_t argb)
{
    Pixels ring = SolidPixels(size, size, argb);
    const int from = (size - hole) / 2;
    for (int y = from; y < from + hole; ++y)
        for (int x = from; x < from + hole; ++x)
            ring.argb[static_cast<size_t>(y) * size + x] = 0x00000000u;
    return ring;
}

// One entry of a fixture layout: its name (and file name), place, layer and
// picture; an entry without pixels gets no file.
struct LayoutPicture {
    std::string name;
    int x = 0;
    int y = 0;
    int layer = 0;
    Pixels pixels;
};

// Whether the RGB channels of two colours differ by at most tolerance each.
inline bool ChannelsNear(uint32_t got, uint32_t want, int tolerance = 1)
{
    for (int shift = 0; shift < 24; shift += 8) {
        const int a = static_cast<int>((got >> shift) & 0xFFu);
        const int b = static_cast<int>((want >> shift) & 0xFFu);
        if (a - b > tolerance || b - a > tolerance)
            return false;
    }
    return true;
}

class GameWidgetFixture : public ShellTest::ShellScreenFixture {
protected:
    // The point size of the fonts bound to the globals.
    static constexpr int kFontPoints = 10;

    void SetUp() override
    {
        ShellScreenFixture::SetUp();
        Platform::InstallTextService(std::make_unique<Platform::BoxTextService>());
        Tandry::ResetGlobalResources();
        for (int i = 0; i < 6; ++i)
            fonts.push_back(std::make_unique<Tandry::SysFont>("Arial Unicode MS", kFontPoints, 0));
        Tandry::FONT_BUTTON = fonts[0].get();
        Tandry::FONT_CORBEL = fonts[1].get();
        Tandry::FONT_DEFAULT = fonts[2].get();
        Tandry::FONT_HEAD = fonts[3].get();
        Tandry::FONT_TEXT = fonts[4].get();
        Tandry::FONT_TEXT_BOLD = fonts[5].get();

        Tandry::ResetLangTableForTests();

        Tandry::ResetUiSoundBank();
        Tandry::SoundBank& bank = Tandry::GetUiSoundBank();
        bank.SetSoundManager(&sounds);
        std::string document = "[sounds]\n";
        for (const char* name :
             {"buttonPress", "buttonEnter", "pause", "KeyPick", "KeyPlaceRight", "KeyPlace", "SpyMove"})
            document += std::string(name) + "=" + name + "\n";
        Tandry::NarrowIniDocument::LoadBytes(document.data(), document.size(), bank.document);
    }

    void TearDown() override
    {
        if (app != nullptr)
            app->mWidgetManager->RemoveAllWidgets(false, true);
        Tandry::ResetUiSoundBank();
        Tandry::ResetLangTableForTests();
        Tandry::ResetGlobalResources();
        fonts.clear();
        Platform::ResetTextService();
        ShellScreenFixture::TearDown();
    }

    Tandry::WidgetManager& Manager() { return *app->mWidgetManager; }

    // The bank names played since the last call.
    std::vector<std::string> Played()
    {
        std::vector<std::string> taken;
        taken.swap(sounds.played);
        return taken;
    }

    // Writes "res\\lang.ini" with these texts of the section (key, text) and
    // has the table read it on its next use.
    void SetLangTexts(const std::wstring& section, const std::vector<std::pair<std::string, std::wstring>>& texts)
    {
        Tandry::WideIniDocument document;
        Tandry::WideIniDocument::LoadUtf16("res\\lang.ini", document);
        const auto cursor = document.FindOrAddSection(section);
        for (const auto& [key, text] : texts)
            document.FindOrAddKey(cursor, std::wstring(key.begin(), key.end())).SetValue(text);
        std::filesystem::create_directories(::Platform::GetCurrentFolder() + "/res");
        ASSERT_TRUE(Tandry::WideIniDocument::SaveUtf16("res\\lang.ini", document));
        Tandry::ResetLangTableForTests();
    }

    // Writes a picture as a PNG file, path relative to the program folder.
    void WritePicture(const std::string& path, const Pixels& pixels)
    {
        std::filesystem::create_directories(std::filesystem::path(ProgramFolder() + "/" + path).parent_path());
        ASSERT_TRUE(Tandry::SavePngToFile(ProgramFolder() + "/" + path,
                                          {pixels.width, pixels.height, pixels.argb.data()}));
    }

    // Writes "data/gui/<folder>/layers.ini" and the pictures beside it and
    // reads the layout with its pictures. The caller owns the layout.
    std::unique_ptr<Tandry::GuiLayout> WriteLayout(const std::string& folder,
                                                   const std::vector<LayoutPicture>& pictures)
    {
        const std::string base = "data/gui/" + folder + "/";
        std::string ini = "[layers]\n";
        for (const LayoutPicture& picture : pictures) {
            ini += picture.name + "=" + std::to_string(picture.x) + " " + std::to_string(picture.y) + " 0 0 0 0 " +
                   std::to_string(picture.layer) + "\n";
            if (picture.pixels.width > 0 && picture.pixels.height > 0)
                WritePicture(base + picture.name + ".png", picture.pixels);
        }
        TestSupport::WriteFile(ProgramFolder() + "/" + base + "layers.ini", ini);
        return std::make_unique<Tandry::GuiLayout>(base, true);
    }

    // Input taken in by the next update pass.
    void InjectMouseMove(int x, int y)
    {
        Platform::InputEvent event;
        event.kind = Platform::InputEventKind::MouseMotion;
        event.x = x;
        event.y = y;
        platform->Windows().Inject(event);
    }
    void InjectMouseButton(bool down, int x, int y, Platform::MouseButton button = Platform::MouseButton::Left)
    {
        Platform::InputEvent event;
        event.kind = down ? Platform::InputEventKind::MouseButtonDown : Platform::InputEventKind::MouseButtonUp;
        event.x = x;
        event.y = y;
        event.button = button;
        platform->Windows().Inject(event);
    }
    // A move to the point, a press and a release there.
    void InjectClick(int x, int y, Platform::MouseButton button = Platform::MouseButton::Left)
    {
        InjectMouseMove(x, y);
        InjectMouseButton(true, x, y, button);
        InjectMouseButton(false, x, y, button);
    }
    // A key-down and its key-up, by Windows virtual-key code.
    void InjectKey(uint32_t virtualKey)
    {
        Platform::InputEvent event;
        event.kind = Platform::InputEventKind::KeyDown;
        event.virtualKey = virtualKey;
        platform->Windows().Inject(event);
        event.kind = Platform::InputEventKind::KeyUp;
        platform->Windows().Inject(event);
    }

    // One update pass of the loop, after the step that takes injected input.
    void RunUpdate() { ShellTest::RunUpdatePass(*app); }

    // Fills the screen with the colour and draws every widget onto it.
    void DrawScreen(uint32_t background = 0xFF000000u)
    {
        Tandry::Image* screen = Manager().drawImage;
        ASSERT_NE(screen, nullptr);
        {
            Tandry::Graphics g(screen);
            g.SetColor(Tandry::Color(background));
            g.FillRect(0, 0, screen->mWidth, screen->mHeight);
        }
        Manager().MarkAllDirty();
        Manager().DrawScreen();
    }

    // A pixel of the screen as RGB (the surface keeps no alpha). Drawing on
    // the surface blends even opaque colours, within one step per channel:
    // compare with ChannelsNear.
    uint32_t ScreenPixel(int x, int y)
    {
        return app->mDDInterface->mScreenImage->GetPixel(x, y) & 0xFFFFFFu;
    }

    NameRecordingSoundManager sounds;
    std::vector<std::unique_ptr<Tandry::SysFont>> fonts;
};

} // namespace GameWidgetTest
