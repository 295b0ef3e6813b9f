// The choice of a transition's kind from [ScreenEffect]: the pair's key, the
// default read once per run, lower case, and the fallbacks.
#include "game/shell/MakeBoardTransformer.h"

#include "game/shell/BoardTransformer.h"
#include "game/shell/BoardTransformerEmpty.h"
#include "game/shell/BoardTransformerFade.h"
#include "game/shell/BoardTransformerFadeIn.h"
#include "game/shell/BoardTransformerFromMovie.h"
#include "game/shell/BoardTransformerPager.h"
#include "game/shell/BoardTransformerSlide.h"
#include "game/shell/BoardTransformerToMovie.h"
#include "resources/ini/GameIni.h"

#include "TransitionTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <typeinfo>

namespace {

using ShellTest::ColorBoard;

std::string KindOf(const Tandry::BoardTransformer& t)
{
    const std::type_info& type = typeid(t);
    if (type == typeid(Tandry::BoardTransformerEmpty))
        return "none";
    if (type == typeid(Tandry::BoardTransformerFade))
        return "fade";
    if (type == typeid(Tandry::BoardTransformerSlide))
        return "slide";
    if (type == typeid(Tandry::BoardTransformerPager))
        return "page";
    if (type == typeid(Tandry::BoardTransformerFadeIn))
        return "fade_in";
    if (type == typeid(Tandry::BoardTransformerToMovie))
        return "to_movie";
    if (type == typeid(Tandry::BoardTransformerFromMovie))
        return "from_movie";
    return "?";
}

class MakeBoardTransformerTest : public ShellTest::TransitionFixture {
protected:

    std::string Choose(const std::string& fromName, const char* toName)
    {
        ColorBoard from(fromName, Tandry::Color::Black);
        ColorBoard to(toName != nullptr ? toName : "", Tandry::Color::White);
        std::unique_ptr<Tandry::BoardTransformer> t(
            Tandry::MakeBoardTransformer(&from, toName != nullptr ? &to : nullptr, &listener));
        return KindOf(*t);
    }

    ShellTest::CountingListener listener;
};

TEST_F(MakeBoardTransformerTest, TheKindComesFromThePairsKeyOrTheDefault)
{
    struct Case {
        const char* ini;
        const char* from;
        const char* to; // null: a switch to the loading screen
        const char* kind;
    };
    const char* menuSlides = "[ScreenEffect]\ndefault=fade\nMenuToGame=slide\n";
    for (const Case& c : {
             Case{"", "Menu", "Game", "none"},
             Case{"[Game]\nScreenFade=1\n", "Game", nullptr, "none"},
             Case{menuSlides, "Menu", "Game", "slide"},
             Case{menuSlides, "Game", "Menu", "fade"},
             Case{menuSlides, "Menu", "HOG", "fade"},
             Case{menuSlides, "Menu", nullptr, "fade"},
             Case{menuSlides, "", "Menu", "fade"},
             Case{"[ScreenEffect]\ndefault=fade\nMenuToGame=SLIDE\n", "Menu", "Game", "slide"},
             Case{"[screeneffect]\nDEFAULT=Page\nmenutogame=Fade_In\n", "Menu", "Game", "fade_in"},
             Case{"[ScreenEffect]\ndefault=slide\nMenuToGame=wobble\n", "Menu", "Game", "slide"},
             Case{"[ScreenEffect]\ndefault=slide\nMenuToGame=\n", "Menu", "Game", "slide"},
             Case{"[ScreenEffect]\ndefault=wobble\nMenuToGame=wobble\n", "Menu", "Game", "none"},
             Case{"[ScreenEffect]\ndefault=wobble\n", "Menu", "Game", "none"},
             Case{"[ScreenEffect]\nGameToGame=page\n", "Game", "Game", "page"},
             Case{"[ScreenEffect]\nToMenu=fade_in\n", "", "Menu", "fade_in"},
             Case{"[ScreenEffect]\nMenuToMovie=to_movie\n", "Menu", "Movie", "to_movie"},
             Case{"[ScreenEffect]\nMovieToGame=from_movie\n", "Movie", "Game", "from_movie"},
             Case{"[ScreenEffect]\ndefault=slide\nMovieToGame=none\n", "Movie", "Game", "none"},
             // A fade-in has no board to show without a to board: it fades.
             Case{"[ScreenEffect]\nGameTo=fade_in\n", "Game", nullptr, "fade"},
             Case{"[ScreenEffect]\ndefault=fade_in\n", "HOG", nullptr, "fade"},
         }) {
        SCOPED_TRACE(std::string(c.ini) + " " + c.from + "To" + (c.to != nullptr ? c.to : "(none)"));
        Tandry::ResetGameIni();
        Tandry::ResetBoardTransformerDefault();
        Tandry::gGameIni.LoadText(c.ini);
        EXPECT_EQ(Choose(c.from, c.to), c.kind);
    }
}

TEST_F(MakeBoardTransformerTest, TheDefaultIsReadOnceUntilReset)
{
    Tandry::gGameIni.LoadText("[ScreenEffect]\ndefault=slide\n");
    EXPECT_EQ(Choose("Menu", "Game"), "slide");
    Tandry::ResetGameIni();
    Tandry::gGameIni.LoadText("[ScreenEffect]\ndefault=page\nMenuToHOG=fade\n");
    EXPECT_EQ(Choose("Menu", "Game"), "slide");
    // The pair's key is read on every switch.
    EXPECT_EQ(Choose("Menu", "HOG"), "fade");
    Tandry::ResetBoardTransformerDefault();
    EXPECT_EQ(Choose("Menu", "Game"), "page");
}

TEST(ParseBoardTransformerKind, NamesAndFallback)
{
    using Tandry::BoardTransformerKind;
    const BoardTransformerKind fallback = BoardTransformerKind::Slide;
    struct Case {
        const char* value;
        BoardTransformerKind kind;
    };
    for (const Case& c : {Case{"none", BoardTransformerKind::None}, Case{"fade", BoardTransformerKind::Fade},
                          Case{"page", BoardTransformerKind::Page}, Case{"fade_in", BoardTransformerKind::FadeIn},
                          Case{"to_movie", BoardTransformerKind::ToMovie},
                          Case{"from_movie", BoardTransformerKind::FromMovie}, Case{"", fallback},
                          Case{"fade ", fallback}, Case{"FADE", fallback}, Case{"fadein", fallback}}) {
        EXPECT_EQ(Tandry::ParseBoardTransformerKind(c.value, fallback), c.kind) << c.value;
    }
}

} // namespace
