#include "platform/sdl/SdlAudioOutput.h"
#include "platform/sdl/SdlTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

using namespace Platform;

class SilentSource : public AudioSource {
public:
    void Render(int16_t* samples, uint32_t frames) override
    {
        for (uint32_t i = 0; i < frames * 2; ++i)
            samples[i] = 0;
        calls.fetch_add(1);
    }
    std::atomic<int> calls{0};
};

TEST(SdlAudioOutput, OpensAndClosesUnderTheDummyDriver)
{
    SdlTestSupport::UseDummyDrivers();
    SdlAudioOutput output;
    SilentSource source;
    std::string error;
    ASSERT_TRUE(output.Open(source, error)) << error;
    EXPECT_TRUE(output.IsOpen());
    EXPECT_FALSE(output.Open(source, error));
    // The device's thread pulls on its own; wait for it, within bounds.
    for (int i = 0; i < 500 && source.calls.load() == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_GT(source.calls.load(), 0);
    output.Close();
    EXPECT_FALSE(output.IsOpen());
    const int after = source.calls.load();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(source.calls.load(), after);
    ASSERT_TRUE(output.Open(source, error)) << error;
    output.Close();
}

} // namespace
