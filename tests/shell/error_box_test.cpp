#include "shell/error_box.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/os/message_box.h"
#include "platform/os/messages.h"
#include "platform/os/text.h"
#include "shell/log.h"
#include "shell/shared_flags.h"

namespace {

struct cBoxSeen {
    HWND hOwner;
    std::string strText;      // CP932
    std::string strCaption;   // CP932
    UINT uType;
};
std::vector<cBoxSeen> g_Desktop;
std::vector<cBoxSeen> g_FullScreen;
bool g_bFullScreen = false;
bool g_bCloseBeforeBoxClosed = false;

int DesktopBox(HWND owner, const char* text, const char* caption, UINT type)
{
    g_Desktop.push_back({owner, text, caption, type});
    MSG msg{};
    g_bCloseBeforeBoxClosed = PeekMessageA(&msg, nullptr, WM_CLOSE, WM_CLOSE, PM_NOREMOVE) != 0;
    return IDOK;
}
bool IsFullScreen() { return g_bFullScreen; }
int FullScreenMesBox(const char* text, const char* caption, UINT type)
{
    g_FullScreen.push_back({nullptr, text, caption, type});
    return 1;
}

// Boxes are caught where the platform would draw them; the graphics layer's box is registered
// as it will be once it is up.
class ErrorBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_Desktop.clear();
        g_FullScreen.clear();
        g_bFullScreen = false;
        plat::SetBoxPresenter(DesktopBox);
        SetFullScreenBox(IsFullScreen, FullScreenMesBox);
    }
    void TearDown() override
    {
        plat::SetBoxPresenter(nullptr);
        SetFullScreenBox(nullptr, nullptr);
        plat::SetActiveWindow(nullptr);
        SetEcLogFile(0, "EC_Game.txt");
    }
};

}  // namespace

TEST_F(ErrorBoxTest, ErrorBoxIsAnOkBoxCaptionedErrorOwnedByTheActiveWindow)
{
    HWND active = reinterpret_cast<HWND>(0x4321);
    plat::SetActiveWindow(active);
    EXPECT_EQ(ErrorBox("読み込みに失敗しました"), IDOK);
    ASSERT_EQ(g_Desktop.size(), 1u);
    EXPECT_EQ(g_Desktop[0].hOwner, active);
    EXPECT_EQ(g_Desktop[0].strText, "読み込みに失敗しました");
    EXPECT_EQ(g_Desktop[0].strCaption, "エラー");
    EXPECT_EQ(g_Desktop[0].uType, MB_OK);
    EXPECT_TRUE(g_FullScreen.empty());
}

TEST_F(ErrorBoxTest, FullScreenBoxesGoThroughTheGraphicsLayer)
{
    g_bFullScreen = true;
    EXPECT_EQ(ShowMessageBox("text", "caption", MB_YESNO), 1);
    ErrorBoxF("stage %d", 3);
    ASSERT_EQ(g_FullScreen.size(), 2u);
    EXPECT_EQ(g_FullScreen[0].strText, "text");
    EXPECT_EQ(g_FullScreen[0].strCaption, "caption");
    EXPECT_EQ(g_FullScreen[0].uType, MB_YESNO);
    EXPECT_EQ(g_FullScreen[1].strText, "stage 3");
    EXPECT_EQ(g_FullScreen[1].strCaption, "エラー");
    EXPECT_TRUE(g_Desktop.empty());
}

TEST_F(ErrorBoxTest, ErrorBoxFFormatsItsText)
{
    const std::string longName(3000, 'n');
    ErrorBoxF("%s の読み込みに失敗しました！ %d%%", longName.c_str(), 100);
    ASSERT_EQ(g_Desktop.size(), 1u);
    EXPECT_EQ(g_Desktop[0].strText, longName + " の読み込みに失敗しました！ 100%");
}

TEST_F(ErrorBoxTest, DebugErrorBoxFShowsOnlyWhileTheErrorCheckLogIsOn)
{
    SetEcLogFile(0, "EC_Game.txt");
    DebugErrorBoxF("debug %d", 1);
    EXPECT_TRUE(g_Desktop.empty());
    SetEcLogFile(1, "EC_Game.txt");
    DebugErrorBoxF("debug %d", 2);
    ASSERT_EQ(g_Desktop.size(), 1u);
    EXPECT_EQ(g_Desktop[0].strText, "debug 2");
}

TEST_F(ErrorBoxTest, OutOfMemoryBoxRequestsCloseAfterTheBoxIsClosed)
{
    HWND hWnd = plat::CreateWindowHandle(DefWindowProcA);
    ASSERT_NE(hWnd, nullptr);
    g_hWnd = hWnd;
    OutOfMemoryBox();
    g_hWnd = nullptr;
    ASSERT_EQ(g_Desktop.size(), 1u);
    EXPECT_EQ(g_Desktop[0].strText, "メモリが不足しています！");
    EXPECT_EQ(g_Desktop[0].strCaption, "エラー");
    EXPECT_FALSE(g_bCloseBeforeBoxClosed);
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, hWnd);
    EXPECT_EQ(msg.message, WM_CLOSE);
    DestroyWindow(hWnd);
}
