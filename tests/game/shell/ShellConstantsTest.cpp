#include "game/shell/ShellConstants.h"

#include "resources/ini/GameIni.h"

#include <gtest/gtest.h>

namespace {

using Tandry::Color;

TEST(ShellConstants, PackedColoursTakeAlphaFromTheTopByte)
{
    EXPECT_EQ(Color(0xFF2B0E00u), Color(43, 14, 0, 255));
    EXPECT_EQ(Tandry::UiDarkColor, Color(43, 14, 0, 255));
    EXPECT_EQ(Tandry::UiLightColor, Color(255, 243, 152, 255));
    EXPECT_EQ(Tandry::UiWhiteColor, Color(255, 255, 255, 255));
    EXPECT_EQ(Tandry::UiEditorRedColor, Color(242, 34, 34, 255));
    EXPECT_EQ(Tandry::UiHalfLightGreyColor, Color(153, 153, 153, 128));
    EXPECT_EQ(Tandry::UiHalfDarkGreyColor, Color(85, 85, 85, 128));
    EXPECT_EQ(Color(0x80999999u).alpha, 128);
}

TEST(ShellConstants, AnUnloadedGameIniAnswersTheDefault)
{
    Tandry::ResetGameIni();
    EXPECT_EQ(Tandry::GetGameSettingInt("HintTime", "Game", -1, 120), 120);
}

} // namespace
