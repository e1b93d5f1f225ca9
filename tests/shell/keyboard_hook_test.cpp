#include "shell/keyboard_hook.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/input/keyboard.h"
#include "platform/os/message_box.h"
#include "platform/ui/dialog_box.h"
#include "platform/ui/ime.h"

namespace {

LRESULT Quiet(HWND, UINT, WPARAM, LPARAM) { return 0; }

struct Posted {
    UINT msg;
    WPARAM key;
    bool operator==(const Posted&) const = default;
};

constexpr LPARAM kDown = 0x00000001;
constexpr LPARAM kUp = static_cast<LPARAM>(0xC0000001u);

// The hook as a decision of key, press or release, composition and the active window's
// "cHook": what it posts to the active window.
TEST(KeyboardHook, PostsCopiesOfKeysToTheActiveDialogAsTheTableSays)
{
    struct Case {
        int key;
        bool release;
        bool composing;
        bool hooked;
        std::vector<Posted> posted;
    } cases[] = {
        {'A', false, false, true, {{WM_KEYDOWN, 'A'}}},
        {'A', true, false, true, {{WM_KEYUP, 'A'}}},
        {VK_RETURN, false, false, true, {{WM_KEYDOWN, VK_RETURN}}},
        {VK_RETURN, false, true, true, {}},                       // confirms the composition
        {VK_TAB, false, false, true, {}},
        {VK_LEFT, false, false, true, {{WM_HOOK_NAVKEY, VK_LEFT}}},
        {VK_LEFT, false, true, true, {{WM_KEYDOWN, VK_LEFT}}},
        {VK_SPACE, false, false, true, {{WM_HOOK_NAVKEY, VK_SPACE}}},
        {VK_F1 + 7, false, false, true, {{WM_HOOK_NAVKEY, VK_F1 + 7}}},
        {0x24, false, false, true, {{WM_KEYDOWN, 0x24}}},        // Home is no navigation key
        {'A', false, false, false, {}},                           // a window without "cHook"
        {VK_RETURN, false, false, false, {}},
    };
    plat::SetWindowThread();
    HWND hWnd = plat::CreateWindowHandle(Quiet);
    ASSERT_NE(hWnd, nullptr);
    cHook hook;
    hook.m_hWnd = hWnd;
    plat::SetActiveWindow(hWnd);
    for (const Case& c : cases) {
        if (c.hooked) SetPropA(hWnd, "cHook", &hook);
        else RemovePropA(hWnd, "cHook");
        plat::SetComposition(c.composing ? u8"か" : "");
        KeyboardHookProc(HC_ACTION, static_cast<WPARAM>(c.key), c.release ? kUp : kDown);
        std::vector<Posted> posted;
        MSG msg;
        while (PeekMessageA(&msg, hWnd, 0, 0, PM_REMOVE)) posted.push_back({msg.message, msg.wParam});
        EXPECT_EQ(posted, c.posted) << "key " << c.key << (c.release ? " up" : " down") << (c.composing ? " composing" : "")
                                    << (c.hooked ? "" : " no cHook");
    }
    plat::SetComposition("");
    plat::SetActiveWindow(nullptr);
    DestroyWindow(hWnd);
}

TEST(KeyboardHook, OneHookServesEveryDialogAndAFailedInstallIsTriedAgain)
{
    plat::SetWindowThread();
    HWND hWnd = plat::CreateWindowHandle(Quiet);
    UnhookKeyboardHooks();
    cHook first, second;
    plat::FailNextHookInstall();
    EXPECT_FALSE(first.Attach(hWnd, 0));
    EXPECT_EQ(g_hHook, nullptr);
    EXPECT_TRUE(second.Attach(hWnd, 0));
    const HHOOK installed = g_hHook;
    EXPECT_TRUE(first.Attach(hWnd, 0));
    EXPECT_EQ(g_hHook, installed);
    EXPECT_EQ(GetPropA(hWnd, "cHook"), &first);
    UnhookKeyboardHooks();
    EXPECT_EQ(g_hHook, nullptr);
    DestroyWindow(hWnd);
}

}  // namespace
