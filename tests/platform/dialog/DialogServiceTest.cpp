#include "platform/headless/HeadlessDialogs.h"

#include <gtest/gtest.h>

using namespace Platform;

namespace {

TEST(DialogService, ScriptedAnswersComeInOrderAndEveryBoxIsRecorded)
{
    HeadlessDialogs dialogs;
    auto owner = reinterpret_cast<WindowHandle>(0x1234);
    dialogs.ScriptBox(IDYES);
    dialogs.ScriptBox(IDNO);
    EXPECT_EQ(dialogs.MessageBoxW(owner, L"Keep it?", L"Hardware", MB_YESNO | MB_ICONQUESTION), IDYES);
    EXPECT_EQ(dialogs.MessageBoxA(nullptr, "caf\xE9", "\x80 sign", MB_YESNO), IDNO);
    auto boxes = dialogs.GetBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].owner, owner);
    EXPECT_EQ(boxes[0].caption, L"Hardware");
    EXPECT_EQ(boxes[0].flags, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(boxes[1].text, L"caf\u00e9");
    EXPECT_EQ(boxes[1].caption, L"\u20ac sign");
}

TEST(DialogService, UnscriptedBoxesGiveWhatClosingGives)
{
    HeadlessDialogs dialogs;
    EXPECT_EQ(dialogs.MessageBoxW(nullptr, L"x", L"y", MB_YESNO | MB_ICONWARNING), IDNO);
    EXPECT_EQ(dialogs.MessageBoxW(nullptr, L"x", L"y", MB_OK | MB_ICONERROR), IDOK);
}

TEST(DialogService, PromptsAnswerFromTheirScriptsThenCancel)
{
    HeadlessDialogs dialogs;
    dialogs.ScriptText(std::string("1:30"));
    dialogs.ScriptChoice(2);
    EXPECT_EQ(dialogs.PromptText(nullptr, "Jump To Time", "0:10"), "1:30");
    EXPECT_EQ(dialogs.PromptChoice(nullptr, "Marker List", {"a", "b", "c"}), 2);
    EXPECT_EQ(dialogs.PromptText(nullptr, "Jump To Time", ""), std::nullopt);
    EXPECT_EQ(dialogs.PromptChoice(nullptr, "Marker List", {"a"}), std::nullopt);
    auto prompts = dialogs.GetPrompts();
    ASSERT_EQ(prompts.size(), 4u);
    EXPECT_EQ(prompts[0].defaultText, "0:10");
    EXPECT_EQ(prompts[1].lines, (std::vector<std::string>{"a", "b", "c"}));
}

} // namespace
