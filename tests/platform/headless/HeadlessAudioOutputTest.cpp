#include "platform/headless/HeadlessPlatform.h"

#include <gtest/gtest.h>

namespace {

using namespace Platform;

// Counts frames and writes each frame's number on both channels.
class CountingSource : public AudioSource {
public:
    void Render(int16_t* samples, uint32_t frames) override
    {
        for (uint32_t i = 0; i < frames; ++i) {
            samples[i * 2] = static_cast<int16_t>(total + i);
            samples[i * 2 + 1] = static_cast<int16_t>(-static_cast<int32_t>(total + i));
        }
        total += frames;
    }
    uint32_t total = 0;
};

TEST(HeadlessAudioOutput, PulledFramesComeOnlyFromRenderAndSilenceWhileClosed)
{
    HeadlessPlatform platform;
    HeadlessAudioOutput& output = platform.Audio();
    EXPECT_EQ(output.Render(2), std::vector<int16_t>(4, 0));
    CountingSource source;
    std::string error;
    ASSERT_TRUE(output.Open(source, error));
    platform.Clock().Advance(1000);
    EXPECT_EQ(source.total, 0u);
    EXPECT_EQ(output.Render(3), (std::vector<int16_t>{0, 0, 1, -1, 2, -2}));
    EXPECT_FALSE(output.Open(source, error));
    output.Close();
    EXPECT_EQ(output.Render(1), std::vector<int16_t>(2, 0));
    EXPECT_EQ(source.total, 3u);
}

TEST(HeadlessAudioOutput, TheClockDrivenModeRenders44Point1FramesPerMillisecondKeepingTheRest)
{
    HeadlessPlatform platform;
    HeadlessAudioOutput& output = platform.Audio();
    output.SetMode(HeadlessAudioOutput::Mode::ClockDriven);
    CountingSource source;
    std::string error;
    ASSERT_TRUE(output.Open(source, error));
    const struct {
        uint32_t milliseconds;
        uint32_t total;
    } steps[] = {{1, 44}, {1, 88}, {8, 441}, {3, 573}, {7, 882}, {1000, 44982}};
    for (const auto& step : steps) {
        platform.Clock().Advance(step.milliseconds);
        EXPECT_EQ(source.total, step.total) << step.milliseconds;
    }
    platform.Clock().Sleep(10); // a sleep of the clock's thread moves time too
    EXPECT_EQ(source.total, 45423u);
    EXPECT_EQ(output.TakeCapture().size(), 45423u * 2);
    EXPECT_TRUE(output.TakeCapture().empty());
    output.Close();
    platform.Clock().Advance(10);
    EXPECT_EQ(source.total, 45423u);
}

TEST(HeadlessAudioOutput, AMissingDeviceFailsToOpen)
{
    HeadlessPlatform platform;
    platform.Audio().SetDeviceMissing(true);
    CountingSource source;
    std::string error;
    EXPECT_FALSE(platform.Audio().Open(source, error));
    EXPECT_EQ(error, "no sound device");
    EXPECT_FALSE(platform.Audio().IsOpen());
}

} // namespace
