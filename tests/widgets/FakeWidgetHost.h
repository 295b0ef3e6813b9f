// A widget host for tests: it loads image files through the image loader into
// display-less images (or makes them with a test's own function), records the
// paths asked for, counts the images it hands out and those deleted since,
// answers a display and a widget manager that a test may set, records the
// cursor calls (the override cursor among them), answers the focus a test
// sets, and records the widgets handed over for deletion (deleting them when
// the test asks or at its end). It keeps a clipboard of its own, runs a
// test's callback for each update step, records closed dialog ids and answers
// the dialog listener a test sets. It installs itself for its lifetime.
#pragma once

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "graphics/display/DDImage.h"
#include "resources/images/ImageLib.h"
#include "widgets/DialogListener.h"
#include "widgets/Widget.h"
#include "widgets/WidgetHost.h"

namespace Tandry {

class FakeWidgetHost : public WidgetHost {
public:
    FakeWidgetHost() { SetWidgetHost(this); }
    ~FakeWidgetHost()
    {
        ResetWidgetHost();
        DeleteDeferred();
    }
    FakeWidgetHost(const FakeWidgetHost&) = delete;
    FakeWidgetHost& operator=(const FakeWidgetHost&) = delete;

    // Given an empty image of the host's kind, fills it for the path; false: no image.
    std::function<bool(const std::string& path, DDImage& image)> make;
    DDInterface* display = nullptr;
    WidgetManager* widgetManager = nullptr;

    std::vector<std::string> paths;
    std::vector<bool> commits;
    int handedOut = 0;
    // Shared with the images, which may outlive the host.
    std::shared_ptr<int> deleted = std::make_shared<int>(0);

    DDImage* LoadImageFile(const std::string& path, bool commit) override
    {
        paths.push_back(path);
        commits.push_back(commit);
        auto image = std::make_unique<CountedImage>(deleted);
        if (make) {
            if (!make(path, *image))
                return nullptr;
        } else {
            const std::unique_ptr<ImageLib::Image> read = ImageLib::GetImage(path, false);
            if (read == nullptr)
                return nullptr;
            image->Create(read->width, read->height);
            std::memcpy(image->GetBits(), read->bits,
                        sizeof(uint32_t) * static_cast<size_t>(read->width) * static_cast<size_t>(read->height));
        }
        ++handedOut;
        return image.release();
    }
    DDInterface* GetDDInterface() override { return display; }
    WidgetManager* GetWidgetManager() override { return widgetManager; }
    void SetCursorKind(int kind) override { cursorCalls.push_back("kind " + std::to_string(kind)); }
    void ApplyCursor() override { cursorCalls.push_back("apply"); }
    void DeferWidgetDelete(Widget* widget) override { deferred.push_back(widget); }
    bool HasAppFocus() override { return hasFocus; }
    void SetOverrideCursor(Platform::CursorHandle cursor) override
    {
        overrideCursor = cursor;
        cursorCalls.push_back(cursor != nullptr ? "override set" : "override clear");
    }

    void SetClipboardText(const std::string& text) override
    {
        clipboard = text;
        ++clipboardSets;
    }
    std::string GetClipboardText() override { return clipboard; }
    // Runs the step's callback (the first step is 1); without one the loop
    // should stop.
    bool RunUpdateStep(bool* updated) override
    {
        ++updateSteps;
        updatedPointers.push_back(updated);
        return onUpdateStep ? onUpdateStep(updateSteps) : false;
    }
    bool CloseDialog(int dialogId) override
    {
        closedDialogs.push_back(dialogId);
        return onCloseDialog ? onCloseDialog(dialogId) : false;
    }
    DialogListener* GetDialogListener() override { return dialogListener; }

    // The application's deletion after the update pass.
    void DeleteDeferred()
    {
        std::vector<Widget*> pending;
        pending.swap(deferred);
        for (Widget* widget : pending)
            delete widget;
    }

    std::vector<std::string> cursorCalls;
    std::vector<Widget*> deferred;
    bool hasFocus = true;
    Platform::CursorHandle overrideCursor = nullptr;
    std::string clipboard;
    int clipboardSets = 0;
    std::function<bool(int step)> onUpdateStep;
    int updateSteps = 0;
    std::vector<bool*> updatedPointers;
    std::function<bool(int dialogId)> onCloseDialog;
    std::vector<int> closedDialogs;
    DialogListener* dialogListener = nullptr;

private:
    class CountedImage : public DDImage {
    public:
        explicit CountedImage(std::shared_ptr<int> counter) : DDImage(nullptr), mCounter(std::move(counter)) {}
        ~CountedImage() override { ++*mCounter; }

    private:
        std::shared_ptr<int> mCounter;
    };
};

} // namespace Tandry
