// Reading a 1 MB resource manifest element by element from a pack member,
// beside TinyXML parsing the same bytes from memory into its tree; the goal
// is at least half of TinyXML's throughput. Flags carry values here, since
// TinyXML takes only well-formed XML.
#include "resources/pak/PakInterface.h"
#include "resources/pak/PakWriter.h"
#include "resources/xml/XMLParser.h"

#include <benchmark/benchmark.h>
#include <tinyxml.h>

#include <string>
#include <vector>

namespace {

std::string Manifest()
{
    std::string text = "<?xml version=\"1.0\"?>\r\n<ResourceManifest>\r\n";
    for (int group = 0; text.size() < 1024 * 1024; ++group) {
        text += "  <Resources id=\"Group" + std::to_string(group) + "\">\r\n";
        text += "    <!-- the pictures of one screen -->\r\n";
        text += "    <SetDefaults path=\"data\\images\\screen" + std::to_string(group) + "\" idprefix=\"IMG_\"/>\r\n";
        for (int i = 0; i < 40; ++i) {
            const std::string n = std::to_string(i);
            text += "    <Image id=\"PICTURE_" + n + "\" path=\"picture_" + n +
                    ".png\" cols=\"4\" anim=\"loop\" framedelay=\"10\" nopal=\"true\" ddsurface=\"true\"/>\r\n";
            text += "    <Sound path=\"sounds\\effect_" + n + ".ogg\" volume=\"0.75\" pan=\"-120\"/>\r\n";
        }
        text += "    <Font id=\"FONT_" + std::to_string(group) + "\" path=\"!sys:Arial\" size=\"12\" bold=\"true\"/>\r\n";
        text += "  </Resources>\r\n";
    }
    text += "</ResourceManifest>\r\n";
    return text;
}

void XmlParserFromPack(benchmark::State& state)
{
    const std::string text = Manifest();
    Tandry::PakInterface* pak = Tandry::GetSharedPakInterface();
    pak->Reset();
    std::vector<uint8_t> pack;
    std::string error;
    Tandry::WritePakToMemory(
        {Tandry::PakWriteEntry::FromBytes("DATA\\PROPERTIES\\RESOURCES.XML", std::vector<uint8_t>(text.begin(), text.end()))},
        pack, error);
    pak->AddPakMemory("bench.pak", std::move(pack));
    for (auto _ : state) {
        Tandry::XMLParser parser;
        parser.Open("data\\properties\\resources.xml");
        Tandry::XMLParserElement element;
        size_t elements = 0;
        while (parser.ReadElement(element))
            ++elements;
        if (parser.HasFailed())
            state.SkipWithError("the manifest did not read");
        benchmark::DoNotOptimize(elements);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
    pak->Reset();
}
BENCHMARK(XmlParserFromPack)->Unit(benchmark::kMillisecond);

void TinyXmlReference(benchmark::State& state)
{
    const std::string text = Manifest();
    for (auto _ : state) {
        TiXmlDocument document;
        document.Parse(text.c_str());
        if (document.Error())
            state.SkipWithError("the manifest did not parse");
        benchmark::DoNotOptimize(document.FirstChild());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(TinyXmlReference)->Unit(benchmark::kMillisecond);

} // namespace
