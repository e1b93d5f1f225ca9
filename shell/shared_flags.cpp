#include "shell/shared_flags.h"

std::atomic<HWND> g_hWnd{nullptr};
std::atomic<int> g_bActive{0};
std::atomic<BYTE> g_bGameReady{0};
std::atomic<int> g_bEditorLaunch{0};
std::atomic<int> g_bNameDialogDone{0};
std::atomic<int> g_bRequestDone{0};
std::atomic<int> g_bFileChosen{0};
std::atomic<int> g_bClosing{0};
std::atomic<int> g_bPresentByBlt{0};
std::atomic<int> g_bTestPlay{0};
std::atomic<int> g_bRunFailed{0};
