#include "platform/sdl/AspectFit.h"

#include <gtest/gtest.h>

namespace {

using namespace Platform;

TEST(AspectFit, FillsTheAreaKeepingTheShapeWithBarsOnTheRest)
{
    const struct {
        int32_t width, height, intoWidth, intoHeight;
        FitRect fit;
    } cases[] = {
        {1024, 768, 1024, 768, {0, 0, 1024, 768}},
        {1024, 768, 2048, 1536, {0, 0, 2048, 1536}},
        {1024, 768, 1920, 1080, {240, 0, 1440, 1080}},
        {1024, 768, 1024, 1024, {0, 128, 1024, 768}},
        {512, 288, 1024, 768, {0, 96, 1024, 576}},
        {640, 480, 1366, 768, {171, 0, 1024, 768}},
        {1024, 768, 0, 768, {}},
        {0, 768, 1024, 768, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FitKeepingAspect(c.width, c.height, c.intoWidth, c.intoHeight), c.fit)
            << c.width << "x" << c.height << " into " << c.intoWidth << "x" << c.intoHeight;
}

TEST(AspectFit, PointsOfTheAreaMapBackToThePicture)
{
    const FitRect fit = FitKeepingAspect(1024, 768, 1920, 1080);
    const struct {
        WinPoint area;
        WinPoint picture;
    } cases[] = {
        {{240, 0}, {0, 0}},
        {{1679, 1079}, {1023, 767}},
        {{960, 540}, {512, 384}},
        {{239, 0}, {-1, 0}}, // on the left bar
        {{1680, 0}, {1024, 0}},
    };
    for (const auto& c : cases) {
        const WinPoint mapped = PointInFittedPicture(fit, 1024, 768, c.area);
        EXPECT_EQ(mapped, c.picture) << c.area.x << "," << c.area.y;
    }
}

} // namespace
