// The profile store's text readers on arbitrary text: the comma tokenizer
// (every token, numbers too), the hex names, the level record and the
// notebook. Tokens never hold the delimiter or outer blanks, and what the
// writers write (a name as hex, a record, a notebook) reads back the same.
// The items-to-find panel reads its text from a current profile, so its
// round trip has a target of its own (NotepadStateFuzz).
#include "game/shell/LevelInfo.h"
#include "game/shell/NotebookEntry.h"
#include "game/shell/StringTokenizer.h"
#include "resources/pak/FileUtils.h"

#include "tests/fuzz/FuzzBytes.h"

#include <string>

namespace {

void CheckLevelRecord(const std::string& text)
{
    Tandry::LevelInfo record("s");
    Tandry::StringTokenizer tokens(text, ',');
    record.Parse(tokens);
    const std::string written = record.Serialize();
    Tandry::LevelInfo reread("s");
    reread.done = !record.done;
    Tandry::StringTokenizer again(written, ',');
    reread.Parse(again);
    FuzzCheck(reread.done == record.done);
    FuzzCheck(reread.Serialize() == written);
}

void CheckNotebook(const std::string& text)
{
    Tandry::NotebookEntry entry;
    Tandry::StringTokenizer tokens(text, ',');
    entry.Parse(tokens);
    for (const Tandry::NotebookRecord& record : entry.records)
        FuzzCheck(!record.name.empty() && record.name.find(',') == std::string::npos);
    Tandry::NotebookEntry reread;
    Tandry::StringTokenizer again(entry.ToText(), ',');
    reread.Parse(again);
    FuzzCheck(reread.page == entry.page && reread.newRecord == entry.newRecord);
    FuzzCheck(reread.records.size() == entry.records.size());
    for (size_t i = 0; i < entry.records.size(); ++i)
        FuzzCheck(reread.records[i].name == entry.records[i].name && reread.records[i].number == entry.records[i].number);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    Tandry::StringTokenizer tokens(text, ',');
    std::string token;
    size_t count = 0;
    while (tokens.Next(token)) {
        FuzzCheck(token.find(',') == std::string::npos);
        FuzzCheck(token.empty() || (token.front() != ' ' && token.front() != '\t' && token.back() != ' ' &&
                                    token.back() != '\t'));
        FuzzCheck(++count <= size + 1);
    }
    Tandry::StringTokenizer numbers(text, ',');
    int i = 0;
    float f = 0.0f;
    for (size_t n = 0; n <= size + 1; ++n) {
        if (!(n % 2 ? numbers.NextInt(i) : numbers.NextFloat(f)) && !numbers.Next(token))
            break;
    }

    const std::wstring name = Tandry::HexToWideString(text);
    FuzzCheck(name.size() == size / 4);
    const std::string hex = Tandry::WideStringToHex(name);
    FuzzCheck(hex.size() == name.size() * 4);
    FuzzCheck(Tandry::HexToWideString(hex) == name);

    CheckLevelRecord(text);
    CheckNotebook(text);
    return 0;
}
