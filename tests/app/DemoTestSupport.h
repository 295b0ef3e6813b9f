// What the demo tests share: the loop fixture with the program's demo seam
// and a widget manager that logs its input, and a stream written event by
// event with the codec, to be played by the application.
#pragma once

#include "LoopTestSupport.h"

#include "app/DemoEventCodec.h"
#include "app/DemoStreamSeam.h"

namespace LoopTest {

class DemoFixture : public LoopFixture {
protected:
    void SetUp() override;

    // A new application of the fixture's kind, with the real seam.
    void RemakeApp(std::unique_ptr<LoopApp> app);
    // Opens the window, then hands the written stream to the application as
    // a played demo's.
    void Play();
    // What the loop does for one update: the replay, then the update.
    void Step();
    void StepTo(int updateCount, int limit = 1000);

    InputLogWidgetManager& Inputs();
    Tandry::DemoStreamSeam& DemoSeam();

    Tandry::DemoStreamFields mStream;
    Tandry::DemoEventCodec mWriter{mStream.State()};
};

} // namespace LoopTest
