// What tests of the SDL back end need without including SDL: the dummy
// drivers, SDL events pushed into SDL's own queue (so they take the same way
// as real ones), the key table looked up by SDL key name, and the clipboard's
// UTF-8 as SDL holds it.
#pragma once

#include "platform/window/WindowTypes.h"

#include <cstdint>
#include <string>

namespace Platform::SdlTestSupport {

// Sets SDL_VIDEODRIVER and SDL_AUDIODRIVER to "dummy", so no display is needed.
void UseDummyDrivers();

// The virtual key of an SDL key name ("A", "Keypad +", "Right Alt"), 0 when unknown.
uint32_t VirtualKeyForKeyName(const char* keyName);

bool PushKey(WindowHandle window, const char* keyName, bool down, bool repeat = false);
bool PushText(WindowHandle window, const std::string& utf8);
// button: 1 left, 2 middle, 3 right (SDL's numbers).
bool PushMouseButton(WindowHandle window, int button, bool down, int clicks, int x, int y);
bool PushMouseMotion(WindowHandle window, int x, int y);
bool PushQuit();

std::string ReadClipboardUtf8();
bool WriteClipboardUtf8(const std::string& utf8);

} // namespace Platform::SdlTestSupport
