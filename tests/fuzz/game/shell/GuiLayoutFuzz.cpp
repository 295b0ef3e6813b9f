// Arbitrary bytes as a layout's "layers.ini", loaded with pictures from a
// fake host that makes a small picture for every name not ending in "x".
// Every entry and a missing one are looked up, entries shown and hidden,
// rectangles taken, the layout moved, cloned and drawn into a small image,
// and the clone deleted before the source.
#include "game/shell/GuiLayout.h"
#include "game/shell/TakeLayoutImage.h"
#include "graphics/context/Graphics.h"
#include "graphics/image/MemoryImage.h"
#include "platform/headless/HeadlessPlatform.h"

#include "tests/fuzz/FuzzBytes.h"
#include "tests/fuzz/FuzzScratchFolder.h"
#include "tests/widgets/FakeWidgetHost.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

void DrawInto(Tandry::GuiLayout& layout)
{
    Tandry::MemoryImage target;
    target.Create(32, 24);
    Tandry::Graphics g(&target);
    layout.Draw(&g);
    for (const auto& entry : layout.Entries())
        layout.DrawEntry(entry.get(), &g, Tandry::Point(-3, 2));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool installed = [] {
        Platform::InstallHeadlessPlatform();
        return true;
    }();
    (void)installed;
    FuzzScratchFolder scratch;
    std::filesystem::create_directories("data/gui/fuzz");
    if (FILE* file = std::fopen("data/gui/fuzz/layers.ini", "wb")) {
        if (size > 0)
            std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    Tandry::FakeWidgetHost host;
    int refused = 0;
    host.make = [&refused](const std::string& path, Tandry::DDImage& image) {
        if (path.empty() || path.back() == 'x') {
            ++refused;  // the host deletes the image it made for this call
            return false;
        }
        image.Create(1 + static_cast<int>(path.size() % 5), 1 + static_cast<int>(path.size() % 3));
        return true;
    };
    auto* layout = new Tandry::GuiLayout("data/gui/fuzz/", size % 2 == 0);
    FuzzCheck(layout->PendingImageCount() == 0 || size % 2 == 1);
    while (layout->LoadFirstPendingImage()) {
    }
    FuzzCheck(layout->PendingImageCount() == 0);
    std::vector<std::string> names;
    for (const auto& entry : layout->Entries())
        names.push_back(entry->name);
    for (const std::string& name : names) {
        FuzzCheck(layout->FindEntry(name) != nullptr);
        layout->GetEntryRect(name, false);
    }
    FuzzCheck(layout->FindEntry("\x01missing") == nullptr);
    layout->ShowEntries(names.empty() ? std::string("/") : names.front().substr(0, 2), false);
    layout->Offset(7, -5);
    Tandry::GuiLayout* clone = layout->Clone();
    if (!names.empty()) {
        clone->GetEntryRect(names.back(), true);
        Tandry::TakeLayoutImage(clone, names.front());
    }
    layout->ShowEntries("", true);
    clone->Offset(-2147483647, 2147483647);
    DrawInto(*clone);
    DrawInto(*layout);
    Tandry::GuiLayout::Delete(clone);
    DrawInto(*layout);
    Tandry::GuiLayout::Delete(layout);
    FuzzCheck(*host.deleted == host.handedOut + refused);
    std::filesystem::remove_all("data/gui/fuzz");
    return 0;
}
