#pragma once
// The main window as WinMain makes it (its class procedure, layout and style) under a window
// class of the test's own, so that tests can build it again and again in one process.
#include "app/main_window.h"
#include "platform/ui/window.h"

namespace qbtest {

inline HWND MakeMainWindowAsWinMainDoes(const char* className)
{
    constexpr DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WndProc;
    windowClass.lpszClassName = className;
    RegisterClassExA(&windowClass);  // fails once the class exists, which is as good
    g_MainWindow.InitLayout(640, 480, 100, 100, 640, 480, style, 0, 0, 0, 0, 0);
    return CreateWindowExA(0, className, "", style, 100, 100, g_MainWindow.m_nWindowWidth,
                           g_MainWindow.m_nWindowHeight, nullptr, nullptr, nullptr, nullptr);
}

}  // namespace qbtest
