// The framework's message panel: a header, word-wrapped body text, a footer
// and up to two buttons (1000 yes / ok, 1001 no / cancel), drawn from a box
// image or as a plain dark panel with a shadow, and dragged with the mouse.
// The application registers dialogs by id, places those of width 0, and makes
// modal ones the manager's base modal widget; games derive their own dialogs.
#pragma once

#include "widgets/ButtonListener.h"
#include "widgets/Insets.h"
#include "widgets/Widget.h"

#include <climits>
#include <string>

namespace Tandry {

class DialogButton;
class DialogListener;
class Font;
class Image;

class Dialog : public Widget, public ButtonListener {
public:
    // The result until a button is clicked.
    static constexpr int kNoResult = INT_MAX;
    static constexpr int kYesButtonId = 1000;
    static constexpr int kNoButtonId = 1001;

    static constexpr int kHeaderColor = 0;
    static constexpr int kLinesColor = 1;
    static constexpr int kFooterColor = 2;
    static constexpr int kButtonTextColor = 3;
    static constexpr int kButtonTextOverColor = 4;
    static constexpr int kBackgroundColor = 5;
    static constexpr int kOutlineColor = 6;

    // Button modes: 1 YES / NO, 2 OK / CANCEL, 3 one button labelled with the
    // footer, anything else no buttons.
    Dialog(int dialogId, bool modal, const std::wstring& header, const std::wstring& lines,
           const std::wstring& footer, int mode);
    ~Dialog() override;

    // The buttons share the font; they do not own it.
    virtual void SetButtonFont(Font* newFont);
    // The dialog keeps a copy.
    virtual void SetHeaderFont(Font* newFont);
    virtual void SetLinesFont(Font* newFont);
    virtual int GetPreferredHeight(int forWidth);
    virtual bool IsModal();
    // Runs the application's update steps until a button is clicked, the
    // dialog leaves the tree or the loop should stop; then closes the dialog
    // when autoKill. The result (kNoResult when none); a dialog deleted
    // during a step ends the wait with the result it had.
    virtual int WaitForResult(bool autoKill);
    // Told by the game when the screen mode changed; nothing here.
    virtual int ScreenModeChanged(bool windowed);

    void AddedToManager(WidgetManager* widgetManager) override;
    void RemovedFromManager(WidgetManager* widgetManager) override;
    void Draw(Graphics* g) override;
    void ZOrderChanged() override;
    void SetColor(int index, const Color& color) override;
    using Widget::Resize;
    void Resize(int newX, int newY, int newWidth, int newHeight) override;
    using Widget::MouseDown;
    using Widget::MouseUp;
    void MouseDown(int mouseX, int mouseY, int button, int clickCount) override;
    void MouseUp(int mouseX, int mouseY, int button, int clickCount) override;
    void MouseDrag(int mouseX, int mouseY) override;
    using ButtonListener::OnButtonClick;
    using ButtonListener::OnButtonDown;
    void OnButtonDown(int buttonId) override;
    void OnButtonClick(int buttonId) override;

    DialogListener* dialogListener;
    // Not owned; null draws the plain look.
    Image* componentImage = nullptr;
    DialogButton* yesButton = nullptr;
    DialogButton* noButton = nullptr;
    std::wstring dialogHeader;
    std::wstring dialogFooter;
    std::wstring dialogLines;
    int buttonMode = 0;
    // Owned; also draws the footer.
    Font* headerFont = nullptr;
    Font* linesFont = nullptr;
    // -1 left, 0 centred, 1 right.
    int textAlign = 0;
    int lineSpacingOffset = 0;
    int buttonHeight = 24;
    Insets backgroundInsets;
    Insets contentInsets{24, 24, 24, 24};
    int spaceAfterHeader = 10;
    bool dragging = false;
    int dragMouseX = 0;
    int dragMouseY = 0;
    int id = 0;
    bool isModal = false;
    int result = kNoResult;
    int buttonHorizontalSpacing = 8;
    int buttonSidePadding = 0;
    // Corner sizes of componentImage drawn as a box.
    Insets componentInsets;

private:
    // What a running WaitForResult learns when the dialog is deleted under it.
    struct Wait {
        bool alive = true;
        int lastResult = kNoResult;
        Wait* outer = nullptr;
    };

    // The default fonts, made when missing.
    void MakeFonts();
    void ShowCursor(int kind);

    Wait* mWait = nullptr;
};

} // namespace Tandry
