// The dialog's fonts, preferred height and drawing.
#include "widgets/Dialog.h"

#include "graphics/context/Font.h"
#include "graphics/context/Graphics.h"
#include "graphics/image/Image.h"
#include "widgets/ComponentBox.h"
#include "widgets/SysFont.h"

namespace Tandry {

namespace {

constexpr int kPartGap = 8;
// The plain look's panel keeps these margins whatever the insets.
constexpr int kPlainMargin = 12;

} // namespace

void Dialog::MakeFonts()
{
    if (headerFont == nullptr)
        headerFont = new SysFont("Arial Unicode MS", 14, 0);
    if (linesFont == nullptr)
        linesFont = new SysFont("Arial Unicode MS", 12, 0);
}

int Dialog::GetPreferredHeight(int forWidth)
{
    MakeFonts();
    int preferred = contentInsets.top + backgroundInsets.top + contentInsets.bottom + backgroundInsets.bottom;
    bool placed = false;
    if (!dialogHeader.empty()) {
        preferred += headerFont->GetHeight() - headerFont->GetLineSpacingOffset();
        placed = true;
    }
    if (!dialogLines.empty()) {
        if (placed)
            preferred += spaceAfterHeader;
        Graphics measure;
        measure.SetFont(linesFont);
        const int wrapWidth = forWidth - contentInsets.right - contentInsets.left - backgroundInsets.right -
                              backgroundInsets.left - 4;
        preferred += GetWordWrappedHeight(&measure, wrapWidth, dialogLines,
                                          linesFont->GetLineSpacing() + lineSpacingOffset);
        placed = true;
    }
    if (!dialogFooter.empty() && buttonMode != 3) {
        if (placed)
            preferred += kPartGap;
        preferred += headerFont->GetLineSpacing();
        placed = true;
    }
    if (yesButton != nullptr) {
        if (placed)
            preferred += kPartGap;
        preferred += buttonHeight + kPartGap;
    }
    return preferred;
}

void Dialog::Draw(Graphics* g)
{
    MakeFonts();
    const Rect background(backgroundInsets.left, backgroundInsets.top,
                          width - backgroundInsets.left - backgroundInsets.right,
                          height - backgroundInsets.top - backgroundInsets.bottom);
    if (componentImage != nullptr) {
        DrawComponentBox(g, Rect(0, 0, componentImage->mWidth, componentImage->mHeight), background,
                         componentImage, componentInsets);
    } else {
        g->SetColor(GetColor(kOutlineColor));
        g->DrawRect(kPlainMargin, kPlainMargin, width - 2 * kPlainMargin - 1, height - 2 * kPlainMargin - 1);
        g->SetColor(GetColor(kBackgroundColor));
        g->FillRect(kPlainMargin + 1, kPlainMargin + 1, width - 2 * kPlainMargin - 2, height - 2 * kPlainMargin - 2);
        g->SetColor(Color(0, 0, 0, 128));
        g->FillRect(width - kPlainMargin, 2 * kPlainMargin, kPlainMargin, height - 3 * kPlainMargin);
        g->FillRect(2 * kPlainMargin, height - kPlainMargin, width - 2 * kPlainMargin, kPlainMargin);
    }

    int lineY = contentInsets.top + backgroundInsets.top;
    if (!dialogHeader.empty()) {
        lineY += headerFont->GetAscent() - headerFont->GetLineSpacingOffset();
        g->SetFont(headerFont);
        g->SetColor(GetColor(kHeaderColor));
        WriteCenteredLine(g, lineY, dialogHeader);
        lineY += headerFont->GetHeight() + spaceAfterHeader - headerFont->GetAscent();
    }

    g->SetFont(linesFont);
    g->SetColor(GetColor(kLinesColor));
    const int linesHeight = WriteWordWrapped(
        g,
        Rect(backgroundInsets.left + contentInsets.left + 2, lineY,
             width - contentInsets.right - backgroundInsets.left - contentInsets.left - backgroundInsets.right - 4, 0),
        dialogLines, linesFont->GetLineSpacing() + lineSpacingOffset, textAlign);

    if (!dialogFooter.empty() && buttonMode != 3) {
        lineY += linesHeight + headerFont->GetLineSpacing() + kPartGap;
        g->SetFont(headerFont);
        g->SetColor(GetColor(kFooterColor));
        WriteCenteredLine(g, lineY, dialogFooter);
    }
}

} // namespace Tandry
