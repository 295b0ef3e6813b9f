// A widget for the tree and manager tests that writes every virtual call it
// receives, with its arguments, into a shared log ("A down 10,10 b0 c1"),
// and runs a test's reaction after the call of a given kind ("update",
// "enter", "lostfocus", ...), so that callbacks can change the tree. A tree
// fixture owns the widgets and takes them out of the manager before they go.
#pragma once

#include "graphics/context/Graphics.h"
#include "widgets/Widget.h"
#include "widgets/WidgetManager.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace WidgetTest {

using Log = std::vector<std::string>;

class RecordingWidget : public Tandry::Widget {
public:
    RecordingWidget(std::string widgetName, Log* sharedLog) : name(std::move(widgetName)), log(sharedLog) {}

    using Widget::MouseDown;
    using Widget::MouseUp;

    std::string name;
    Log* log;
    // Reactions by call kind, run after the call is logged.
    std::map<std::string, std::function<void()>> on;
    // Refuses hits where it returns false; null takes every point.
    std::function<bool(int, int)> hitTest;
    // The colour Draw fills the widget's rectangle with, when set.
    bool fills = false;
    Tandry::Color fillColor;
    // Logs "update" with the manager's update count.
    bool logUpdateCount = false;

    void Update() override
    {
        Widget::Update();
        Note(logUpdateCount && manager != nullptr ? "update " + std::to_string(manager->updateCount) : "update");
        React("update");
    }
    void Draw(Tandry::Graphics* g) override
    {
        Note("draw");
        if (fills) {
            g->SetColor(fillColor);
            g->FillRect(0, 0, width, height);
        }
        React("draw");
    }
    void DrawDeferredOverlay(Tandry::Graphics*, int overlayPriority) override
    {
        Note("overlay " + std::to_string(overlayPriority));
    }
    void ZOrderChanged() override { Note("zorder"); }
    void GotFocus() override
    {
        Widget::GotFocus();
        Note("gotfocus");
        React("gotfocus");
    }
    void LostFocus() override
    {
        Widget::LostFocus();
        Note("lostfocus");
        React("lostfocus");
    }
    void KeyChar(wchar_t ch) override
    {
        Note("char " + std::to_string(static_cast<int>(ch)));
        React("char");
    }
    void KeyDown(int key) override
    {
        Note("keydown " + std::to_string(key));
        Widget::KeyDown(key);
        React("keydown");
    }
    void KeyUp(int key) override
    {
        Note("keyup " + std::to_string(key));
        React("keyup");
    }
    void MouseEnter() override
    {
        Note("enter");
        React("enter");
    }
    void MouseLeave() override
    {
        Note("leave");
        React("leave");
    }
    void MouseMove(int mx, int my) override
    {
        Note("move " + Point(mx, my));
        React("move");
    }
    void MouseDown(int mx, int my, int button, int clickCount) override
    {
        Note("down " + Point(mx, my) + " b" + std::to_string(button) + " c" + std::to_string(clickCount));
        React("down");
    }
    void MouseUp(int mx, int my, int button, int clickCount) override
    {
        Note("up " + Point(mx, my) + " b" + std::to_string(button) + " c" + std::to_string(clickCount));
        React("up");
    }
    void MouseDrag(int mx, int my) override
    {
        Note("drag " + Point(mx, my));
        React("drag");
    }
    void MouseWheel(int delta) override
    {
        Note("wheel " + std::to_string(delta));
        React("wheel");
    }
    bool HitTestPoint(int localX, int localY) override { return !hitTest || hitTest(localX, localY); }

private:
    static std::string Point(int px, int py) { return std::to_string(px) + "," + std::to_string(py); }
    void Note(const std::string& entry)
    {
        if (log != nullptr)
            log->push_back(name + " " + entry);
    }
    void React(const std::string& kind)
    {
        const auto it = on.find(kind);
        if (it != on.end() && it->second)
            it->second();
    }
};

// A manager, the widgets of a test and one log. The widgets leave the tree
// before they are deleted, as the application's deferred deletion requires.
class Tree {
public:
    explicit Tree(Tandry::WidgetHost* host = nullptr) : manager(host)
    {
        manager.width = 1024;
        manager.height = 768;
    }
    ~Tree()
    {
        manager.RemoveAllWidgets(false, true);
        for (auto& widget : widgets) {
            if (widget->parent != nullptr)
                widget->parent->RemoveWidget(widget.get());
            widget->RemoveAllWidgets(false, false);
        }
    }
    Tree(const Tree&) = delete;
    Tree& operator=(const Tree&) = delete;

    // A widget at (x, y, width, height), added to parent (the manager when null).
    RecordingWidget& Add(const std::string& name, int wx, int wy, int ww, int wh,
                         Tandry::WidgetContainer* parent = nullptr, int order = 0)
    {
        RecordingWidget& widget = Make(name, wx, wy, ww, wh);
        widget.zOrder = order;
        (parent != nullptr ? parent : &manager)->AddWidget(&widget);
        return widget;
    }
    // Not added anywhere.
    RecordingWidget& Make(const std::string& name, int wx, int wy, int ww, int wh)
    {
        widgets.push_back(std::make_unique<RecordingWidget>(name, &log));
        RecordingWidget& widget = *widgets.back();
        widget.Resize(wx, wy, ww, wh);
        return widget;
    }
    // The log since the last call.
    Log Take()
    {
        Log taken;
        taken.swap(log);
        return taken;
    }

    Log log;
    Tandry::WidgetManager manager;
    std::vector<std::unique_ptr<RecordingWidget>> widgets;
};

} // namespace WidgetTest
