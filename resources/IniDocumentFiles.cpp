#include "resources/IniDocument.h"

#include "resources/IniGrammar.h"
#include "resources/IniStdIStream.h"

namespace Tandry {

template <typename Char>
void IniDocument<Char>::LoadStream(IniStdIStream& stream, IniDocument& doc)
    requires std::is_same_v<Char, char>
{
    stream.Start(false);
    IniGrammar<Char> grammar(doc);
    char buffer[4096];
    while (const size_t n = stream.Read(buffer, sizeof buffer))
        grammar.FeedBytes(reinterpret_cast<const uint8_t*>(buffer), n);
    grammar.Finish();
}

template void IniDocument<char>::LoadStream(IniStdIStream& stream, IniDocument<char>& doc);

} // namespace Tandry
