// Shared pieces of the control tests: a listener of every control interface
// that logs each call ("click 7 0", "scroll 3 80") and runs a test's reaction
// after a call of a given kind, so callbacks can change the tree; the box
// text service installed for the test's lifetime, so label pixels are exact;
// and whole-picture comparison of two images.
#pragma once

#include "graphics/image/MemoryImage.h"
#include "platform/fonts/BoxTextService.h"
#include "platform/fonts/TextService.h"
#include "widgets/ButtonListener.h"
#include "widgets/CheckboxListener.h"
#include "widgets/ScrollListener.h"
#include "widgets/SliderListener.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace WidgetTest {

class RecordingListener : public Tandry::ButtonListener,
                          public Tandry::CheckboxListener,
                          public Tandry::SliderListener,
                          public Tandry::ScrollListener {
public:
    // The mouse-button forms log and then fall back on the plain ones, as
    // the defaults do.
    void OnButtonDown(int id, int button) override
    {
        Note("down " + std::to_string(id) + " " + std::to_string(button));
        ButtonListener::OnButtonDown(id, button);
        React("down2");
    }
    void OnButtonDown(int id) override
    {
        Note("down " + std::to_string(id));
        React("down");
    }
    void OnButtonClick(int id, int button) override
    {
        Note("click " + std::to_string(id) + " " + std::to_string(button));
        ButtonListener::OnButtonClick(id, button);
        React("click2");
    }
    void OnButtonClick(int id) override
    {
        Note("click " + std::to_string(id));
        React("click");
    }
    void OnButtonHeld(int id) override
    {
        Note("held " + std::to_string(id));
        React("held");
    }
    void OnButtonHoverEnter(int id) override
    {
        Note("enter " + std::to_string(id));
        React("enter");
    }
    void OnButtonHoverLeave(int id) override
    {
        Note("leave " + std::to_string(id));
        React("leave");
    }
    void OnButtonHoverMove(int id, int x, int y) override
    {
        Note("move " + std::to_string(id) + " " + std::to_string(x) + "," + std::to_string(y));
        React("move");
    }
    void CheckboxChecked(int id, bool checked) override
    {
        Note("checked " + std::to_string(id) + " " + (checked ? "1" : "0"));
        React("checked");
    }
    void SliderValueChanged(int id, double value) override
    {
        Note("slider " + std::to_string(id) + " " + Number(value));
        React("slider");
    }
    void ScrollPosition(int id, double position) override
    {
        Note("scroll " + std::to_string(id) + " " + Number(position));
        React("scroll");
    }

    // The log since the last call.
    std::vector<std::string> Take()
    {
        std::vector<std::string> taken;
        taken.swap(log);
        return taken;
    }

    std::vector<std::string> log;
    std::map<std::string, std::function<void()>> on;

private:
    static std::string Number(double value)
    {
        std::ostringstream out;
        out << value;
        return out.str();
    }
    void Note(const std::string& entry) { log.push_back(entry); }
    void React(const std::string& kind)
    {
        const auto it = on.find(kind);
        if (it != on.end() && it->second)
            it->second();
    }
};

// The box rasterizer as the text service while it lives.
class BoxFonts {
public:
    BoxFonts() { Platform::InstallTextService(std::make_unique<Platform::BoxTextService>()); }
    ~BoxFonts() { Platform::ResetTextService(); }
    BoxFonts(const BoxFonts&) = delete;
    BoxFonts& operator=(const BoxFonts&) = delete;
};

// A picture of one colour.
inline void FillImage(Tandry::MemoryImage& image, int w, int h, uint32_t argb)
{
    image.Create(w, h);
    uint32_t* bits = image.GetBits();
    for (int i = 0; i < w * h; ++i)
        bits[i] = argb;
}

// The first differing pixel as "x,y: got vs want", or empty when equal.
inline std::string FirstDifference(Tandry::MemoryImage& got, Tandry::MemoryImage& want)
{
    if (got.mWidth != want.mWidth || got.mHeight != want.mHeight)
        return "sizes differ";
    for (int y = 0; y < got.mHeight; ++y) {
        for (int x = 0; x < got.mWidth; ++x) {
            const uint32_t a = got.GetPixel(x, y);
            const uint32_t b = want.GetPixel(x, y);
            if (a != b) {
                std::ostringstream out;
                out << x << "," << y << ": " << std::hex << a << " vs " << b;
                return out.str();
            }
        }
    }
    return {};
}

} // namespace WidgetTest
