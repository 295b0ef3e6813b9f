#include "platform/ddraw/DDrawEntryPoints.h"

#include "platform/ddraw/DDrawTestSupport.h"
#include "platform/ddraw/DirectDrawObject.h"

namespace {

using namespace Platform;
using namespace DDrawTest;

class DDrawEntryPointsTest : public DDrawFixture {};

TEST_F(DDrawEntryPointsTest, LookupByNameGivesCallableEntryPoints)
{
    const auto create = reinterpret_cast<DirectDrawCreateProc>(GetDDrawProcAddress("DirectDrawCreate"));
    const auto createEx = reinterpret_cast<DirectDrawCreateExProc>(GetDDrawProcAddress("DirectDrawCreateEx"));
    ASSERT_NE(create, nullptr);
    ASSERT_NE(createEx, nullptr);
    EXPECT_EQ(GetDDrawProcAddress("DirectDrawEnumerateA"), nullptr);
    EXPECT_EQ(GetDDrawProcAddress(nullptr), nullptr);

    IDirectDraw* first = nullptr;
    ASSERT_EQ(create(nullptr, &first, nullptr), DD_OK);
    void* seventh = nullptr;
    ASSERT_EQ(createEx(nullptr, &seventh, IID_IDirectDraw7, nullptr), DD_OK);
    // Two calls, two objects.
    EXPECT_NE(DirectDrawObject::From(first), DirectDrawObject::From(static_cast<IDirectDraw7*>(seventh)));
    EXPECT_EQ(DDrawRuntime::Get().LiveCount(DDrawObjectKind::DirectDraw), 2u);
    first->Release();
    static_cast<IDirectDraw7*>(seventh)->Release();
}

TEST_F(DDrawEntryPointsTest, TheSettingRemovesOnlyTheVersion7EntryPoint)
{
    DDrawSettings settings;
    settings.hasDirectDrawCreateEx = false;
    DDrawRuntime::Get().SetSettings(settings);
    EXPECT_EQ(GetDDrawProcAddress("DirectDrawCreateEx"), nullptr);
    EXPECT_NE(GetDDrawProcAddress("DirectDrawCreate"), nullptr);
    DDrawRuntime::Get().Reset();
    EXPECT_NE(GetDDrawProcAddress("DirectDrawCreateEx"), nullptr);
}

TEST_F(DDrawEntryPointsTest, RefusedArguments)
{
    GUID device{42};
    IDirectDraw* first = reinterpret_cast<IDirectDraw*>(&device);
    EXPECT_EQ(DirectDrawCreate(&device, &first, nullptr), DDERR_INVALIDDIRECTDRAWGUID);
    EXPECT_EQ(first, nullptr);
    EXPECT_EQ(DirectDrawCreate(nullptr, nullptr, nullptr), DDERR_INVALIDPARAMS);
    IDirectDraw* outer = nullptr;
    ASSERT_EQ(DirectDrawCreate(nullptr, &outer, nullptr), DD_OK);
    EXPECT_EQ(DirectDrawCreate(nullptr, &first, outer), DDERR_INVALIDPARAMS);
    void* out = nullptr;
    EXPECT_EQ(DirectDrawCreateEx(nullptr, &out, IID_IDirectDraw, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(DirectDrawCreateEx(&device, &out, IID_IDirectDraw7, nullptr), DDERR_INVALIDDIRECTDRAWGUID);
    EXPECT_EQ(out, nullptr);
    outer->Release();
    EXPECT_EQ(DDrawRuntime::Get().LiveCount(DDrawObjectKind::DirectDraw), 0u);
}

} // namespace
