#include "platform/os/message_box.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "platform/os/messages.h"

namespace {

struct cAsked {
    int nCalls = 0;
    UINT uType = 0;
    std::string strText;
};
cAsked g_Asked;
int g_nAnswer = 0;
int ScriptAnswer(UINT type, const char* textUtf8)
{
    ++g_Asked.nCalls;
    g_Asked.uType = type;
    g_Asked.strText = textUtf8;
    return g_nAnswer;
}

int g_nPresenterAnswer = 0;
std::atomic<bool> g_bPresentedOnWindowThread{false};
int Presenter(HWND, const char*, const char*, UINT)
{
    g_bPresentedOnWindowThread = plat::IsWindowThread();
    return g_nPresenterAnswer;
}

// A yes/no box asked for on another thread while this thread, the window thread, serves the
// carried box inside its message calls; the answer, 0 when none came within the bound.
int AskFromAnotherThread()
{
    std::atomic<int> answer{0};
    std::thread worker([&answer] { answer = MessageBoxA(nullptr, "q", "c", MB_YESNO); });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    MSG msg{};
    while (answer == 0 && std::chrono::steady_clock::now() < deadline) PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    worker.join();
    return answer;
}

// Headless, as the tests run: no box can be shown, so the answers come from the script.
class MessageBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The test's thread is the window thread, whatever an earlier test marked.
        plat::SetWindowThread();
        plat::SetBoxesShownBySdl(false);
        g_Asked = cAsked();
        g_nAnswer = 0;
        g_nPresenterAnswer = 0;
    }
    void TearDown() override
    {
        plat::SetBoxAnswerSource(nullptr);
        plat::SetBoxPresenter(nullptr);
        plat::SetCarriedBoxesRefused(false);
    }
};

}  // namespace

TEST_F(MessageBoxTest, HeadlessBoxesTakeOkOrNo)
{
    struct Case { UINT type; int answer; } cases[] = {
        {MB_OK, IDOK},
        {MB_OK | MB_ICONERROR, IDOK},
        {MB_YESNO, IDNO},
        {MB_YESNO | MB_ICONQUESTION, IDNO},
    };
    for (const auto& c : cases) EXPECT_EQ(MessageBoxA(nullptr, "text", "caption", c.type), c.answer) << c.type;
}

TEST_F(MessageBoxTest, TheScriptAnswersWithOnlyOkYesOrNo)
{
    plat::SetBoxAnswerSource(ScriptAnswer);
    struct Case { UINT type; int scripted; int answer; } cases[] = {
        {MB_YESNO, IDYES, IDYES},
        {MB_YESNO, IDNO, IDNO},
        {MB_YESNO, 0, IDNO},        // no answer: the default
        {MB_YESNO, 2, IDNO},        // not an answer a yes/no box can give
        {MB_YESNO | MB_ICONQUESTION, IDYES, IDYES},
        {MB_OK, IDYES, IDOK},
        {MB_OK, 0, IDOK},
        {MB_OK, -1, IDOK},
    };
    for (const auto& c : cases) {
        g_nAnswer = c.scripted;
        EXPECT_EQ(MessageBoxA(nullptr, "q", "c", c.type), c.answer) << c.type << " " << c.scripted;
        EXPECT_EQ(g_Asked.uType, c.type);
    }
    EXPECT_EQ(g_Asked.nCalls, int(std::size(cases)));
}

TEST_F(MessageBoxTest, TheBoxTextGoesToStandardErrorAsUtf8)
{
    plat::SetBoxAnswerSource(ScriptAnswer);
    testing::internal::CaptureStderr();
    MessageBoxA(nullptr, "既に起動しています。", "二重起動", MB_YESNO);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find(u8"既に起動しています。"), std::string::npos) << err;
    EXPECT_NE(err.find(u8"二重起動"), std::string::npos) << err;
    EXPECT_EQ(g_Asked.strText, u8"既に起動しています。");
}

TEST_F(MessageBoxTest, MissingTextsAreShownEmpty)
{
    testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxA(nullptr, nullptr, nullptr, MB_OK), IDOK);
    testing::internal::GetCapturedStderr();
}

TEST_F(MessageBoxTest, APresenterIsAskedFirst)
{
    plat::SetBoxAnswerSource(ScriptAnswer);
    plat::SetBoxPresenter(Presenter);
    struct Case { int presented; int answer; int scriptCalls; } cases[] = {
        {IDYES, IDYES, 0},
        {IDNO, IDNO, 0},
        {5, IDNO, 0},       // folded into the answers the program knows
        {0, IDNO, 1},       // the presenter could not show it: as without a presenter
    };
    for (const auto& c : cases) {
        g_Asked = cAsked();
        g_nPresenterAnswer = c.presented;
        EXPECT_EQ(MessageBoxA(nullptr, "q", "c", MB_YESNO), c.answer) << c.presented;
        EXPECT_EQ(g_Asked.nCalls, c.scriptCalls) << c.presented;
    }
}

TEST_F(MessageBoxTest, ABoxFromAnotherThreadIsShownOnTheWindowThread)
{
    plat::SetWindowThread();
    plat::SetBoxPresenter(Presenter);
    g_nPresenterAnswer = IDYES;
    g_bPresentedOnWindowThread = false;
    EXPECT_EQ(AskFromAnotherThread(), IDYES);
    EXPECT_TRUE(g_bPresentedOnWindowThread);
}

TEST_F(MessageBoxTest, WhileClosingABoxOfAnotherThreadTakesItsDefaultAtOnce)
{
    // The window thread is busy ending the other threads: a box one of them asks for must not
    // wait for it, while a box of the window thread itself is still shown.
    struct Case { bool refused; bool onWindowThread; int answer; bool presented; } cases[] = {
        {false, false, IDYES, true},
        {true, false, IDNO, false},
        {true, true, IDYES, true},
        {false, true, IDYES, true},
    };
    static std::atomic<int> s_nPresented;
    plat::SetBoxPresenter([](HWND, const char*, const char*, UINT) {
        ++s_nPresented;
        return IDYES;
    });
    for (const auto& c : cases) {
        plat::SetCarriedBoxesRefused(c.refused);
        s_nPresented = 0;
        testing::internal::CaptureStderr();
        const int answer = c.onWindowThread ? MessageBoxA(nullptr, "q", "c", MB_YESNO) : AskFromAnotherThread();
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(answer, c.answer) << c.refused << c.onWindowThread;
        EXPECT_EQ(s_nPresented.load() == 1, c.presented) << c.refused << c.onWindowThread;
    }
}
