#include "platform/harness/harness_script.h"

#include <gtest/gtest.h>

#include "platform/input/keyboard.h"
#include "platform/os/message_box.h"

namespace {

TEST(HarnessScript, ReadsEveryCommandOfTheFormat)
{
    plat::cHarnessScript script;
    std::string error;
    ASSERT_TRUE(script.Parse("# a test run\n"
                             "clock virtual\n"
                             "eclog on   # trace\n"
                             "\n"
                             "keys 10 RIGHT z 0x1B\n"
                             "keys 30\n"
                             "close 120\r\n"
                             "dump 60 shot60.png\n"
                             "dump 60 again.png\n",
                             error))
        << error;
    EXPECT_TRUE(script.VirtualClock());
    ASSERT_TRUE(script.EcLog().has_value());
    EXPECT_TRUE(*script.EcLog());
    EXPECT_EQ(script.CloseFrame(), 120);

    ASSERT_NE(script.KeysFrom(10), nullptr);
    EXPECT_EQ(*script.KeysFrom(10), (std::vector<int>{VK_RIGHT, 'Z', VK_ESCAPE}));
    ASSERT_NE(script.KeysFrom(30), nullptr);
    EXPECT_TRUE(script.KeysFrom(30)->empty());
    EXPECT_EQ(script.KeysFrom(11), nullptr);

    EXPECT_EQ(script.DumpsAt(60), (std::vector<std::string>{"shot60.png", "again.png"}));
    EXPECT_TRUE(script.DumpsAt(61).empty());
}

TEST(HarnessScript, AnEmptyScriptChangesNothing)
{
    plat::cHarnessScript script;
    std::string error;
    ASSERT_TRUE(script.Parse("", error));
    EXPECT_FALSE(script.VirtualClock());
    EXPECT_FALSE(script.EcLog().has_value());
    EXPECT_EQ(script.CloseFrame(), 0);
    EXPECT_EQ(script.TakeBoxAnswer(), 0);
}

TEST(HarnessScript, RefusesABadLineAndNamesIt)
{
    struct Case { const char* text; const char* lineNumber; } cases[] = {
        {"jump 3\n", "line 1"},
        {"close 120\nclose\n", "line 2"},
        {"close 0\n", "line 1"},
        {"close -4\n", "line 1"},
        {"close 12x\n", "line 1"},
        {"keys\n", "line 1"},
        {"keys 5 NOSUCHKEY\n", "line 1"},
        {"box maybe\n", "line 1"},
        {"clock real\n", "line 1"},
        {"eclog yes\n", "line 1"},
        {"\n\ndump 4\n", "line 3"},
    };
    for (const auto& c : cases) {
        plat::cHarnessScript script;
        std::string error;
        EXPECT_FALSE(script.Parse(c.text, error)) << c.text;
        EXPECT_NE(error.find(c.lineNumber), std::string::npos) << c.text << " -> " << error;
    }
}

TEST(HarnessScript, AFailedReadKeepsThePreviousScript)
{
    plat::cHarnessScript script;
    std::string error;
    ASSERT_TRUE(script.Parse("close 7\nbox yes\n", error));
    EXPECT_FALSE(script.Parse("close 9\nnonsense\n", error));
    EXPECT_EQ(script.CloseFrame(), 7);
    EXPECT_EQ(script.TakeBoxAnswer(), IDYES);
}

TEST(HarnessScript, KeyNamesAndNumbers)
{
    struct Case { const char* name; int key; } cases[] = {
        {"A", 'A'}, {"a", 'A'}, {"7", '7'}, {"F1", 0x70}, {"f12", 0x7B}, {"F13", 0},
        {"LEFT", VK_LEFT}, {"up", VK_UP}, {"ESC", VK_ESCAPE}, {"ENTER", VK_RETURN},
        {"SPACE", VK_SPACE}, {"0x25", VK_LEFT}, {"65", 'A'}, {"0x100", 0}, {"", 0}, {"AB", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(plat::HarnessKeyFromName(c.name), c.key) << c.name;
}

TEST(HarnessScript, AnswersAreTakenInScriptOrder)
{
    plat::cHarnessScript script;
    std::string error;
    ASSERT_TRUE(script.Parse("box no\ndialog  ABC  def \nbox YES\nbox ok\ndialog\n", error)) << error;
    EXPECT_EQ(script.TakeBoxAnswer(), IDNO);
    EXPECT_EQ(script.TakeBoxAnswer(), IDYES);
    EXPECT_EQ(script.TakeBoxAnswer(), IDOK);
    EXPECT_EQ(script.TakeBoxAnswer(), 0);
    std::string answer;
    ASSERT_TRUE(script.TakeDialogAnswer(answer));
    EXPECT_EQ(answer, "ABC  def");
    ASSERT_TRUE(script.TakeDialogAnswer(answer));
    EXPECT_EQ(answer, "");
    EXPECT_FALSE(script.TakeDialogAnswer(answer));
}

TEST(HarnessScript, TheActiveScriptAnswersBoxesThatCannotBeShown)
{
    plat::SetBoxesShownBySdl(false);
    plat::cHarnessScript script;
    std::string error;
    ASSERT_TRUE(script.Parse("box yes\nbox no\n", error));
    plat::SetActiveHarness(&script);
    EXPECT_EQ(MessageBoxA(nullptr, "question", "caption", MB_YESNO), IDYES);
    EXPECT_EQ(MessageBoxA(nullptr, "question", "caption", MB_YESNO), IDNO);
    // Answers used up: the box takes its default.
    EXPECT_EQ(MessageBoxA(nullptr, "question", "caption", MB_YESNO), IDNO);
    plat::SetActiveHarness(nullptr);
}

}  // namespace
