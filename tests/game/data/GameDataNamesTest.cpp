// Every file, section, key, resource id, layout entry and effect name that
// the shell reads is in the built data, read from the packs alone as the
// packed game reads it. One table: an issue that adds a screen, a sound or a
// text adds its rows here.
#include "tests/game/data/GameFolder.h"
#include "tests/game/data/StartedGame.h"

#include "graphics/display/DDImage.h"
#include "resources/ini/IniDocument.h"
#include "resources/ini/IniFile.h"
#include "resources/ini/LangTable.h"
#include "resources/pak/PakFile.h"
#include "util/StringUtils.h"

#include <algorithm>
#include <memory>

namespace {

using namespace GameDataTest;

enum class Kind {
    File,    // a: the file
    Ini,     // a: the ini file, b: its section, c: the key
    Lang,    // b: the section of the language table, c: the key
    Sound,   // c: a name of [sounds] in "res\\sounds.ini", whose files all open
    Font,    // c: a font id of the manifest
    Image,   // c: a picture id of the manifest
    Entry,   // a: the layout folder, c: an entry of its "layers.ini" with a picture
    Effect,  // c: the particle effect
};

struct Row {
    Kind kind;
    const char* a;
    const char* b;
    const char* c;
};

const char* const kGameIni = "res\\game.ini";
const char* const kSoundsIni = "res\\sounds.ini";

// Layout rows: one per entry.
#define ENTRY(folder, entry) {Kind::Entry, "data/gui/" folder "/", nullptr, entry}

const Row kRows[] = {
    // Files read by name.
    {Kind::File, "res\\game.ini", nullptr, nullptr},
    {Kind::File, "res\\sounds.ini", nullptr, nullptr},
    {Kind::File, "res\\lang.ini", nullptr, nullptr},
    {Kind::File, "logo\\logo.ini", nullptr, nullptr},
    {Kind::File, "data\\properties\\resources.xml", nullptr, nullptr},
    {Kind::File, "data\\music\\track02ispy.ogg", nullptr, nullptr},
    {Kind::File, "data\\music\\track01boevik.ogg", nullptr, nullptr},
    {Kind::File, "data\\images\\fast.png", nullptr, nullptr},
    {Kind::File, "data/ambient/moor.ini", nullptr, nullptr},
    {Kind::File, "data/ambient/glen.ini", nullptr, nullptr},

    // "res\\game.ini".
    {Kind::Ini, kGameIni, "Game", "StartScene"},
    {Kind::Ini, kGameIni, "Game", "AmbientMul"},
    {Kind::Ini, kGameIni, "Game", "HintTime"},
    {Kind::Ini, kGameIni, "Game", "ProgressParts"},
    {Kind::Ini, kGameIni, "Game", "ScreenFade"},
    {Kind::Ini, kGameIni, "Game", "MovieFadeInTime"},
    {Kind::Ini, kGameIni, "Game", "MovieFadeOutTime"},
    {Kind::Ini, kGameIni, "Game", "MovieTextRect"},
    {Kind::Ini, kGameIni, "Game", "TimePerChar"},
    {Kind::Ini, kGameIni, "Game", "TimePerStringAdd"},
    {Kind::Ini, kGameIni, "ScreenEffect", "default"},
    {Kind::Ini, kGameIni, "ScreenEffect", "MenuToGame"},
    {Kind::Ini, kGameIni, "ScreenEffect", "GameToGame"},
    {Kind::Ini, kGameIni, "ScreenEffect", "MenuToMovie"},
    {Kind::Ini, kGameIni, "ScreenEffect", "GameToMovie"},
    {Kind::Ini, kGameIni, "ScreenEffect", "MovieToGame"},
    {Kind::Ini, kGameIni, "Clusters", nullptr},
    {Kind::Ini, kGameIni, "Clusters", "moor"},
    {Kind::Ini, kGameIni, "Clusters", "glen"},
    {Kind::Ini, kGameIni, "Options", "FullScreen"},
    {Kind::Ini, "logo\\logo.ini", "Game", "LogoList"},
    {Kind::Ini, "logo\\logo.ini", "Game", "FadeTime"},
    {Kind::Ini, "logo\\logo.ini", "Game", "ShowTime"},
    {Kind::Ini, kSoundsIni, "Music", "MusicList"},
    {Kind::Ini, kSoundsIni, "Music", "Menu"},
    {Kind::Ini, kSoundsIni, "Music", "moor"},
    {Kind::Ini, kSoundsIni, "Music", "glen"},

    // Sounds played by name.
    {Kind::Sound, nullptr, nullptr, "buttonPress"},
    {Kind::Sound, nullptr, nullptr, "buttonEnter"},
    {Kind::Sound, nullptr, nullptr, "pause"},
    {Kind::Sound, nullptr, nullptr, "KeyPick"},
    {Kind::Sound, nullptr, nullptr, "KeyPlaceRight"},
    {Kind::Sound, nullptr, nullptr, "KeyPlace"},
    {Kind::Sound, nullptr, nullptr, "SpyMove"},
    {Kind::Sound, nullptr, nullptr, "wind"},
    {Kind::Sound, nullptr, nullptr, "lampcreak"},
    {Kind::Sound, nullptr, nullptr, "water"},
    {Kind::Sound, nullptr, nullptr, "chime"},

    // Texts.
    {Kind::Lang, nullptr, "Interface", "WindowCaption"},
    {Kind::Lang, nullptr, "Interface", "Skip"},
    {Kind::Lang, nullptr, "Interface", "MainMenuCopyright"},
    {Kind::Lang, nullptr, "Interface", "Menu"},
    {Kind::Lang, nullptr, "Interface", "Pause"},
    {Kind::Lang, nullptr, "Interface", "ExitConfirm"},
    {Kind::Lang, nullptr, "Interface", "Resume"},
    {Kind::Lang, nullptr, "Interface", "Options"},
    {Kind::Lang, nullptr, "Interface", "MainMenu"},
    {Kind::Lang, nullptr, "Interface", "Yes"},
    {Kind::Lang, nullptr, "Interface", "No"},
    {Kind::Lang, nullptr, "Interface", "OptionsHead"},
    {Kind::Lang, nullptr, "Interface", "OptionsSfx"},
    {Kind::Lang, nullptr, "Interface", "OptionsMusic"},
    {Kind::Lang, nullptr, "Interface", "OptionsAmbient"},
    {Kind::Lang, nullptr, "Interface", "OptionsCustomCursors"},
    {Kind::Lang, nullptr, "Interface", "OptionsChangeMode"},
    {Kind::Lang, nullptr, "Interface", "OptionsWindowed"},
    {Kind::Lang, nullptr, "Interface", "OptionsFullScreen"},
    {Kind::Lang, nullptr, "Interface", "OptionsBack"},
    {Kind::Lang, nullptr, "Interface", "MovieSkip"},
    {Kind::Lang, nullptr, "Interface", "MovieFast"},
    {Kind::Lang, nullptr, "Interface", "DefaultProfileName"},
    {Kind::Lang, nullptr, "Interface", "EmptyProfileText"},
    {Kind::Lang, nullptr, "Interface", "ProfileHead"},
    {Kind::Lang, nullptr, "Interface", "ProfileText"},
    {Kind::Lang, nullptr, "Interface", "ProfileCreate"},
    {Kind::Lang, nullptr, "Interface", "ProfileDelete"},
    {Kind::Lang, nullptr, "Interface", "ProfileRename"},
    {Kind::Lang, nullptr, "Interface", "ProfileBack"},
    {Kind::Lang, nullptr, "Interface", "ProfDlgCreateText"},
    {Kind::Lang, nullptr, "Interface", "ProfDlgCreateOk"},
    {Kind::Lang, nullptr, "Interface", "ProfDlgCreateCancel"},
    {Kind::Lang, nullptr, "Interface", "ProfDlgRenameText"},
    {Kind::Lang, nullptr, "Interface", "ProfDlgRenameOk"},
    {Kind::Lang, nullptr, "Interface", "ProfDlgRenameCancel"},
    {Kind::Lang, nullptr, "Interface", "ProfDlgDeleteText"},
    {Kind::Lang, nullptr, "Interface", "ProfDlgDeleteYes"},
    {Kind::Lang, nullptr, "Interface", "ProfDlgDeleteNo"},
    {Kind::Lang, nullptr, "Interface", "ProfDlgExistsText"},
    {Kind::Lang, nullptr, "Interface", "ProfDlgExistsOk"},
    {Kind::Lang, nullptr, "Interface", "ProfDlgNoMoreText"},
    {Kind::Lang, nullptr, "Interface", "ProfDlgNoMoreOk"},
    {Kind::Lang, nullptr, "Interface", "ProfDlgAnyProfileText"},
    {Kind::Lang, nullptr, "Interface", "ProfDlgAnyProfileOk"},
    {Kind::Lang, nullptr, "Interface", "HintToolTip"},
    {Kind::Lang, nullptr, "Interface", "NoMoreHints"},
    {Kind::Lang, nullptr, "Interface", "HintNoRandomRecord"},
    {Kind::Lang, nullptr, "Credits", "Head1"},
    {Kind::Lang, nullptr, "Credits", "Text1"},
    {Kind::Lang, nullptr, "Credits", "Head2"},
    {Kind::Lang, nullptr, "Credits", "Text2"},
    {Kind::Lang, nullptr, "Credits", "Continue"},
    {Kind::Lang, nullptr, "Credits", "Click"},

    // Resource ids bound at start-up.
    {Kind::Font, nullptr, nullptr, "FONT_BUTTON"},
    {Kind::Font, nullptr, nullptr, "FONT_CORBEL"},
    {Kind::Font, nullptr, nullptr, "FONT_DEFAULT"},
    {Kind::Font, nullptr, nullptr, "FONT_HEAD"},
    {Kind::Font, nullptr, nullptr, "FONT_TEXT"},
    {Kind::Font, nullptr, nullptr, "FONT_TEXT_BOLD"},
    {Kind::Image, nullptr, nullptr, "IMAGE_BUTTON_CROSS"},
    {Kind::Image, nullptr, nullptr, "IMAGE_BUTTON_SKIP"},
    {Kind::Image, nullptr, nullptr, "IMAGE_BUTTON_SKIP_OVER"},
    {Kind::Image, nullptr, nullptr, "IMAGE_CURSOR_AIM"},
    {Kind::Image, nullptr, nullptr, "IMAGE_CURSOR_AIM_HIT"},
    {Kind::Image, nullptr, nullptr, "IMAGE_CURSOR_AIM_MISS"},
    {Kind::Image, nullptr, nullptr, "IMAGE_CURSOR_ARROW"},
    {Kind::Image, nullptr, nullptr, "IMAGE_CURSOR_ARROW_RED"},
    {Kind::Image, nullptr, nullptr, "IMAGE_CURSOR_DOOR"},
    {Kind::Image, nullptr, nullptr, "IMAGE_CURSOR_HAND"},
    {Kind::Image, nullptr, nullptr, "IMAGE_CURSOR_HAND2"},
    {Kind::Image, nullptr, nullptr, "IMAGE_CURSOR_ITEM"},
    {Kind::Image, nullptr, nullptr, "IMAGE_CURSOR_MAGNIFIER"},
    {Kind::Image, nullptr, nullptr, "IMAGE_DARK_BACK"},
    {Kind::Image, nullptr, nullptr, "IMAGE_FIELD_BORDER"},
    {Kind::Image, nullptr, nullptr, "IMAGE_HINT"},
    {Kind::Image, nullptr, nullptr, "IMAGE_HINT_CIRCLE"},
    {Kind::Image, nullptr, nullptr, "IMAGE_HINT_RECH"},
    {Kind::Image, nullptr, nullptr, "IMAGE_LINE"},
    {Kind::Image, nullptr, nullptr, "IMAGE_LOOP"},
    {Kind::Image, nullptr, nullptr, "IMAGE_PARTS"},

    // Particle effects asked for by name.
    {Kind::Effect, nullptr, nullptr, "1_Sky"},
    {Kind::Effect, nullptr, nullptr, "12_lght_l"},
    {Kind::Effect, nullptr, nullptr, "hg_house_2"},
    {Kind::Effect, nullptr, nullptr, "lightarrow"},
    {Kind::Effect, nullptr, nullptr, "notebook"},
    {Kind::Effect, nullptr, nullptr, "clock_big"},
    {Kind::Effect, nullptr, nullptr, "clock_small"},
    {Kind::Effect, nullptr, nullptr, "Hint"},

    // Layouts.
    ENTRY("loading", "lamp"),
    ENTRY("loading", "line"),
    ENTRY("main_menu", "_back"),
    ENTRY("main_menu", "_back2"),
    ENTRY("main_menu", "buttons/player_name"),
    ENTRY("main_menu", "fx/spot1"),
    ENTRY("main_menu", "buttons/play_in"),
    ENTRY("main_menu", "buttons/play_ac"),
    ENTRY("main_menu", "buttons/play_dn"),
    ENTRY("main_menu", "buttons/here_in"),
    ENTRY("main_menu", "buttons/here_ac"),
    ENTRY("main_menu", "buttons/here_dn"),
    ENTRY("main_menu", "buttons/Options_in"),
    ENTRY("main_menu", "buttons/Options_ac"),
    ENTRY("main_menu", "buttons/Options_dn"),
    ENTRY("main_menu", "buttons/Credits_in"),
    ENTRY("main_menu", "buttons/Credits_ac"),
    ENTRY("main_menu", "buttons/Credits_dn"),
    ENTRY("main_menu", "buttons/exit_in"),
    ENTRY("main_menu", "buttons/exit_ac"),
    ENTRY("main_menu", "buttons/exit_dn"),
    ENTRY("ingamemenu", "_back"),
    ENTRY("ingamemenu", "menu"),
    ENTRY("ingamemenu", "resume/resume_in"),
    ENTRY("ingamemenu", "resume/resume_ac"),
    ENTRY("ingamemenu", "options/options_in"),
    ENTRY("ingamemenu", "options/options_ac"),
    ENTRY("ingamemenu", "mainmenu/mainmenu_in"),
    ENTRY("ingamemenu", "mainmenu/mainmenu_ac"),
    ENTRY("exit", "dark"),
    ENTRY("exit", "back"),
    ENTRY("exit", "text"),
    ENTRY("exit", "buttons/yes/yes_in"),
    ENTRY("exit", "buttons/yes/yes_ac"),
    ENTRY("exit", "buttons/yes/yes_dn"),
    ENTRY("exit", "buttons/no/no_in"),
    ENTRY("exit", "buttons/no/no_ac"),
    ENTRY("exit", "buttons/no/no_dn"),
    ENTRY("options", "dark"),
    ENTRY("options", "frame"),
    ENTRY("options", "placeholders/changemode"),
    ENTRY("options", "placeholders/options"),
    ENTRY("options", "placeholders/sound"),
    ENTRY("options", "placeholders/music"),
    ENTRY("options", "placeholders/ambient"),
    ENTRY("options", "placeholders/cursor"),
    ENTRY("options", "buttons/close/close_in"),
    ENTRY("options", "buttons/changemode/changemode_in"),
    ENTRY("options", "buttons/changemode/changemode_ac"),
    ENTRY("options", "buttons/cursor_on/cursor_in"),
    ENTRY("options", "buttons/cursor_on/cursor_ac"),
    ENTRY("options", "buttons/cursor_off/cursor_in"),
    ENTRY("options", "buttons/cursor_off/cursor_ac"),
    ENTRY("options", "scroll/dot"),
    ENTRY("options", "scroll/music_line"),
    ENTRY("options", "scroll/sound_line"),
    ENTRY("options", "scroll/ambient_line"),
    ENTRY("credits", "fade"),
    ENTRY("credits", "logos"),
    ENTRY("movie", "skip/skip_in"),
    ENTRY("movie", "skip/skip_ac"),
    ENTRY("movie", "skip/skip_pr"),
    ENTRY("movie", "fast/fast_in"),
    ENTRY("movie", "fast/fast_pr"),
    ENTRY("profiles", "frame"),
    ENTRY("profiles", "placeholders/profile"),
    ENTRY("profiles", "placeholders/select"),
    ENTRY("profiles", "profiles/profile1/profile_in"),
    ENTRY("profiles", "profiles/profile1/profile_ac"),
    ENTRY("profiles", "placeholders/profile1"),
    ENTRY("profiles", "profiles/profile5/profile_in"),
    ENTRY("profiles", "profiles/profile5/profile_ac"),
    ENTRY("profiles", "placeholders/profile5"),
    ENTRY("profiles", "buttons/create/create_in"),
    ENTRY("profiles", "buttons/create/create_ac"),
    ENTRY("profiles", "buttons/delete/delete_in"),
    ENTRY("profiles", "buttons/delete/delete_ac"),
    ENTRY("profiles", "buttons/rename/rename_in"),
    ENTRY("profiles", "buttons/rename/rename_ac"),
    ENTRY("profiles", "buttons/close/close_in"),
    ENTRY("profiles", "buttons/close/close_ac"),
    ENTRY("dialog", "back"),
    ENTRY("dialog", "dialog"),
    ENTRY("dialog", "buttons/ok/ok_in"),
    ENTRY("dialog", "buttons/ok/ok_ac"),
    ENTRY("dialog", "buttons/close/close_in"),
    ENTRY("dialog", "buttons/close/close_ac"),
    ENTRY("dialog", "left_button"),
    ENTRY("dialog", "right_button"),
    ENTRY("dialog", "profile_name"),
    ENTRY("dialog", "profile_bar"),
    ENTRY("interface", "interface"),
    ENTRY("interface", "bubble"),
    ENTRY("interface", "menu/menu_in"),
    ENTRY("interface", "menu/menu_gl"),
    ENTRY("interface", "progress/progress_empty"),
    ENTRY("interface", "progress/progress_full"),
    ENTRY("interface", "book/book_gl"),
    ENTRY("interface", "book/book_in"),
    ENTRY("interface", "inventory/inventory"),
    ENTRY("interface", "inventory/place"),
    ENTRY("interface", "inventory/lowarrow"),
    ENTRY("interface", "inventory/lowerline"),
    ENTRY("interface", "compass/_glass"),
    ENTRY("interface", "compass/arrow"),
    ENTRY("interface", "compass/back"),
    ENTRY("interface", "compass/back2"),
    ENTRY("interface", "compass/dot"),
    ENTRY("interface", "compass/innercircle"),
    ENTRY("interface", "compass/outercircle"),
};

#undef ENTRY

// Keys the shell reads that the sample data leaves out, so that they keep
// their default 0: no hint ids are generated and only three extra items hide
// in a hidden-object level.
// Without "ProfileDir" the profiles folder sits straight in the data root; without
// the two developer switches a player's first run makes no pack and no
// "Developer" profile.
const Row kAbsentRows[] = {
    {Kind::Ini, kGameIni, "Game", "GenerateHintIds"},
    {Kind::Ini, kGameIni, "Game", "PlaceAllSpheres"},
    {Kind::Ini, kGameIni, "Game", "ProfileDir"},
    {Kind::Ini, kGameIni, "Game", "AutoCreatePak"},
    {Kind::Ini, kGameIni, "Game", "CreateDeveloperProfile"},
};

bool Opens(const std::string& name)
{
    Tandry::PakFileHandle* file = Tandry::PakOpen(name, "rb");
    if (file == nullptr)
        return false;
    Tandry::PakClose(file);
    return true;
}

bool IniHasKey(const std::string& file, const std::string& section, const char* key)
{
    Tandry::IniFile ini;
    ini.Load(file);
    const std::string wanted = Tandry::LowerCaseCopy(section);
    const auto& sections = ini.GetSections();
    if (std::none_of(sections.begin(), sections.end(), [&](const auto& s) { return s.GetName() == wanted; }))
        return false;
    if (key == nullptr)
        return true;
    std::vector<std::string> keys;
    ini.GetKeyNames(wanted, keys);
    return std::find(keys.begin(), keys.end(), Tandry::LowerCaseCopy(key)) != keys.end();
}

// The files of a sound name, or a failure.
::testing::AssertionResult SoundPlays(const std::string& name)
{
    Tandry::NarrowIniDocument sounds;
    if (!Tandry::NarrowIniDocument::Load(kSoundsIni, sounds))
        return ::testing::AssertionFailure() << "no " << kSoundsIni;
    const auto key = sounds.FindKey("sounds", name);
    if (key == Tandry::NarrowIniDocument::NotFound())
        return ::testing::AssertionFailure() << "no key " << name << " in [sounds]";
    std::vector<std::string> files;
    Tandry::SplitCommaList(files, key.GetValue());
    if (files.empty())
        return ::testing::AssertionFailure() << name << " names no file";
    for (const std::string& file : files)
        if (!Opens("data\\sound\\" + Tandry::TrimSpaces(file) + ".wav"))
            return ::testing::AssertionFailure() << name << ": no data\\sound\\" << file << ".wav";
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult EntryHasPicture(Tandry::GameApp& game, const std::string& folder, const std::string& entry)
{
    if (!IniHasKey(folder + "/layers.ini", "layers", entry.c_str()))
        return ::testing::AssertionFailure() << "no entry " << entry << " in " << folder << "layers.ini";
    std::unique_ptr<Tandry::DDImage> picture(game.LoadImageFile(folder + Tandry::LowerCaseCopy(entry), true));
    if (picture == nullptr || picture->mWidth <= 0 || picture->mHeight <= 0)
        return ::testing::AssertionFailure() << "no picture for " << folder << entry;
    return ::testing::AssertionSuccess();
}

class GameDataNamesTest : public ::testing::Test {
protected:
    GameFolderCopy mFolder;
};

TEST_F(GameDataNamesTest, EveryNameTheShellReadsIsInThePacks)
{
    mFolder.RemoveLooseFolders();
    StartedGame started;
    std::string error;
    ASSERT_TRUE(started.LoadResources(error)) << error;
    Tandry::ResourceManager& resources = started.Resources();
    Tandry::WideIniDocument& lang = Tandry::GetLangTable();

    for (const Row& row : kRows) {
        const std::string c = row.c != nullptr ? row.c : "";
        switch (row.kind) {
        case Kind::File:
            EXPECT_TRUE(Opens(row.a)) << row.a;
            break;
        case Kind::Ini:
            EXPECT_TRUE(IniHasKey(row.a, row.b, row.c)) << row.a << " [" << row.b << "] " << c;
            break;
        case Kind::Lang: {
            const auto key = lang.FindKey(Tandry::WidenString(row.b), Tandry::WidenString(c));
            ASSERT_NE(key, Tandry::WideIniDocument::NotFound()) << "[" << row.b << "] " << c;
            EXPECT_FALSE(key.GetValue().empty()) << "[" << row.b << "] " << c;
            break;
        }
        case Kind::Sound:
            EXPECT_TRUE(SoundPlays(c));
            break;
        case Kind::Font:
            EXPECT_NE(resources.GetFont(c), nullptr) << c;
            break;
        case Kind::Image:
            EXPECT_NE(resources.GetImageThrow(c).GetImage(), nullptr) << c;
            break;
        case Kind::Entry:
            EXPECT_TRUE(EntryHasPicture(started.Game(), row.a, c));
            break;
        case Kind::Effect: {
            Tandry::PakFileHandle* file = Tandry::PakOpen("data\\particles\\" + c, "rb");
            ASSERT_NE(file, nullptr) << c;
            std::vector<uint8_t> block(129);
            EXPECT_EQ(Tandry::PakRead(block.data(), 1, block.size(), file), 128u) << c << " is 128 bytes";
            Tandry::PakClose(file);
            break;
        }
        }
    }
    for (const Row& row : kAbsentRows)
        EXPECT_FALSE(IniHasKey(row.a, row.b, row.c)) << row.a << " [" << row.b << "] " << row.c;
}

// The picture bound as IMAGE_PARTS is the cel sheet the particle files count
// their cels in, and the masked picture takes its alpha from its "_" mask.
TEST_F(GameDataNamesTest, ThePicturesBoundByIdHaveTheirCelsAndMasks)
{
    StartedGame started;
    std::string error;
    ASSERT_TRUE(started.LoadResources(error)) << error;
    Tandry::Image* parts = started.Resources().GetImageThrow("IMAGE_PARTS").GetImage();
    EXPECT_EQ(parts->mNumRows, 2);
    EXPECT_EQ(parts->mNumCols, 4);

    Tandry::Image* dark = started.Resources().GetImageThrow("IMAGE_DARK_BACK").GetImage();
    EXPECT_EQ(dark->mWidth, 1024);
    EXPECT_EQ(dark->mHeight, 768);

    auto* ring = dynamic_cast<Tandry::MemoryImage*>(started.Resources().GetImageThrow("IMAGE_HINT_CIRCLE").GetImage());
    ASSERT_NE(ring, nullptr);
    ASSERT_NE(ring->GetBits(), nullptr);
    const uint32_t* bits = ring->GetBits();
    const int w = ring->mWidth;
    EXPECT_EQ(bits[0] >> 24, 0u) << "the corner is outside the ring: transparent";
    EXPECT_EQ(bits[48 * w + 48] >> 24, 0u) << "the centre is inside the ring: transparent";
    EXPECT_EQ(bits[48 * w + 8] >> 24, 255u) << "on the ring: opaque";
}

// The panels' buttons are hit only where their picture is not transparent,
// so the corners of their plates let a click through and the middle does not.
TEST_F(GameDataNamesTest, ThePanelButtonPicturesHaveTransparentCorners)
{
    StartedGame started;
    std::string error;
    ASSERT_TRUE(started.LoadResources(error)) << error;
    const char* const pictures[] = {
        "data/gui/ingamemenu/resume/resume_in",   "data/gui/ingamemenu/resume/resume_ac",
        "data/gui/ingamemenu/options/options_in", "data/gui/ingamemenu/options/options_ac",
        "data/gui/ingamemenu/mainmenu/mainmenu_in", "data/gui/ingamemenu/mainmenu/mainmenu_ac",
        "data/gui/exit/buttons/yes/yes_in",        "data/gui/exit/buttons/yes/yes_ac",
        "data/gui/exit/buttons/no/no_in",          "data/gui/exit/buttons/no/no_ac",
    };
    for (const char* name : pictures) {
        SCOPED_TRACE(name);
        std::unique_ptr<Tandry::DDImage> picture(started.Game().LoadImageFile(name, true));
        ASSERT_NE(picture, nullptr);
        const uint32_t* bits = picture->GetBits();
        ASSERT_NE(bits, nullptr);
        const int w = picture->mWidth;
        const int h = picture->mHeight;
        for (const int corner : {0, w - 1, (h - 1) * w, h * w - 1})
            EXPECT_EQ(bits[corner] >> 24, 0u) << "corner " << corner;
        EXPECT_EQ(bits[h / 2 * w + w / 2] >> 24, 255u) << "the middle is opaque";
    }
}

} // namespace
