#pragma once
// Error boxes that work on the desktop and over a full-screen display: while the graphics
// layer runs full screen a box goes through its dialog mode (DDMesBox), otherwise it is a
// plain message box owned by the active window.
#include "platform/os/windows_types.h"
#include "shell/log.h"

// The graphics layer's full-screen box, registered at start-up. isFullScreen tells whether
// the graphics layer is initialised and runs full screen; show is DDMesBox.
using FullScreenTest = bool (*)();
using FullScreenBox = int (*)(const char* text, const char* caption, UINT type);
void SetFullScreenBox(FullScreenTest isFullScreen, FullScreenBox show);

int ShowMessageBox(const char* text, const char* caption, UINT type);
int ErrorBox(const char* text);                              // caption "エラー", MB_OK
int ErrorBoxF(const char* format, ...) QB_PRINTF(1, 2);
void DebugErrorBoxF(const char* format, ...) QB_PRINTF(1, 2);  // only while the error-check log is on
// "メモリが不足しています！", then WM_CLOSE to the main window once the box is closed.
void OutOfMemoryBox();
