// One picture of a GUI layout: its name (also its file name inside the layout
// folder), where it stands, its drawing layer and the flags screens change to
// hide, mirror or draw it themselves. GuiLayout owns its entries; screens
// look them up by name to place their widgets.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace Tandry {

class DDImage;
class Graphics;

struct GuiLayoutEntry {
    std::string name;
    // Set until LoadImages has tried the picture once.
    bool imagePending = true;
    int32_t x = 0;
    int32_t y = 0;
    int32_t homeX = 0;
    int32_t homeY = 0;
    int32_t dx = 0;
    int32_t dy = 0;
    int32_t layer = 0;
    bool drawFlag = true;
    bool mirrored = false;
    // Owned by the layout read from the folder; shared by its clones.
    DDImage* image = nullptr;
    // When set, drawn by this instead of the plain picture.
    std::function<void(Graphics*, GuiLayoutEntry*)> drawCallback;
};

} // namespace Tandry
