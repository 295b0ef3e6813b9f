// How the game's screens make their buttons and sliders from their layout:
// the owner is the screen, which holds the layout (Layout()) and listens to
// what it makes. The caller adds what it gets to itself.
#pragma once

#include "graphics/types/Color.h"

#include <string>

namespace Tandry {

class ButtonListener;
class GuiLayout;
class ScaleButton;
class ScaleSlider;
class SliderListener;
class TGameButton;

// An empty label gives none.
TGameButton* CreateGameButton(GuiLayout* layout, int id, const std::string& normalEntryName,
                              const std::string& overEntryName, ButtonListener* listener, const std::wstring& label);

// Id 0, font "FONT_BUTTON", both label colours UiDarkColor.
ScaleButton* CreateScaleButtonFromLayoutEx(GuiLayout* layout, ButtonListener* listener,
                                           const std::string& normalEntryName, const std::string& overEntryName);
template <class Owner>
ScaleButton* CreateScaleButtonFromLayout(Owner* owner, const std::string& normalEntryName,
                                         const std::string& overEntryName)
{
    return CreateScaleButtonFromLayoutEx(owner->Layout(), owner, normalEntryName, overEntryName);
}

// As above with the id, labelled with the [Interface] text of labelKey.
ScaleButton* CreateLabelledScaleButtonEx(GuiLayout* layout, ButtonListener* listener, int id,
                                         const std::string& normalEntryName, const std::string& overEntryName,
                                         const std::string& labelKey);
template <class Owner>
ScaleButton* CreateLabelledScaleButton(Owner* owner, int id, const std::string& normalEntryName,
                                       const std::string& overEntryName, const std::string& labelKey)
{
    return CreateLabelledScaleButtonEx(owner->Layout(), owner, id, normalEntryName, overEntryName, labelKey);
}

// The options panel's buttons: an empty key gives no label, and both label
// colours are labelColor.
ScaleButton* CreateColoredScaleButtonEx(GuiLayout* layout, ButtonListener* listener, int id,
                                        const std::string& normalEntryName, const std::string& overEntryName,
                                        const std::string& labelKey, const Color& labelColor);
template <class Owner>
ScaleButton* CreateColoredScaleButton(Owner* owner, int id, const std::string& normalEntryName,
                                      const std::string& overEntryName, const std::string& labelKey,
                                      const Color& labelColor)
{
    return CreateColoredScaleButtonEx(owner->Layout(), owner, id, normalEntryName, overEntryName, labelKey,
                                      labelColor);
}

// Both entries hidden; horizontal; placed at the track entry with the track
// picture's size.
ScaleSlider* CreateScaleSliderFromLayoutEx(GuiLayout* layout, SliderListener* listener, int id,
                                           const std::string& trackEntryName, const std::string& thumbEntryName);
template <class Owner>
ScaleSlider* CreateScaleSliderFromLayout(Owner* owner, int id, const std::string& trackEntryName,
                                         const std::string& thumbEntryName)
{
    return CreateScaleSliderFromLayoutEx(owner->Layout(), owner, id, trackEntryName, thumbEntryName);
}

} // namespace Tandry
