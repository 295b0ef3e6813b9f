// Shared set-up of the window tests: a headless platform with the two window
// classes of the application, a window procedure that records what it is
// sent, and a pump that drains the queue into a list of records.
#pragma once

#include "platform/headless/HeadlessPlatform.h"
#include "platform/window/WindowMessages.h"

#include <string>
#include <vector>

namespace WindowTestSupport {

// Everything the recording procedure received, in order.
std::vector<Platform::WindowMessage>& Sent();
intptr_t RecordingProc(Platform::WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);

// Events as SDL would deliver them.
Platform::InputEvent Key(uint32_t vk, bool down, bool repeat = false);
// The AltGr key, which SDL reports as its mode key or as a right Alt that the layout types with.
Platform::InputEvent AltGr(bool down);
Platform::InputEvent Text(const std::string& utf8);
Platform::InputEvent Button(Platform::MouseButton button, bool down, int clicks, int x, int y);
Platform::InputEvent Motion(int x, int y);
Platform::InputEvent Wheel(float notches, bool flipped = false);
Platform::InputEvent Window(Platform::InputEventKind kind);

struct Desktop {
    Desktop();
    ~Desktop();

    Platform::HeadlessPlatform& platform;
    Platform::HeadlessWindowSystem& windows;
    Platform::WindowHandle main = nullptr;

    // Creates the "MainWindow" window with a 1024 x 768 client area, shown, and drains the queue.
    Platform::WindowHandle CreateMain();
    // Takes every waiting record off the queue.
    std::vector<Platform::WindowMessage> Drain();
    void Inject(Platform::InputEvent event);
};

} // namespace WindowTestSupport
