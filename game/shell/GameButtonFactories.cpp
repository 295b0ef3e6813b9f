#include "game/shell/GameButtonFactories.h"

#include "game/shell/GlobalResources.h"
#include "game/shell/GuiLayout.h"
#include "game/shell/ScaleButton.h"
#include "game/shell/ScaleSlider.h"
#include "game/shell/ShellConstants.h"
#include "game/shell/TGameButton.h"
#include "graphics/display/DDImage.h"
#include "resources/ini/LangTable.h"

namespace Tandry {

namespace {

// The button with its two pictures from the layout, in the button font and
// the given label colour.
ScaleButton* MakeScaleButton(GuiLayout* layout, ButtonListener* listener, int id, const std::string& normalEntryName,
                             const std::string& overEntryName, const Color& labelColor)
{
    auto* button = new ScaleButton(id, listener);
    button->SetImages(layout->FindEntry(normalEntryName), layout->FindEntry(overEntryName));
    button->SetFont(FONT_BUTTON);
    button->SetColor(ButtonWidget::kLabelColor, labelColor);
    button->SetColor(ButtonWidget::kLabelOverColor, labelColor);
    return button;
}

std::wstring InterfaceText(const std::string& key)
{
    return GetLangString(key, GetLangTable(), L"Interface");
}

} // namespace

TGameButton* CreateGameButton(GuiLayout* layout, int id, const std::string& normalEntryName,
                              const std::string& overEntryName, ButtonListener* listener, const std::wstring& label)
{
    auto* button = new TGameButton(id, listener);
    button->SetImages(layout->FindEntry(normalEntryName), layout->FindEntry(overEntryName));
    button->label = label;
    return button;
}

ScaleButton* CreateScaleButtonFromLayoutEx(GuiLayout* layout, ButtonListener* listener,
                                           const std::string& normalEntryName, const std::string& overEntryName)
{
    return MakeScaleButton(layout, listener, 0, normalEntryName, overEntryName, UiDarkColor);
}

ScaleButton* CreateLabelledScaleButtonEx(GuiLayout* layout, ButtonListener* listener, int id,
                                         const std::string& normalEntryName, const std::string& overEntryName,
                                         const std::string& labelKey)
{
    ScaleButton* button = MakeScaleButton(layout, listener, id, normalEntryName, overEntryName, UiDarkColor);
    button->label = InterfaceText(labelKey);
    return button;
}

ScaleButton* CreateColoredScaleButtonEx(GuiLayout* layout, ButtonListener* listener, int id,
                                        const std::string& normalEntryName, const std::string& overEntryName,
                                        const std::string& labelKey, const Color& labelColor)
{
    ScaleButton* button = MakeScaleButton(layout, listener, id, normalEntryName, overEntryName, labelColor);
    // The language table gives an empty key an empty text.
    button->label = InterfaceText(labelKey);
    return button;
}

ScaleSlider* CreateScaleSliderFromLayoutEx(GuiLayout* layout, SliderListener* listener, int id,
                                           const std::string& trackEntryName, const std::string& thumbEntryName)
{
    GuiLayoutEntry* track = layout->FindEntry(trackEntryName);
    GuiLayoutEntry* thumb = layout->FindEntry(thumbEntryName);
    if (track != nullptr)
        track->drawFlag = false;
    if (thumb != nullptr)
        thumb->drawFlag = false;
    MemoryImage* trackImage = track != nullptr ? track->image : nullptr;
    MemoryImage* thumbImage = thumb != nullptr ? thumb->image : nullptr;
    auto* slider = new ScaleSlider(trackImage, thumbImage, id, listener);
    slider->horizontal = true;
    slider->Resize(track != nullptr ? track->x : 0, track != nullptr ? track->y : 0,
                   trackImage != nullptr ? trackImage->mWidth : 0, trackImage != nullptr ? trackImage->mHeight : 0);
    return slider;
}

} // namespace Tandry
