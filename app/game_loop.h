#pragma once
// The body of the game thread: one frame per pass while the application is active.
#include "platform/os/windows_types.h"

// Runs frames until WM_QUIT (returns 1 without asking to close) or until a frame returns false
// (then posts WM_CLOSE to the main window once and returns 1). A pass that takes any other
// message from the thread's queue runs no frame; while inactive a pass sleeps 1 ms.
unsigned RunGameLoop(bool (*runFrame)());

// thGame's body: RunGameLoop over g_GameManager.RunFrame.
unsigned GameLoop(void* arg);
