// Every movie the sample plays is accepted by the movie control and, played
// on the headless clock with each wait answered as the movie board answers
// it, shows its subtitles 1, 2, ... once each and in order, then ends; the
// language table has one [Movie] text per subtitle.
#include "tests/game/data/GameFolder.h"

#include "platform/flash/MovieFileControl.h"
#include "platform/headless/HeadlessPlatform.h"
#include "resources/ini/LangTable.h"
#include "tests/platform/flash/RecordingFlashSink.h"
#include "util/StringUtils.h"

namespace {

using namespace GameDataTest;

struct Played {
    std::vector<std::string> events;  // "next 1", "sound chime", ..., "end"
    bool ended = false;
};

// Plays the movie to its end: each time it stops to wait, the board's answer
// "myPlay" = "1" comes after the reading time; a movie still going after an
// hour of movie time never ends.
Played Play(const std::string& path)
{
    Played played;
    Platform::HeadlessPlatform& platform = Platform::InstallHeadlessPlatform();
    TestSupport::RecordingFlashSink sink;
    Platform::MovieFileControl control;
    control.SetClientSite(&sink);
    control.Advise(&sink);
    if (control.PutMovie(Tandry::WidenString(path)) && control.Play()) {
        for (int step = 0; step < 3600 && control.IsPlaying(); ++step) {
            platform.Clock().Advance(1000);
            control.SetVariable(L"myPlay", L"1");
        }
        played.ended = !control.IsPlaying();
    }
    for (const std::string& event : sink.TakeEvents()) {
        // "150 next|1": the command and its argument.
        std::string text = event.substr(event.find(' ') + 1);
        const size_t bar = text.find('|');
        if (bar != std::string::npos)
            text = bar + 1 < text.size() ? text.substr(0, bar) + " " + text.substr(bar + 1) : text.substr(0, bar);
        played.events.push_back(text);
    }
    control.Close();
    Platform::ResetPlatform();
    return played;
}

TEST(GameMovies, EachMovieShowsItsSubtitlesInTurnAndEnds)
{
    GameFolderCopy folder;
    Tandry::WideIniDocument& lang = Tandry::GetLangTable();
    for (const std::string movie : {"intro", "mov_22", "final"}) {
        const fs::path file = folder.Path() / "res" / "movies" / (movie + ".dat");
        std::vector<uint8_t> bytes = ReadBytes(file);
        Platform::MovieFile parsed;
        std::string error;
        ASSERT_TRUE(Platform::ParseMovieFile(bytes, parsed, error)) << movie << ": " << error;

        const Played played = Play(file.string());
        ASSERT_TRUE(played.ended) << movie;
        ASSERT_FALSE(played.events.empty()) << movie;
        EXPECT_EQ(played.events.back(), "end") << movie;
        int shown = 0;
        for (const std::string& event : played.events) {
            if (event.rfind("next ", 0) == 0) {
                EXPECT_EQ(event, "next " + std::to_string(++shown)) << movie;
            }
        }
        EXPECT_GT(shown, 0) << movie;

        // The texts: exactly one per subtitle.
        int texts = 0;
        const auto section = lang.FindSection(L"Movie");
        ASSERT_NE(section, Tandry::WideIniDocument::NotFound());
        for (int n = 1; n <= shown + 1; ++n) {
            const std::wstring key = Tandry::WidenString(movie + ".text" + std::to_string(n));
            const auto found = lang.FindKey(L"Movie", key);
            if (found != Tandry::WideIniDocument::NotFound() && !found.GetValue().empty())
                ++texts;
        }
        EXPECT_EQ(texts, shown) << movie << ": one [Movie] text per subtitle, and none beyond";
    }
}

} // namespace
