#pragma once
// Message boxes: shown by SDL on the window thread when it can; otherwise the text goes to
// standard error and the answer comes from the harness script (OK, or No for a yes/no box).
#include "platform/os/windows_types.h"

constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_OKCANCEL = 0x00000001;
constexpr UINT MB_YESNO = 0x00000004;
constexpr UINT MB_ICONHAND = 0x00000010;
constexpr UINT MB_ICONQUESTION = 0x00000020;
constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
constexpr UINT MB_ICONINFORMATION = 0x00000040;
constexpr UINT MB_ICONERROR = MB_ICONHAND;
constexpr UINT MB_TYPEMASK = 0x0000000F;

constexpr int IDOK = 1;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type); // IDOK, IDYES or IDNO only
HWND GetActiveWindow();

namespace plat {

// Where box answers come from when no box can be shown. The function gets the box type and
// returns an answer, or 0 for the default. Set by the harness script and by tests.
using BoxAnswerSource = int (*)(UINT type, const char* textUtf8);
void SetBoxAnswerSource(BoxAnswerSource source);

// Where boxes are drawn once something better than SDL's own box exists (the dialog toolkit).
// Returns 0 when it could not show the box.
using BoxPresenter = int (*)(HWND owner, const char* text, const char* caption, UINT type);
void SetBoxPresenter(BoxPresenter presenter);

// Whether SDL may be asked to show boxes (false: headless, the dummy video driver).
void SetBoxesShownBySdl(bool shown);
// Whether boxes may be shown on the display at all (a presenter that draws its own asks).
bool BoxesMayBeShown();

// The window that GetActiveWindow reports.
void SetActiveWindow(HWND hWnd);

// While the program closes, the window thread is ending the other threads: a box asked for on
// another thread is then not carried there but takes its default answer at once (its text
// still goes to standard error), so that the thread reaches its WM_QUIT.
void SetCarriedBoxesRefused(bool refused);

}  // namespace plat
