// Text drawing of the drawing context: plain lines, justified lines with
// colour codes, and word-wrapped paragraphs laid out line by line.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "graphics/context/Font.h"
#include "graphics/context/Graphics.h"
#include "graphics/context/GraphicsTrunc.h"

namespace Tandry {

namespace {

// A colour code is the caret, six characters and one skipped character.
constexpr size_t kColorCodeLength = 8;
constexpr wchar_t kCaret = L'^';
constexpr wchar_t kLineBreak = L'\n';
// The alignment that makes the font take y as the baseline of the line.
constexpr int kBaselineAlign = 24;

// Six characters read as hexadecimal, most significant first; any other
// character counts as 0.
uint32_t ParseHexColor(const std::wstring& text, size_t first)
{
    uint32_t value = 0;
    for (size_t k = first; k < first + 6; ++k) {
        const wchar_t c = text[k];
        uint32_t digit = 0;
        if (c >= L'0' && c <= L'9')
            digit = static_cast<uint32_t>(c - L'0');
        else if (c >= L'A' && c <= L'F')
            digit = static_cast<uint32_t>(c - L'A' + 10);
        else if (c >= L'a' && c <= L'f')
            digit = static_cast<uint32_t>(c - L'a' + 10);
        value = (value << 4) | digit;
    }
    return value;
}

// The value of the colour code whose caret is at index caret: "oldclr" gives
// the old colour, another word starting with 'o' gives 0.
uint32_t ColorCodeValue(const std::wstring& text, size_t caret, uint32_t oldColor)
{
    if (text[caret + 1] == L'o')
        return text.compare(caret + 1, 6, L"oldclr") == 0 ? oldColor : 0;
    return ParseHexColor(text, caret + 1);
}

} // namespace

void Graphics::DrawString(const std::wstring& text, int x, int y)
{
    if (mFont == nullptr)
        return;
    mFont->DrawString(this, x, y, text, mColor, mClipRect, 1.0f, 1.0f, 0.0f, 0, kBaselineAlign);
}

int Graphics::GetStringWidth(const std::wstring& text)
{
    if (mFont == nullptr)
        return 0;
    return mFont->StringWidth(text, 1.0f, 1.0f, 0.0f);
}

int Graphics::DrawStringJustified(const std::wstring& text, int x, int y, int width, int justification, bool draw,
                                  int offset, int length, int oldColor)
{
    if (mFont == nullptr)
        return 0;
    if (oldColor == -1)
        oldColor = static_cast<int>(mColor.Packed());

    if (draw && (justification == 0 || justification == 1)) {
        const int measured = DrawStringJustified(text, x, y, width, -1, false, offset, length, oldColor);
        x += justification == 0 ? (width - measured) / 2 : width - measured;
    }

    // Callers pass indices inside the text; anything else is cut to it.
    const size_t size = text.size();
    const size_t begin = std::min(static_cast<size_t>(std::max(offset, 0)), size);
    const size_t end = (length < 0 || static_cast<size_t>(length) > size - begin) ? size
                                                                                  : begin + static_cast<size_t>(length);

    int total = 0;
    std::wstring segment;
    size_t i = begin;
    while (i < end) {
        // Plain characters up to the next caret go over in one piece.
        const size_t caret =
            mWriteColoredString
                ? static_cast<size_t>(std::find(text.begin() + static_cast<std::ptrdiff_t>(i),
                                                text.begin() + static_cast<std::ptrdiff_t>(end), kCaret) -
                                      text.begin())
                : end;
        segment.append(text, i, caret - i);
        i = caret;
        if (i == end)
            break;
        if (i + 1 < end && text[i + 1] == kCaret) {
            segment += kCaret;
            i += 2;
            continue;
        }
        // An incomplete code ends the text here.
        if (i + kColorCodeLength > end)
            break;
        const uint32_t value = ColorCodeValue(text, i, static_cast<uint32_t>(oldColor));
        if (draw) {
            DrawString(segment, x + total, y);
            mColor = Color(static_cast<int32_t>((value >> 16) & 255), static_cast<int32_t>((value >> 8) & 255),
                           static_cast<int32_t>(value & 255), mColor.alpha);
        }
        total += mFont->StringWidth(segment, 1.0f, 1.0f, 0.0f);
        segment.clear();
        i += kColorCodeLength;
    }

    if (draw)
        DrawString(segment, x + total, y);
    return total + mFont->StringWidth(segment, 1.0f, 1.0f, 0.0f);
}

int Graphics::DrawStringWrapped(const std::wstring& text, const Rect& rect, int lineSpacing, int justification,
                                int* maxWidthOut)
{
    if (mFont == nullptr) {
        if (maxWidthOut != nullptr)
            *maxWidthOut = 0;
        return 0;
    }

    const Color startColor = mColor;
    // Opaque colours travel without their alpha byte, so opaque white is not
    // mistaken for the "current colour" marker -1.
    uint32_t packedOld = startColor.Packed();
    if (startColor.alpha == 255)
        packedOld &= 0x00FFFFFFu;
    const int oldColor = static_cast<int>(packedOld);

    int lineY = mFont->GetAscent() - mFont->GetLineSpacingOffset();
    if (lineSpacing == -1)
        lineSpacing = mFont->GetLineSpacing();

    const size_t size = text.size();
    const auto drawLine = [&](size_t first, size_t count) {
        return DrawStringJustified(text, rect.x, rect.y + lineY, rect.width, justification, true,
                                   static_cast<int>(first), static_cast<int>(count), oldColor);
    };

    size_t lineStart = 0;
    size_t i = 0;
    int64_t lastBreak = -1;
    int64_t lineWidth = 0;
    wchar_t previous = 0;
    int widest = 0;

    while (i < size) {
        // Where the character began: "^^" takes two places, and a forced
        // break between them would start the next line with a lone caret.
        const size_t unitStart = i;
        const wchar_t c = text[i];
        if (c == kCaret && mWriteColoredString && i + 1 < size) {
            if (text[i + 1] != kCaret) {
                i += kColorCodeLength;
                continue;
            }
            // "^^" is measured as the one caret it draws.
            ++i;
        }
        bool lineBreak = false;
        if (c == L' ') {
            lastBreak = static_cast<int64_t>(i);
        } else if (c == kLineBreak) {
            lastBreak = static_cast<int64_t>(i);
            lineBreak = true;
            ++i;
        }
        lineWidth += mFont->CharWidthKern(c, previous);
        previous = c;
        if (!lineBreak && lineWidth <= rect.width) {
            ++i;
            continue;
        }

        lineWidth = 0;
        int drawnWidth = 0;
        if (lastBreak == -1) {
            // One word fills the line: break inside it before the character
            // that did not fit, at least one character per line.
            i = unitStart == lineStart ? i + 1 : unitStart;
            drawnWidth = drawLine(lineStart, i - lineStart);
        } else {
            const size_t breakAt = static_cast<size_t>(lastBreak);
            const int rowY = TruncToInt(mTransY + static_cast<float>(rect.y) + static_cast<float>(lineY));
            const int64_t clipTop = mClipRect.y;
            if (clipTop <= rowY && rowY < clipTop + mClipRect.height + lineSpacing)
                drawnWidth = drawLine(lineStart, breakAt - lineStart);
            i = breakAt + 1;
            if (text[breakAt] != kLineBreak) {
                while (i < size && text[i] == L' ')
                    ++i;
            }
        }
        widest = std::max(widest, drawnWidth);
        lineY += lineSpacing;
        lineStart = i;
        lastBreak = -1;
        previous = 0;
    }

    if (lineStart < size) {
        widest = std::max(widest, drawLine(lineStart, size - lineStart));
        lineY += lineSpacing;
    } else if (size > 0 && text[size - 1] == kLineBreak) {
        lineY += lineSpacing;
    }

    mColor = startColor;
    if (maxWidthOut != nullptr)
        *maxWidthOut = widest;
    return mFont->GetDescent() + lineY - lineSpacing;
}

} // namespace Tandry
