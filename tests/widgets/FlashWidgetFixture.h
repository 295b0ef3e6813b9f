// What the FlashWidget tests share: a headless platform (its clock is movie
// time), a fake widget host with a widget manager, a scripted control
// factory over a script book, and a listener that records its events.
#pragma once

#include "platform/flash/FlashControlFactory.h"
#include "platform/flash/ScriptedFlashControl.h"
#include "platform/headless/HeadlessPlatform.h"
#include "widgets/FakeWidgetHost.h"
#include "widgets/FlashListener.h"
#include "widgets/FlashWidget.h"
#include "widgets/WidgetManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace WidgetTest {

using Strings = std::vector<std::string>;

class RecordingFlashListener : public Tandry::FlashListener {
public:
    void OnMovieStopped(int id) override { log.push_back("stopped " + std::to_string(id)); }
    void OnFlashCommand(int id, const std::string& command, const std::string& arguments) override
    {
        log.push_back("command " + std::to_string(id) + " " + command + "|" + arguments);
    }
    Strings Take()
    {
        Strings taken;
        taken.swap(log);
        return taken;
    }

    Strings log;
};

class FlashWidgetTest : public ::testing::Test {
protected:
    FlashWidgetTest()
    {
        platform = &Platform::InstallHeadlessPlatform();
        host.widgetManager = &manager;
        manager.width = 1024;
        manager.height = 768;
        Platform::SetFlashControlFactory(
            [book = book] { return std::make_unique<Platform::ScriptedFlashControl>(book); });
    }
    ~FlashWidgetTest() override
    {
        for (auto& widget : widgets) {
            if (widget->parent != nullptr)
                widget->parent->RemoveWidget(widget.get());
        }
        widgets.clear();
        Platform::ResetFlashControlFactory();
        Platform::ResetPlatform();
    }

    // A widget with id 7 listening to the fixture's listener, sized and,
    // when added, in the manager.
    Tandry::FlashWidget& Make(int x, int y, int width, int height, bool add = true)
    {
        widgets.push_back(std::make_unique<Tandry::FlashWidget>(&listener));
        Tandry::FlashWidget& widget = *widgets.back();
        widget.id = 7;
        widget.Resize(x, y, width, height);
        if (add)
            manager.AddWidget(&widget);
        return widget;
    }
    void Advance(uint32_t ms) { platform->Clock().Advance(ms); }
    // The control's calls since the last Take, without the IsPlaying and
    // GetCursor questions that every update and mouse event asks.
    Strings Calls()
    {
        Strings calls = book->Take();
        calls.erase(std::remove_if(calls.begin(), calls.end(),
                                   [](const std::string& c) { return c == "IsPlaying" || c == "GetCursor"; }),
                    calls.end());
        return calls;
    }

    Platform::HeadlessPlatform* platform = nullptr;
    Tandry::FakeWidgetHost host;
    Tandry::WidgetManager manager{&host};
    std::shared_ptr<Platform::FlashScriptBook> book = std::make_shared<Platform::FlashScriptBook>();
    RecordingFlashListener listener;
    std::vector<std::unique_ptr<Tandry::FlashWidget>> widgets;
};

} // namespace WidgetTest
