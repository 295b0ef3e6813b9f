// Play on the main menu over recording targets: the scene service, the
// scene starter and the board registry's hidden-object and movie makers.
// One table of profiles, game settings and scenes with a "StartAction"
// group, and what each starts; then the decoding of start places alone.
#include "game/shell/MainMenu.h"
#include "game/shell/StartPlace.h"

#include "game/shell/BaseBoard.h"
#include "game/shell/BoardRegistry.h"
#include "game/shell/GameControllerCommon.h"
#include "tests/game/shell/LevelTestSupport.h"
#include "tests/game/shell/ProfileFolderFixture.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

// Made by a recording maker; the menu deletes it when no game object takes it.
class MadeBoard : public Tandry::BaseBoard {
public:
    explicit MadeBoard(Strings* log) : BaseBoard(false), mLog(log) {}
    ~MadeBoard() override { mLog->push_back("board deleted"); }

private:
    Strings* mLog;
};

struct PlayCase {
    const char* what;
    bool gameComplete;
    // Stored as [Main] "LastScene" when set.
    std::optional<std::string> lastScene;
    // The game settings' text.
    std::string gameIni;
    std::set<std::string> scenesWithStartAction;
    Strings expected;
};

class MainMenuPlayTest : public ShellTest::ProfileFolderFixture, public ::testing::WithParamInterface<PlayCase> {
protected:
    void SetUp() override
    {
        ProfileFolderFixture::SetUp();
        ShellTest::ResetControllersAndScenario();
        Tandry::ResetBoardRegistry();
        Tandry::SetSceneService(&scenes);
        Tandry::SetSceneStarter([this](const std::string& name) { log.push_back("scene " + name); });
        Tandry::BoardRegistry& registry = Tandry::GetBoardRegistry();
        registry.hiddenObject = [this](const std::string& level, const std::string& request) {
            log.push_back("hog " + level + " [" + request + "]");
            return new MadeBoard(&log);
        };
        registry.movie = [this](const std::string& movie, const std::string& request) {
            log.push_back("movie " + movie + " [" + request + "]");
            return new MadeBoard(&log);
        };
    }
    void TearDown() override
    {
        Tandry::ResetBoardRegistry();
        ShellTest::ResetControllersAndScenario();
        ProfileFolderFixture::TearDown();
    }

    // The service's calls and the targets', in order.
    Strings Calls()
    {
        Strings all;
        for (const std::string& call : scenes.calls)
            all.push_back(call);
        for (const std::string& entry : log)
            all.push_back(entry);
        return all;
    }

    ShellTest::RecordingSceneService scenes;
    Strings log;
};

TEST_P(MainMenuPlayTest, StartsWhatTheProfileAndTheGameSettingsName)
{
    const PlayCase& c = GetParam();
    SetGameIni(c.gameIni);
    UseNewProfile(L"Tester");
    if (c.lastScene)
        Tandry::GetProfileManager().SetValue("Main", "LastScene", *c.lastScene);
    Tandry::GetGameControllerCommon().GetPlayerInfo().gameComplete = c.gameComplete;
    scenes.scenesWithStartAction = c.scenesWithStartAction;

    Tandry::MainMenu menu(false);
    menu.Play();

    EXPECT_EQ(Calls(), c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Table, MainMenuPlayTest,
    ::testing::Values(
        PlayCase{"the end movie, whatever the profile says", true, "hog:lvl,r", "", {}, {"movie final []", "board deleted"}},
        PlayCase{"a new game plays the default scene", false, std::nullopt, "", {}, {"start hold", "scene hold"}},
        PlayCase{"a new game runs the default scene's opening group instead", false, std::nullopt, "", {"hold"},
                 {"start hold"}},
        PlayCase{"a new game plays the configured scene", false, std::nullopt, "[Game]\nStartScene=cellar\n", {},
                 {"start cellar", "scene cellar"}},
        PlayCase{"a stored scene is played even with an opening group", false, "scene:a", "", {"a"}, {"scene a"}},
        PlayCase{"a hidden-object level with its request", false, "hog:lvl,r", "", {}, {"hog lvl [r]", "board deleted"}},
        PlayCase{"a movie with three request strings", false, "movie:m,a,b,c", "", {},
                 {"movie m [a,b,c]", "board deleted"}},
        PlayCase{"an unknown kind", false, "foo:x", "", {}, {}},
        PlayCase{"a known kind without name", false, "scene:", "", {}, {}},
        PlayCase{"no colon", false, "scene", "", {}, {}},
        PlayCase{"a new game whose start scene is set empty", false, std::nullopt, "[Game]\nStartScene=\n", {}, {}}));

TEST(StartPlaceTest, SplitsAtTheFirstCommaThenAtTheFirstColon)
{
    struct Row {
        const char* text;
        const char* kind;
        const char* name;
        const char* extra;
    };
    const Row rows[] = {
        {"hog:lvl,r", "hog", "lvl", "r"},
        {"movie:m,a,b,c", "movie", "m", "a,b,c"},
        {"scene:a:b", "scene", "a:b", ""},
        // The colon after the comma belongs to the request.
        {"scene,x:y", "scene", "", "x:y"},
        {"scene", "scene", "", ""},
        {"", "", "", ""},
        {":", "", "", ""},
        {"movie:,extra", "movie", "", "extra"},
    };
    for (const Row& row : rows) {
        const Tandry::StartPlace place = Tandry::StartPlace::Parse(row.text);
        EXPECT_EQ(place.kind, row.kind) << row.text;
        EXPECT_EQ(place.name, row.name) << row.text;
        EXPECT_EQ(place.extra, row.extra) << row.text;
    }
}

TEST(StartPlaceTest, AKnownKindWithAnEmptyNameReachesNoTarget)
{
    int reached = 0;
    Tandry::StartTargets targets;
    targets.runStartAction = [&](const std::string&) { return ++reached, false; };
    targets.playScene = [&](const std::string&) { ++reached; };
    targets.hiddenObject = [&](const std::string&, const std::string&) { ++reached; };
    targets.movie = [&](const std::string&, const std::string&) { ++reached; };
    for (const char* text : {"scene:", "hog:,r", "movie:,a,b", "scene", "hog", "movie,x"}) {
        Tandry::StartPlace::Parse(text).Start(true, targets);
        Tandry::StartPlace::Parse(text).Start(false, targets);
    }
    EXPECT_EQ(reached, 0);
}

} // namespace
