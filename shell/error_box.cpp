#include "shell/error_box.h"

#include <atomic>
#include <cstdarg>
#include <string>

#include "platform/os/message_box.h"
#include "platform/os/messages.h"
#include "shell/format.h"
#include "shell/shared_flags.h"

namespace {

std::atomic<FullScreenTest> s_IsFullScreen{nullptr};
std::atomic<FullScreenBox> s_FullScreenBox{nullptr};

}  // namespace

void SetFullScreenBox(FullScreenTest isFullScreen, FullScreenBox show)
{
    // The box is published before the test that leads to it.
    s_FullScreenBox.store(show);
    s_IsFullScreen.store(isFullScreen);
}

int ShowMessageBox(const char* text, const char* caption, UINT type)
{
    const FullScreenTest isFullScreen = s_IsFullScreen.load();
    const FullScreenBox fullScreenBox = s_FullScreenBox.load();
    if (isFullScreen && fullScreenBox && isFullScreen()) return fullScreenBox(text, caption, type);
    return MessageBoxA(GetActiveWindow(), text, caption, type);
}

int ErrorBox(const char* text) { return ShowMessageBox(text, "エラー", MB_OK); }

int ErrorBoxF(const char* format, ...)
{
    std::string text;
    va_list args;
    va_start(args, format);
    VAppendFormatString(text, format, args);
    va_end(args);
    return ErrorBox(text.c_str());
}

void DebugErrorBoxF(const char* format, ...)
{
    if (!IsEcLogEnabled()) return;
    std::string text;
    va_list args;
    va_start(args, format);
    VAppendFormatString(text, format, args);
    va_end(args);
    ErrorBox(text.c_str());
}

void OutOfMemoryBox()
{
    ErrorBox("メモリが不足しています！");
    PostMessageA(g_hWnd.load(), WM_CLOSE, 0, 0);
}
