// Turns bytes into a run of widget-manager calls (mouse, wheel, keys,
// characters, window focus, capture release, update, draw) over a tree of
// widgets whose callbacks add, remove, hide, disable, reorder and defer-delete
// their siblings, set the popup widget and open and close modal layers, as
// the window and a corrupt demo file may drive it. Inputs that begin with
// kControlsMark also put a button, a slider and a scroll bar under them,
// whose listeners take them out, put them back, disable, hide, resize them
// and change their values from inside their callbacks; other inputs run as
// they always did, so the seeds that found faults keep finding them. After
// every call the over, captured, focus, popup and base-modal widgets are null
// or attached to this manager, and the slider's and the bar's values are
// numbers in their ranges; ASan sees any touch of a deleted widget.
#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "graphics/context/Graphics.h"
#include "graphics/image/MemoryImage.h"
#include "platform/fonts/BoxTextService.h"
#include "platform/fonts/TextService.h"
#include "tests/fuzz/FuzzBytes.h"
#include "tests/widgets/FakeWidgetHost.h"
#include "widgets/ButtonListener.h"
#include "widgets/ButtonWidget.h"
#include "widgets/ScrollListener.h"
#include "widgets/ScrollbarWidget.h"
#include "widgets/Slider.h"
#include "widgets/SliderListener.h"
#include "widgets/Widget.h"
#include "widgets/WidgetManager.h"

namespace {

using namespace Tandry;

constexpr int kWidgetCount = 8;
constexpr int kMaxCalls = 400;
// Callbacks set off further callbacks; past this depth they do nothing.
constexpr int kMaxDepth = 4;
constexpr uint8_t kControlsMark = 0xC7;

enum ControlEvent { kButtonDown, kButtonClick, kButtonHeld, kButtonEnter, kButtonLeave, kSliderMoved, kScrolled,
                    kControlEventCount };

enum Event { kUpdate, kEnter, kLeave, kDown, kUp, kDrag, kKeyDown, kLostFocus, kGotFocus, kMove, kEventCount };

class Scene;

// What the controls tell their owner; each call lets the input act on a control.
class ControlListener : public ButtonListener, public SliderListener, public ScrollListener {
public:
    explicit ControlListener(Scene& scene) : mScene(scene) {}

    using ButtonListener::OnButtonClick;
    using ButtonListener::OnButtonDown;

    void OnButtonDown(int) override { Act(kButtonDown); }
    void OnButtonClick(int) override { Act(kButtonClick); }
    void OnButtonHeld(int) override { Act(kButtonHeld); }
    void OnButtonHoverEnter(int) override { Act(kButtonEnter); }
    void OnButtonHoverLeave(int) override { Act(kButtonLeave); }
    void SliderValueChanged(int, double) override { Act(kSliderMoved); }
    void ScrollPosition(int, double) override { Act(kScrolled); }

private:
    void Act(ControlEvent event);
    Scene& mScene;
};

class FuzzWidget : public Widget {
public:
    FuzzWidget(Scene& scene, int index) : mScene(scene), mIndex(index) {}

    // What the widget does after each kind of call: an action and its target.
    uint8_t action[kEventCount] = {};
    uint8_t target[kEventCount] = {};

    void Update() override;
    void Draw(Graphics* g) override
    {
        g->SetColor(Color(static_cast<int32_t>(std::max(mIndex, 0) * 30), 0, 0));
        g->FillRect(0, 0, width, height);
    }
    void MouseEnter() override { React(kEnter); }
    void MouseLeave() override { React(kLeave); }
    void MouseMove(int, int) override { React(kMove); }
    void MouseDown(int, int, int, int) override { React(kDown); }
    void MouseUp(int, int, int, int) override { React(kUp); }
    void MouseDrag(int, int) override { React(kDrag); }
    void KeyDown(int key) override
    {
        Widget::KeyDown(key);
        React(kKeyDown);
    }
    void GotFocus() override
    {
        Widget::GotFocus();
        React(kGotFocus);
    }
    void LostFocus() override
    {
        Widget::LostFocus();
        React(kLostFocus);
    }
    bool HitTestPoint(int localX, int) override { return (mIndex != 3) || localX % 2 == 0; }

private:
    void React(Event event);
    Scene& mScene;
    int mIndex;
};

class Scene {
public:
    Scene(FuzzBytes& in, bool withControls)
        : mIn(in), manager(&host), cursor(*this, -1), controlListener(*this)
    {
        const Quiet quiet(*this);
        Platform::InstallTextService(std::make_unique<Platform::BoxTextService>());
        host.widgetManager = &manager;
        cursor.Resize(0, 0, 8, 8);
        manager.width = 100;
        manager.height = 80;
        screen.Create(90, 70);
        manager.drawImage = &screen;
        manager.drawOffsetRect = Rect(5, 5, 90, 70);
        for (int i = 0; i < kWidgetCount; ++i) {
            auto* widget = new FuzzWidget(*this, i);
            // One value a statement: the order of arguments is the compiler's.
            const int left = in.Range(-20, 90);
            const int top = in.Range(-20, 70);
            const int right = in.Range(0, 80);
            const int bottom = in.Range(0, 60);
            widget->Resize(left, top, right, bottom);
            widget->zOrder = in.Range(-1, 1);
            widget->wantsFocus = in.Bool();
            widget->handCursor = in.Bool();
            widget->hasAlpha = in.Bool();
            // Mostly no change; now and then bits set or cleared for the subtree.
            const int flagByte = in.Byte();
            if (flagByte >= 200)
                widget->flagChange = {flagByte & 0x15, (flagByte >> 2) & 0x3B};
            for (int e = 0; e < kEventCount; ++e) {
                widget->action[e] = in.Byte();
                widget->target[e] = in.Byte();
            }
            widgets.push_back(widget);
        }
        // The controls, below every fuzz widget.
        track.Create(9, 4);
        thumb.Create(4, 6);
        button.label = L"Go";
        button.overAlphaFadeInSpeed = 0.25;
        button.overAlphaFadeOutSpeed = 0.25;
        button.Resize(0, 0, 30, 12);
        slider.Resize(0, 60, 100, 10);
        bar.ResizeScrollbar(88, 0, 12, 80);
        bar.SetMaxValue(100);
        bar.SetPageSize(30);
        if (withControls) {
            for (int e = 0; e < kControlEventCount; ++e) {
                controlAction[e] = in.Byte();
                controlTarget[e] = in.Byte();
                controlValue[e] = in.Byte();
            }
            for (Widget* control : Controls()) {
                control->zOrder = -2;
                manager.AddWidget(control);
            }
        }
        // Half at top level, the rest inside a widget before them.
        for (int i = 0; i < kWidgetCount; ++i) {
            WidgetContainer* parent = i < 4 || in.Bool() ? static_cast<WidgetContainer*>(&manager)
                                                         : widgets[static_cast<size_t>(in.Range(0, i - 1))];
            parent->AddWidget(widgets[static_cast<size_t>(i)]);
        }
    }

    ~Scene()
    {
        const Quiet quiet(*this);
        manager.cursorWidget = nullptr;
        // Taken out whole: the recursive removal below would strip the bar of
        // the arrow buttons it deletes.
        for (Widget* control : Controls()) {
            if (control->parent != nullptr)
                control->parent->RemoveWidget(control);
        }
        manager.RemoveAllWidgets(false, true);
        DeleteDeferred();
        for (Widget* widget : widgets) {
            if (widget->parent != nullptr)
                widget->parent->RemoveWidget(widget);
        }
        for (Widget* widget : widgets)
            widget->children.clear();
        for (Widget* widget : widgets)
            delete widget;
        Platform::ResetTextService();
    }
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // No callback acts while one lives: set-up, teardown and the deletions.
    class Quiet {
    public:
        explicit Quiet(Scene& scene) : mScene(scene), mDepth(scene.depth) { scene.depth = kMaxDepth; }
        ~Quiet() { mScene.depth = mDepth; }
        Quiet(const Quiet&) = delete;
        Quiet& operator=(const Quiet&) = delete;

    private:
        Scene& mScene;
        int mDepth;
    };

    std::array<Widget*, 3> Controls() { return {&button, &slider, &bar}; }

    // A value for a control from a table byte: now and then NaN or infinite.
    static double ControlNumber(uint8_t value, double scale, double offset)
    {
        if (value == 255)
            return std::nan("");
        if (value == 254)
            return -HUGE_VAL;
        return value * scale + offset;
    }

    // What a control's callback does, by the event's table entry.
    void ControlAct(ControlEvent event)
    {
        if (depth >= kMaxDepth)
            return;
        ++depth;
        const uint8_t value = controlValue[event];
        Widget* control = Controls()[controlTarget[event] % 3];
        switch (controlAction[event] % 10) {
        case 1:
            if (control->parent != nullptr)
                control->parent->RemoveWidget(control);
            break;
        case 2:
            if (control->parent == nullptr)
                manager.AddWidget(control);
            break;
        case 3:
            control->SetDisabled(!control->disabled);
            break;
        case 4:
            control->SetVisible(!control->visible);
            break;
        case 5:
            slider.SetValue(ControlNumber(value, 0.01, -0.5));
            break;
        case 6:
            bar.SetValue(ControlNumber(value, 2.0, -50.0));
            break;
        case 7:
            bar.SetMaxValue(ControlNumber(value, 1.0, -10.0));
            bar.SetPageSize(ControlNumber(static_cast<uint8_t>(value * 7), 0.5, -10.0));
            break;
        case 8: {
            const int left = value % 40 - 10;
            const int top = value % 30 - 10;
            const int w = value % 90 - 2;
            const int h = value % 70 - 2;
            if (control == &bar)
                bar.ResizeScrollbar(left, top, w, h);
            else
                control->Resize(left, top, w, h);
            break;
        }
        case 9:
            bar.fixedThumbSize = !bar.fixedThumbSize;
            bar.SetHorizontal(!bar.horizontal);
            slider.horizontal = !slider.horizontal;
            button.clickEvenIfNotOver = !button.clickEvenIfNotOver;
            break;
        default:
            break;
        }
        --depth;
    }

    // The widget of a target byte, or null for a deleted one.
    FuzzWidget* Pick(uint8_t index)
    {
        FuzzWidget* widget = widgets[index % kWidgetCount];
        return std::find(pending.begin(), pending.end(), widget) == pending.end() &&
                       std::find(deleted.begin(), deleted.end(), widget) == deleted.end()
                   ? widget
                   : nullptr;
    }

    void Act(FuzzWidget* self, uint8_t action, uint8_t targetIndex)
    {
        if (depth >= kMaxDepth)
            return;
        ++depth;
        FuzzWidget* w = Pick(targetIndex);
        if (w != nullptr)
            Do(self, action, w);
        --depth;
    }

    void Do(FuzzWidget* self, uint8_t action, FuzzWidget* w)
    {
        switch (action % 20) {
        case 0:
            break;
        case 1:
            if (self != nullptr && std::find(pending.begin(), pending.end(), self) == pending.end())
                self->AddWidget(w);
            break;
        case 2:
            manager.AddWidget(w);
            break;
        case 3:
            if (w->parent != nullptr)
                w->parent->RemoveWidget(w);
            break;
        case 4:
            w->SetVisible(!w->visible);
            break;
        case 5:
            w->SetDisabled(!w->disabled);
            break;
        case 6:
            if (w->parent != nullptr)
                w->parent->BringToFront(w);
            break;
        case 7:
            if (w->parent != nullptr)
                w->parent->SendToBack(w);
            break;
        case 8:
            if (w->parent != nullptr && self != nullptr)
                w->parent->InsertAbove(w, self);
            break;
        case 9:
            if (w->parent != nullptr)
                w->parent->InsertBelow(w, nullptr);
            break;
        case 10:
            // The application's deferred deletion: out of the tree now, deleted after the update.
            if (w->parent != nullptr)
                w->parent->RemoveWidget(w);
            pending.push_back(w);
            host.DeferWidgetDelete(w);
            break;
        case 11:
            if (w->manager == &manager && w->parent == &manager)
                manager.popupWidget = w;
            break;
        case 12:
            if (w->manager == &manager)
                manager.AddBaseModal(w, {0, static_cast<int>(action & 0x30)});
            break;
        case 13:
            manager.RemoveBaseModal(w);
            break;
        case 14:
            manager.SetFocus(w);
            break;
        case 15:
            w->Move(w->x + static_cast<int>(action % 7) - 3, w->y + static_cast<int>(action % 5) - 2);
            break;
        case 16:
            manager.UpdateFrame();
            break;
        case 17:
            manager.cursorWidget = manager.cursorWidget == nullptr ? &cursor : nullptr;
            cursor.dirty = true;
            break;
        case 18:
            manager.defaultTab = w;
            break;
        default:
            manager.RemovePopupWidget();
            break;
        }
    }

    void DeleteDeferred()
    {
        const Quiet quiet(*this);
        for (Widget* widget : host.deferred) {
            auto* fuzzWidget = static_cast<FuzzWidget*>(widget);
            // Re-added after it was handed over: the game takes it out again.
            if (fuzzWidget->parent != nullptr)
                fuzzWidget->parent->RemoveWidget(fuzzWidget);
            if (manager.defaultTab == fuzzWidget)
                manager.defaultTab = nullptr;
            // Its children are not owned by it here; they live on, unparented.
            while (!fuzzWidget->children.empty())
                fuzzWidget->RemoveWidget(fuzzWidget->children.front());
            pending.erase(std::find(pending.begin(), pending.end(), fuzzWidget));
            deleted.push_back(fuzzWidget);
        }
        host.deferred.clear();
        for (Widget* widget : deleted) {
            auto it = std::find(widgets.begin(), widgets.end(), widget);
            if (it != widgets.end()) {
                // Replaced by a fresh detached widget of the same index, so targets stay valid.
                const auto index = static_cast<int>(it - widgets.begin());
                delete widget;
                auto* fresh = new FuzzWidget(*this, index);
                fresh->Resize(index * 10, index * 5, 20, 20);
                *it = fresh;
            }
        }
        deleted.clear();
    }

    void CheckAttached(const Widget* widget)
    {
        FuzzCheck(widget == nullptr || widget->manager == &manager);
    }

    void Check()
    {
        CheckAttached(manager.overWidget);
        CheckAttached(manager.lastDownWidget);
        CheckAttached(manager.focusWidget);
        CheckAttached(manager.popupWidget);
        CheckAttached(manager.baseModalWidget);
        for (const BaseModalEntry& entry : manager.baseModalStack) {
            CheckAttached(entry.previousBaseModal);
            CheckAttached(entry.previousFocus);
        }
        FuzzCheck(slider.value >= 0.0 && slider.value <= 1.0);
        FuzzCheck(!std::isnan(bar.value) && bar.value >= 0.0);
    }

    int Coordinate()
    {
        switch (mIn.Byte() % 16) {
        case 0:
            return INT_MIN;
        case 1:
            return INT_MAX;
        default:
            return mIn.Range(-30, 130);
        }
    }

    // A mouse call at a point read x first.
    template <typename... Rest>
    void Point(bool (WidgetManager::*call)(int, int, Rest...), Rest... rest)
    {
        const int px = Coordinate();
        const int py = Coordinate();
        (manager.*call)(px, py, rest...);
    }

    int ClickCount()
    {
        static constexpr int kCodes[] = {1, 2, -1, -2, 3};
        const uint8_t pick = mIn.Byte();
        if (pick < 240)
            return kCodes[pick % 5];
        if (pick >= 254)
            return pick == 255 ? INT_MIN : INT_MAX;
        return mIn.Range(-100000, 100000);
    }

    void Step()
    {
        switch (mIn.Byte() % 17) {
        case 0:
            Point(&WidgetManager::MouseDown, ClickCount());
            break;
        case 1:
            Point(&WidgetManager::MouseUp, ClickCount());
            break;
        case 2:
            Point(&WidgetManager::MouseMove);
            break;
        case 3:
            Point(&WidgetManager::MouseDrag);
            break;
        case 4:
            manager.MouseExit();
            break;
        case 5:
            manager.MouseWheel(mIn.Bool() ? mIn.Range(-1000, 1000) : (mIn.Bool() ? INT_MIN : INT_MAX));
            break;
        case 6:
            manager.KeyDown(mIn.Range(-5, 300));
            break;
        case 7:
            manager.KeyUp(mIn.Range(-5, 300));
            break;
        case 8:
            manager.KeyChar(static_cast<wchar_t>(mIn.Range(0, 0xFFFF)));
            break;
        case 9:
            manager.WindowLostFocus();
            break;
        case 10:
            manager.WindowGotFocus();
            break;
        case 11:
            manager.ReleaseCapture();
            break;
        case 12:
            manager.UpdateFrame();
            DeleteDeferred();
            break;
        case 13:
            manager.DrawScreen();
            break;
        case 14:
            manager.UpdateFrameDelta(0.5f);
            break;
        default: {
            const uint8_t action = mIn.Byte();
            FuzzWidget* self = Pick(mIn.Byte());
            Act(self, action, mIn.Byte());
            break;
        }
        }
        Check();
    }

    FuzzBytes& mIn;
    FakeWidgetHost host;
    WidgetManager manager;
    // Updated and drawn after the tree; it never acts.
    FuzzWidget cursor;
    MemoryImage screen;
    std::vector<FuzzWidget*> widgets;
    // Handed to the deferred deletion, not yet deleted.
    std::vector<Widget*> pending;
    std::vector<Widget*> deleted;
    int depth = 0;
    ControlListener controlListener;
    uint8_t controlAction[kControlEventCount] = {};
    uint8_t controlTarget[kControlEventCount] = {};
    uint8_t controlValue[kControlEventCount] = {};
    MemoryImage track;
    MemoryImage thumb;
    ButtonWidget button{100, &controlListener};
    Slider slider{&track, &thumb, 101, &controlListener};
    ScrollbarWidget bar{&controlListener};
};

void ControlListener::Act(ControlEvent event)
{
    mScene.ControlAct(event);
}

void FuzzWidget::Update()
{
    Widget::Update();
    React(kUpdate);
}

void FuzzWidget::React(Event event)
{
    if (mIndex >= 0)
        mScene.Act(this, action[event], target[event]);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const bool withControls = size > 0 && data[0] == kControlsMark;
    FuzzBytes in(withControls ? data + 1 : data, withControls ? size - 1 : size);
    Scene scene(in, withControls);
    for (int call = 0; call < kMaxCalls && !in.Empty(); ++call)
        scene.Step();
    return 0;
}
