#include "resources/ini/IniDocument.h"

#include "resources/ini/IniBytesIo.h"
#include "resources/ini/IniGrammar.h"
#include "resources/ini/IniStdIStream.h"

namespace Tandry {

namespace {

// The narrow and the wide loaders differ only in how LoadBytes reads.
template <typename Char>
bool LoadFile(const std::string& path, IniDocument<Char>& doc)
{
    std::string bytes;
    if (!ReadIniBytes(path, bytes))
        return false;
    IniDocument<Char>::LoadBytes(bytes.data(), bytes.size(), doc);
    return true;
}

} // namespace

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

template <typename Char>
bool IniDocument<Char>::Load(const std::string& path, IniDocument& doc)
    requires std::is_same_v<Char, char>
{
    return LoadFile(path, doc);
}

template <typename Char>
bool IniDocument<Char>::LoadUtf16(const std::string& path, IniDocument& doc)
    requires std::is_same_v<Char, wchar_t>
{
    return LoadFile(path, doc);
}

template <typename Char>
bool IniDocument<Char>::Save(const std::string& path, const IniDocument& doc)
    requires std::is_same_v<Char, char>
{
    return WriteIniBytes(path, SaveBytes(doc));
}

template <typename Char>
bool IniDocument<Char>::SaveUtf16(const std::string& path, const IniDocument& doc)
    requires std::is_same_v<Char, wchar_t>
{
    return WriteIniBytes(path, SaveBytes(doc));
}

template bool IniDocument<char>::Load(const std::string& path, IniDocument<char>& doc);
template bool IniDocument<wchar_t>::LoadUtf16(const std::string& path, IniDocument<wchar_t>& doc);
template bool IniDocument<char>::Save(const std::string& path, const IniDocument<char>& doc);
template bool IniDocument<wchar_t>::SaveUtf16(const std::string& path, const IniDocument<wchar_t>& doc);
template void IniDocument<char>::LoadStream(IniStdIStream& stream, IniDocument<char>& doc);

} // namespace Tandry
