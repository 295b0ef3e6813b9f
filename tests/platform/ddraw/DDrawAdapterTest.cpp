// What the DirectDraw object tells of the adapter: its driver, description and
// identity, and the video memory, all settings, with the program file as the
// default driver.
#include "platform/ddraw/DDrawTestSupport.h"
#include "platform/headless/HeadlessPlatform.h"
#include "platform/window/WindowTestSupport.h"

#include <string>

namespace {

using namespace DDrawTest;

using DDrawAdapterTest = DDrawFixture;

TEST_F(DDrawAdapterTest, TheIdentifierComesFromTheSettingsAndTheProgramFile)
{
    WindowTestSupport::Desktop desktop;
    desktop.platform.Process().SetProgramPath("/opt/moorglen/bin/moorglen");
    DirectDraw7 dd;
    DDDEVICEIDENTIFIER2 identifier;
    ASSERT_EQ(dd->GetDeviceIdentifier(&identifier, 0), DD_OK);
    EXPECT_STREQ(identifier.szDriver, "/opt/moorglen/bin/moorglen");
    EXPECT_STREQ(identifier.szDescription, "Software 3D device");
    EXPECT_EQ(identifier.guidDeviceIdentifier, DDrawSettings{}.deviceGuid);
    EXPECT_NE(identifier.guidDeviceIdentifier, DEVICEGUID{});

    ChangeSettings([](DDrawSettings& s) {
        s.driverName = std::string(600, 'd'); // longer than the record holds
        s.deviceDescription = "RADEON 9600";
        s.deviceGuid = DEVICEGUID{1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
    });
    ASSERT_EQ(dd->GetDeviceIdentifier(&identifier, 0), DD_OK);
    EXPECT_EQ(std::string(identifier.szDriver), std::string(DDDEVICEIDENTIFIER2::kTextSize - 1, 'd'));
    EXPECT_STREQ(identifier.szDescription, "RADEON 9600");
    EXPECT_EQ(identifier.guidDeviceIdentifier, (DEVICEGUID{1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}}));
    EXPECT_EQ(dd->GetDeviceIdentifier(&identifier, 1), DDERR_INVALIDPARAMS);
    EXPECT_EQ(dd->GetDeviceIdentifier(nullptr, 0), DDERR_INVALIDPARAMS);

    DDrawRuntime::Get().InjectFailure(DDrawFault(DDrawOp::GetDeviceIdentifier, DDERR_NODIRECTDRAWHW));
    EXPECT_EQ(dd->GetDeviceIdentifier(&identifier, 0), DDERR_NODIRECTDRAWHW);
    EXPECT_EQ(dd->GetDeviceIdentifier(&identifier, 0), DD_OK);
}

TEST_F(DDrawAdapterTest, VideoMemoryComesFromTheSettings)
{
    DirectDraw7 dd;
    DDSCAPS2 caps;
    caps.dwCaps = DDSCAPS_VIDEOMEMORY;
    uint32_t total = 0;
    uint32_t free = 0;
    ASSERT_EQ(dd->GetAvailableVidMem(&caps, &total, &free), DD_OK);
    EXPECT_EQ(total, 256u << 20);
    EXPECT_EQ(free, 192u << 20);
    ChangeSettings([](DDrawSettings& s) {
        s.videoMemoryTotal = 4u << 20;
        s.videoMemoryFree = 1u << 20;
    });
    ASSERT_EQ(dd->GetAvailableVidMem(&caps, &total, nullptr), DD_OK);
    EXPECT_EQ(total, 4u << 20);
    ASSERT_EQ(dd->GetAvailableVidMem(&caps, nullptr, &free), DD_OK);
    EXPECT_EQ(free, 1u << 20);
    EXPECT_EQ(dd->GetAvailableVidMem(nullptr, &total, &free), DDERR_INVALIDPARAMS);

    DDrawRuntime::Get().InjectFailure(DDrawFault(DDrawOp::GetAvailableVidMem, DDERR_NODIRECTDRAWHW));
    total = 7;
    EXPECT_EQ(dd->GetAvailableVidMem(&caps, &total, &free), DDERR_NODIRECTDRAWHW);
    EXPECT_EQ(total, 7u);
    const std::vector<DDrawCall> log = DDrawRuntime::Get().GetCallLog();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back().op, DDrawOp::GetAvailableVidMem);
    EXPECT_EQ(log.back().caps, DDSCAPS_VIDEOMEMORY);
    EXPECT_STREQ(DDrawOpName(DDrawOp::GetAvailableVidMem), "GetAvailableVidMem");
}

} // namespace
