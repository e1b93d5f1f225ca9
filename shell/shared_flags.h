#pragma once
// The main window and the flags and values that the window thread and the other threads share.
#include <atomic>
#include <mutex>

#include "platform/os/windows_types.h"

// The main window that the rest of the program posts to and sends to; null until start-up
// accepted the screen mode and again after WM_DESTROY.
extern std::atomic<HWND> g_hWnd;
// The application is active (WM_ACTIVATEAPP); frames run only while it is non-zero.
extern std::atomic<int> g_bActive;
// 1 once start-up succeeded, just before the game thread starts.
extern std::atomic<BYTE> g_bGameReady;
// Started by the editor (show command 5): the editor notices are sent.
extern std::atomic<int> g_bEditorLaunch;
// Done flags of the requests to the window thread: the sender clears one, sends, and polls it.
extern std::atomic<int> g_bNameDialogDone;
extern std::atomic<int> g_bRequestDone;
// Result of a file request: 1 a file was chosen and handled, 0 cancelled or refused.
extern std::atomic<int> g_bFileChosen;
// Set by the close sequence: from then on the window thread refuses requests it would have to
// open a dialog or load a file for, so that every thread reaches its WM_QUIT.
extern std::atomic<int> g_bClosing;
// DirectDraw full screen: 1 presents the frame by copying instead of flipping. Chosen by the
// start-up.
extern std::atomic<int> g_bPresentByBlt;
// 1 when a stage given at start (command line or FreeStage) is being played.
extern std::atomic<int> g_bTestPlay;
// Set when the game closes because what it had to run could not start (a stage whose pictures
// cannot be read): the process then ends with status 1, as a failed start-up does.
extern std::atomic<int> g_bRunFailed;

// A rectangle that one thread writes and another reads, always whole: a reader never sees the
// left of one move with the right of the next.
class cSharedRect {
public:
    RECT Load() const
    {
        std::lock_guard lock(m_Mutex);
        return m_Rect;
    }
    void Store(const RECT& rect)
    {
        std::lock_guard lock(m_Mutex);
        m_Rect = rect;
    }

private:
    mutable std::mutex m_Mutex;
    RECT m_Rect{0, 0, 0, 0};
};
