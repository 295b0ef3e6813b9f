// An event sink and site for tests of the movie controls: it keeps every
// event as text ("150 next|1", "42 ?" for a non-string argument) and every
// invalidation, and answers the window context it is given.
#pragma once

#include "platform/flash/FlashControl.h"

#include <string>
#include <vector>

namespace TestSupport {

class RecordingFlashSink : public Platform::FlashEventSink, public Platform::FlashSite {
public:
    Platform::HRESULT Invoke(int32_t dispatchId, const std::vector<Platform::FlashArg>& args) override
    {
        std::string text = std::to_string(dispatchId);
        for (size_t i = 0; i < args.size(); ++i) {
            text += i == 0 ? " " : "|";
            if (args[i].kind != Platform::FlashArg::Kind::String) {
                text += "?";
                continue;
            }
            for (wchar_t c : args[i].text)
                text += static_cast<char>(c < 256 ? c : '?');
        }
        events.push_back(text);
        return Platform::FLASH_S_OK;
    }
    void InvalidateRect(const Platform::FlashRect* rect) override
    {
        invalidated.push_back(rect != nullptr ? std::to_string(rect->left) + "," + std::to_string(rect->top) + "," +
                                                    std::to_string(rect->right) + "," + std::to_string(rect->bottom)
                                              : std::string("all"));
    }
    void InvalidateRgn() override { invalidated.push_back("rgn"); }
    Platform::FlashRect GetWindowContext() override { return context; }

    // Events since the last call.
    std::vector<std::string> TakeEvents()
    {
        std::vector<std::string> recent(events.begin() + static_cast<std::ptrdiff_t>(taken), events.end());
        taken = events.size();
        return recent;
    }

    std::vector<std::string> events;
    std::vector<std::string> invalidated;
    Platform::FlashRect context;
    size_t taken = 0;
};

} // namespace TestSupport
