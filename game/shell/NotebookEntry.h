// The saved pages of one diary book: its records in the order they were
// added, the page it was open at and whether a record is new. The diary fills
// it; PlayerInfo keeps one per book and stores it as one profile value.
#pragma once

#include "game/shell/StringTokenizer.h"

#include <string>
#include <vector>

namespace Tandry {

struct NotebookRecord {
    std::string name;
    int number = 0;
};

struct NotebookEntry {
    std::vector<NotebookRecord> records;
    int page = 0;
    bool newRecord = false;

    // "page,flag" then ",name,number" for every record.
    std::string ToText() const;
    // Reads what ToText writes: the page, the flag (true only for the number
    // 1), then name and number pairs, skipping empty names. A token that is
    // not a number leaves the page, the flag or the record's number as it was;
    // a name without a number gets 0.
    void Parse(StringTokenizer& tokens);
};

} // namespace Tandry
