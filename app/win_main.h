#pragma once
// The process entry on the window thread: logs, the single instance, the main window,
// start-up, the game thread, the message loop and shutdown.
#include "platform/os/windows_types.h"

int WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, const char* lpCmdLine, int nCmdShow);

// The window thread's message loop until WM_QUIT; returns WM_QUIT's wParam.
int RunMessageLoop();
