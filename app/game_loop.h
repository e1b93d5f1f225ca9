#pragma once
// The body of the game thread: one frame per pass while the application is active.
#include "platform/os/windows_types.h"

// Runs frames until WM_QUIT (returns 1 without asking to close) or until a frame returns false
// (then posts WM_CLOSE to the main window once and returns 1). A pass that takes any other
// message from the thread's queue runs no frame; while inactive a pass waits for the next
// message (SetGameActive posts one) instead of polling.
unsigned RunGameLoop(bool (*runFrame)());

// Stores g_bActive and, when it becomes non-zero, wakes a game loop that waits while inactive.
void SetGameActive(int active);

// thGame's body: RunGameLoop over g_GameManager.RunFrame.
unsigned GameLoop(void* arg);
