// In-game dialogs by id, system message boxes, fatal-error popups, the crash
// text and the screen-saver log.
#include "app/TandryAppBase.h"

#include "app/ScreensaverLog.h"
#include "graphics/display/DDInterface.h"
#include "platform/Platform.h"
#include "platform/fs/FileOps.h"
#include "resources/manager/ResourceManager.h"
#include "util/Format.h"
#include "util/StringUtils.h"
#include "widgets/Dialog.h"
#include "widgets/WidgetManager.h"

#include <algorithm>
#include <atomic>
#include <cstdio>

namespace Tandry {

namespace {

std::atomic<bool> gScreensaverLogFirstWrite{true};

} // namespace

void ResetScreensaverLog()
{
    gScreensaverLogFirstWrite = true;
}

Dialog* TandryAppBase::MakeDialog(int id, bool modal, const std::wstring& header, const std::wstring& lines,
                                  const std::wstring& footer, int buttonMode)
{
    return new Dialog(id, modal, header, lines, footer, buttonMode);
}

Dialog* TandryAppBase::OpenDialog(int id, bool modal, const std::wstring& header, const std::wstring& lines,
                                  const std::wstring& footer, int buttonMode)
{
    CloseDialog(id);
    Dialog* dialog = MakeDialog(id, modal, header, lines, footer, buttonMode);
    AddDialog(id, dialog);
    return dialog;
}

Dialog* TandryAppBase::FindDialog(int id)
{
    auto it = mDialogMap.find(id);
    return it == mDialogMap.end() ? nullptr : it->second;
}

void TandryAppBase::AddDialog(Dialog* dialog)
{
    AddDialog(dialog->id, dialog);
}

void TandryAppBase::AddDialog(int id, Dialog* dialog)
{
    // A dialog is registered once. Re-adding it would close it first, which
    // queues it for deletion while it is entered again, and it would be
    // deleted under the feet of the map and the widget tree.
    if (dialog == nullptr ||
        std::any_of(mDialogMap.begin(), mDialogMap.end(), [dialog](const auto& entry) { return entry.second == dialog; }))
        return;

    CloseDialog(id);

    if (dialog->width == 0) {
        const int width = mWidth / 2;
        const int height = dialog->GetPreferredHeight(width);
        dialog->Resize((mWidth - width) / 2, mHeight / 5, width, height);
    }

    mDialogMap[id] = dialog;
    mDialogList.push_back(dialog);
    mWidgetManager->AddWidget(dialog);

    if (dialog->IsModal()) {
        mWidgetManager->AddBaseModal(dialog, mWidgetManager->defaultBelowModalFlagChange);
        OnModalDialogOpened();
    }
}

bool TandryAppBase::CloseDialog(Dialog* dialog)
{
    return CloseDialog(dialog->id);
}

bool TandryAppBase::CloseDialog(int id)
{
    return CloseDialog(id, true, true);
}

bool TandryAppBase::CloseDialog(int id, bool removeWidget, bool deleteWidget)
{
    auto it = mDialogMap.find(id);
    if (it == mDialogMap.end())
        return false;
    Dialog* dialog = it->second;

    if (dialog->result == Dialog::kNoResult)
        dialog->result = 0;

    mDialogList.remove(dialog);
    mDialogMap.erase(it);

    if (removeWidget || deleteWidget)
        mWidgetManager->RemoveWidget(dialog);

    if (dialog->IsModal()) {
        OnModalDialogClosed();
        mWidgetManager->RemoveBaseModal(dialog);
    }

    if (deleteWidget)
        DeferWidgetDelete(dialog);
    return true;
}

int TandryAppBase::GetDialogCount()
{
    return static_cast<int>(mDialogMap.size());
}

void TandryAppBase::OnModalDialogOpened() {}
void TandryAppBase::OnModalDialogClosed() {}

void TandryAppBase::EnterSystemPopup()
{
    if (!mIsWindowed && mDDInterface != nullptr && mDDInterface->HasDirectDraw()) {
        mDDInterface->FlipToGDISurface();
        mSystemPopupShowing = true;
    }
}

void TandryAppBase::LeaveSystemPopup()
{
    if (!mIsWindowed)
        mSystemPopupShowing = false;
    ResetUpdateTiming();
    ClearKeyStates();
    if (mWidgetManager != nullptr && mWidgetManager->downButtons != 0) {
        mWidgetManager->ReleaseCapture();
        Platform::GetPlatform().GetWindows().ReleaseCapture();
    }
}

int TandryAppBase::ShowMessageBoxW(const std::wstring& text, const std::wstring& caption, uint32_t flags)
{
    if (mScreensaverMode) {
        AppendScreensaverLog(WideToNarrow(text));
        return 1;
    }
    EnterSystemPopup();
    const int result = Platform::GetPlatform().GetDialogs().MessageBoxW(mMainWindow, text, caption, flags);
    LeaveSystemPopup();
    return result;
}

int TandryAppBase::ShowMessageBoxA(const std::string& text, const std::string& caption, uint32_t flags)
{
    if (mScreensaverMode) {
        AppendScreensaverLog(text);
        return 1;
    }
    EnterSystemPopup();
    const int result = Platform::GetPlatform().GetDialogs().MessageBoxA(mMainWindow, text, caption, flags);
    LeaveSystemPopup();
    return result;
}

void TandryAppBase::ShowErrorPopupW(const std::wstring& text)
{
    if (mScreensaverMode) {
        AppendScreensaverLog(WideToNarrow(text));
        return;
    }
    EnterSystemPopup();
    if (!mShutdown) {
        Platform::GetPlatform().GetDialogs().MessageBoxW(mMainWindow, text, LookupString("FATAL_ERROR", L"FATAL ERROR"),
                                                         Platform::MB_ICONERROR);
    }
    LeaveSystemPopup();
}

void TandryAppBase::ShowErrorPopupA(const std::string& text)
{
    if (mScreensaverMode) {
        AppendScreensaverLog(text);
        return;
    }
    EnterSystemPopup();
    if (!mShutdown) {
        Platform::GetPlatform().GetDialogs().MessageBoxA(
            mMainWindow, text, WideToNarrow(LookupString("FATAL_ERROR", L"FATAL ERROR")), Platform::MB_ICONERROR);
    }
    LeaveSystemPopup();
}

void TandryAppBase::FailWithResourceError()
{
    ShowErrorPopupA(mResourceManager->GetErrorText());
    DoExit(0);
}

std::string TandryAppBase::BuildCrashReportText()
{
    const uint32_t seconds = (Platform::GetPlatform().GetClock().GetTickCount() - mTimeLoaded) / 1000;
    std::string text;
    text += "Product: " + mProductName + "\r\n";
    text += "Version: " + mProductVersion + "\r\n";
    text += FormatString("Time Loaded: %02u:%02u:%02u\r\n", seconds / 3600, seconds / 60 % 60, seconds % 60);
    text += std::string("Fullscreen: ") + (mWindowed ? "No" : "Yes") + "\r\n";
    text += FormatString("Primary ThreadId: %X\r\n", mPrimaryThreadId);
    return text;
}

std::string TandryAppBase::GetExtraCrashText()
{
    return std::string();
}

void TandryAppBase::AppendScreensaverLog(const std::string& text)
{
    const bool first = gScreensaverLogFirstWrite.exchange(false);
    FILE* file = Platform::OpenFile("ScrError.txt", first ? "w" : "a+");
    if (file == nullptr)
        return;
    Platform::Clock& clock = Platform::GetPlatform().GetClock();
    // The text is data, never a format: a '%' in it is written as it stands.
    const std::string line =
        text + " " + Platform::FormatTimeOfDay(clock.GetLocalTime()) + " " + std::to_string(clock.GetTickCount()) + "\n";
    std::fwrite(line.data(), 1, line.size(), file);
    std::fclose(file);
}

} // namespace Tandry
