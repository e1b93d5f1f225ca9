#pragma once
// The dialog mode that lets a box or a dialog appear over a full-screen display, and the
// message box that uses it. In a window both do nothing more than the box itself.
#include "platform/os/windows_types.h"

// 1 in a window and on success, 0 when the mode could not be switched.
int DDSetDialogMode(BOOL bOn);
// The box's answer (IDOK, IDYES or IDNO); 0 when the dialog mode could not be entered, in
// which case no box is shown.
int DDMesBox(const char* text, const char* caption, UINT type);

// The cursor's display count: hidden while negative (a full-screen display outside dialogs),
// shown while not negative (a window).
void DDHideCursorCompletely();
void DDShowCursorAgain();
