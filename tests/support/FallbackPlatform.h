// Test programs get a headless platform whenever a test uses a service
// without installing a platform first; the program itself has no such
// fallback. Linking FallbackPlatform.cpp into a test program sets it up.
#pragma once

#include "platform/Platform.h"

#include <memory>

namespace TandryTest {

// The fallback the test programs install: a headless platform with default options.
std::unique_ptr<Platform::ServiceBundle> MakeFallbackPlatform();

} // namespace TandryTest
