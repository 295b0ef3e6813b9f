// The entries of the title screen's "LogoList": each names a logo page,
// optionally followed by ":" and a skippable flag and ":" and the seconds a
// picture stays. The title screen builds its pages from them; any text gives
// an entry, so a damaged list can only drop pages, never stop the game.
#pragma once

#include <string>
#include <vector>

namespace Tandry {

struct LogoEntry {
    std::string name;
    bool skippable = true;
    // Seconds a picture page stays; movies last as long as they play.
    float time = 0;
    bool isFlash = false;
};

// Names longer than their suffix ending ".swf" or ".dat", as they stand.
bool IsFlashPageName(const std::string& name);
// One item of the list. A flag or time field without a number reads as 0,
// out-of-range numbers saturate; missing fields give skippable and showTime.
LogoEntry ParseLogoEntry(const std::string& item, float showTime);
// Every item, in order.
std::vector<LogoEntry> ParseLogoList(const std::vector<std::string>& items, float showTime);

} // namespace Tandry
