#include "game/shell/FadingTextWidget.h"

#include "game/shell/GlobalResources.h"
#include "game/shell/MoveTowards.h"
#include "game/shell/ShellConstants.h"
#include "graphics/context/Graphics.h"

namespace Tandry {

void FadingTextWidget::Show(const std::wstring& newText, float seconds)
{
    showTime = seconds == -1.0f ? DefaultShowTime(newText) : seconds;
    hidden = newText.empty();
    if (newText != text) {
        pendingText = newText;
        if (text.empty())
            Layout();
        return;
    }
    pendingText.clear();
}

void FadingTextWidget::Layout()
{
    fade = 0.0f;
    text = pendingText;
    pendingText.clear();
    Graphics measure;
    measure.SetFont(FONT_CORBEL);
    int widest = 0;
    const int textHeight = Tandry::GetWordWrappedHeight(&measure, kWrapWidth, text, -1, &widest);
    FitText(widest, textHeight);
}

void FadingTextWidget::Update(float dt)
{
    if (text.empty())
        return;
    const float step = 10.0f * dt;
    if (!pendingText.empty()) {
        fade -= step;
        if (fade <= 0.0f)
            Layout();
    } else {
        MoveTowards(&fade, step, hidden ? 0.0f : 1.0f);
    }
    Place(step);
    if (text.empty())
        return;
    // The ini's reading time may be negative (or not a number): such a time
    // has run out already, rather than counting up towards 0.
    const bool expired = !(showTime >= 0.0f) || MoveTowards(&showTime, dt, 0.0f);
    if (expired)
        Show(std::wstring(), -1.0f);
}

void FadingTextWidget::DrawFadedText(Graphics* g, int textX, int textY, int wrapWidth) const
{
    g->SetFont(FONT_CORBEL);
    g->SetColor(UiDarkColor.WithAlpha(0.6f * fade));
    for (const int dx : {-1, 1}) {
        for (const int dy : {-1, 1})
            g->DrawStringWrapped(text, Rect(textX + dx, textY + dy, wrapWidth, 0), -1, -1);
    }
    g->SetColor(UiLightColor.WithAlpha(fade));
    g->DrawStringWrapped(text, Rect(textX, textY, wrapWidth, 0), -1, -1);
}

} // namespace Tandry
