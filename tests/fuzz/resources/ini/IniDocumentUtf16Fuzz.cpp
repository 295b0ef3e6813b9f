// Any bytes load as some UTF-16 ini document; writing it and loading the
// written bytes must give the same sections, keys, values and comments in the
// same order, and the same bytes when written again.
#include "resources/ini/IniDocument.h"

#include "tests/resources/ini/IniDocumentDump.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using Tandry::WideIniDocument;
    WideIniDocument doc;
    WideIniDocument::LoadBytes(data, size, doc);
    const std::string bytes = WideIniDocument::SaveBytes(doc);
    if (bytes.size() < 2 || bytes[0] != '\xFF' || bytes[1] != '\xFE')
        std::abort();

    WideIniDocument again;
    WideIniDocument::LoadBytes(bytes.data(), bytes.size(), again);
    if (IniTest::Dump(again) != IniTest::Dump(doc))
        std::abort();
    if (again.GetLineEnding() == doc.GetLineEnding() && WideIniDocument::SaveBytes(again) != bytes)
        std::abort();
    return 0;
}
