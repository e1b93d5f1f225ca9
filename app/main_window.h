#pragma once
// The main window: its handler serves the other threads' requests on the window thread and
// runs the close sequence.
#include "shell/game_requests.h"
#include "shell/window.h"

class cMainWindow : public cWindow {
public:
    LRESULT OnMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    LRESULT MessageProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    virtual void OnInit(WPARAM, LPARAM) {}

private:
    void CloseSequence(HWND hWnd);
    void SaveWindowPlacement(HWND hWnd);
};

extern cMainWindow g_MainWindow;

// The class procedure of "Quillbramwood": every message goes to g_MainWindow.OnMessage.
LRESULT WndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The editor's notices (only sent when started by the editor): start {1, 1}, end {0, code}.
void NotifyEditorStart();
void NotifyEditorExit(int code);

// The request handlers (window_requests.cpp).
void OnNameDialogRequest();
void OnOpenStageRequest(HWND hWnd);
void OnOpenReplayRequest(HWND hWnd);
void OnSaveReplayRequest(WPARAM which);
void OnPlaySeRequest(WPARAM index);
void OnPlayBgmRequest(WPARAM screen, LPARAM number);
void OnRestoreDeviceRequest();
