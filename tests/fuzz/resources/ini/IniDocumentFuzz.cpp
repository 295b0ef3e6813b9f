// Any bytes load as some 8-bit ini document; writing it and loading the
// written bytes must give the same sections, keys, values and comments in the
// same order, the same CRC-16, and the same bytes when written again.
#include "resources/ini/IniDocument.h"

#include "tests/resources/ini/IniDocumentDump.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using Tandry::NarrowIniDocument;
    NarrowIniDocument doc;
    NarrowIniDocument::LoadBytes(data, size, doc);
    const std::string bytes = NarrowIniDocument::SaveBytes(doc);

    NarrowIniDocument again;
    NarrowIniDocument::LoadBytes(bytes.data(), bytes.size(), again);
    if (IniTest::Dump(again) != IniTest::Dump(doc))
        std::abort();
    if (again.ComputeCrc16("CRC") != doc.ComputeCrc16("CRC"))
        std::abort();
    if (again.GetLineEnding() == doc.GetLineEnding() && NarrowIniDocument::SaveBytes(again) != bytes)
        std::abort();
    return 0;
}
