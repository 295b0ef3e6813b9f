#include "game/shell/NotebookEntry.h"

namespace Tandry {

std::string NotebookEntry::ToText() const
{
    std::string text = std::to_string(page) + (newRecord ? ",1" : ",0");
    for (const NotebookRecord& record : records)
        text += "," + record.name + "," + std::to_string(record.number);
    return text;
}

void NotebookEntry::Parse(StringTokenizer& tokens)
{
    tokens.NextInt(page);
    int flag = 0;
    if (tokens.NextInt(flag))
        newRecord = flag == 1;
    std::string name;
    while (tokens.Next(name)) {
        if (name.empty())
            continue;
        NotebookRecord record{name, 0};
        tokens.NextInt(record.number);
        records.push_back(std::move(record));
    }
}

} // namespace Tandry
