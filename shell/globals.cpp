#include "shell/globals.h"

std::atomic<HWND> g_hWnd{nullptr};
