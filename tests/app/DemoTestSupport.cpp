#include "DemoTestSupport.h"

#include "app/AppFactories.h"

namespace LoopTest {

void DemoFixture::SetUp()
{
    LoopFixture::SetUp();
    Tandry::AppFactories& factories = Tandry::GetAppFactories();
    factories.widgetManager = [](Tandry::TandryAppBase* app) { return new InputLogWidgetManager(app); };
    factories.demoSeam = [](Tandry::TandryAppBase* app) { return std::make_unique<Tandry::DemoStreamSeam>(*app); };
    RemakeApp(std::make_unique<LoopApp>());
}

void DemoFixture::RemakeApp(std::unique_ptr<LoopApp> app)
{
    mApp.reset();
    mApp = std::move(app);
    mApp->mPrimaryThreadId = mPlatform->Threads().GetCurrentThreadId();
    Inputs().updateCount = &mApp->mUpdateCount;
}

void DemoFixture::Play()
{
    // The window first: its creation reads settings, which are not part of the stream.
    OpenWindow();
    const Tandry::Buffer& written = mStream.buffer;
    mApp->mDemoBuffer.Clear();
    if (written.GetByteSize() > 0)
        mApp->mDemoBuffer.PutBytes(written.GetData(), written.GetByteSize());
    mApp->mDemoBuffer.SetReadBitPos(0);
    mApp->mPlayingDemo = true;
    Inputs().calls.clear();
}

void DemoFixture::Step()
{
    mApp->ReplayDemoInput();
    mApp->DoUpdateFrames();
}

void DemoFixture::StepTo(int updateCount, int limit)
{
    for (int i = 0; i < limit && mApp->mUpdateCount < updateCount; ++i)
        Step();
    ASSERT_EQ(mApp->mUpdateCount, updateCount);
}

InputLogWidgetManager& DemoFixture::Inputs()
{
    return *static_cast<InputLogWidgetManager*>(mApp->mWidgetManager);
}

Tandry::DemoStreamSeam& DemoFixture::DemoSeam()
{
    return static_cast<Tandry::DemoStreamSeam&>(mApp->GetDemoSeam());
}

} // namespace LoopTest
