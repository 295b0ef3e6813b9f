// Any bytes load as some settings file; every section and key can then be
// read through every getter, past its last item too, without a fault.
#include "resources/ini/IniFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Tandry::IniFile ini;
    ini.LoadText(std::string_view(reinterpret_cast<const char*>(data), size));

    std::vector<std::string> sections;
    for (const auto& section : ini.GetSections())
        sections.push_back(section.GetName());
    for (const std::string& section : sections) {
        // Select first: empty names in a getter mean "the selected one".
        Tandry::IniSection& s = ini.SelectSection(section);
        std::vector<std::string> keys;
        ini.GetKeyNames("", keys);
        for (const std::string& key : keys) {
            s.SelectKey(key);
            Tandry::IniKey& k = *s.GetCurrentKey();
            const std::vector<std::string> items = k.GetValues();
            const int count = int(items.size());
            if (count == 0)
                std::abort();  // every key holds at least one item
            std::vector<std::string> listed;
            ini.GetValueList(listed, "", "");
            if (listed != items || ini.GetValueText("", "").size() + 1 < items.size())
                std::abort();

            // Each getter from the first item to one past the last.
            for (int i = 0; i <= count; ++i)
                ini.GetString("", "", "");
            k.SetCursor(0);
            for (int i = 0; i <= count; ++i)
                ini.GetFloat("", "", 0.f);
            for (int index = -3; index <= count; ++index)
                s.GetInt("", index, 0);
            k.SetCursor(0);
            for (int i = 0; i <= count; ++i)
                s.GetHex(0, "");
            k.SetCursor(0);
            for (int i = 0; i <= count / 2; ++i)
                k.NextIntPair({0, 0});
            k.SetCursor(0);
            for (int i = 0; i <= count / 4; ++i)
                k.NextRect(Tandry::IniRect{});
            const int cursor = k.GetCursor();
            if (cursor != count - count % 4)
                std::abort();
            if (k.NextString("past") != (cursor < count ? items[size_t(cursor)] : "past"))
                std::abort();
        }
    }
    ini.FormatText();
    return 0;
}
