#pragma once
// The main window and the plain flags every thread reads. The window thread writes them.
#include <atomic>
#include "platform/os/windows_types.h"

// The main window that the rest of the program posts to and sends to; null until start-up
// accepted the screen mode and again after WM_DESTROY.
extern std::atomic<HWND> g_hWnd;
