// For widgets that draw a layout picture themselves (the hint compass, the
// progress bar's kin): the picture is taken out of the layout's drawing.
#pragma once

#include <string>

namespace Tandry {

class DDImage;
class GuiLayout;

// Hides the entry and hands out its picture, which the layout keeps owning;
// null when the layout has no such entry.
DDImage* TakeLayoutImage(GuiLayout* layout, const std::string& name);

} // namespace Tandry
