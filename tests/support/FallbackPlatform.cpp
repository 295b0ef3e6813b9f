#include "tests/support/FallbackPlatform.h"

#include "platform/headless/HeadlessPlatform.h"

namespace TandryTest {

std::unique_ptr<Platform::ServiceBundle> MakeFallbackPlatform()
{
    return std::make_unique<Platform::HeadlessPlatform>();
}

namespace {

// Set before main, so that tests and fuzz targets never see a missing platform.
const bool gFallbackSet = [] {
    Platform::SetFallbackPlatformFactory(&MakeFallbackPlatform);
    return true;
}();

} // namespace

} // namespace TandryTest
