#pragma once
// The input method: SDL's text input stands in for the desktop's IME. Text input runs only
// while an edit has the focus; the open composition (SDL_TEXTEDITING) is kept here in CP932,
// and committed text (SDL_TEXTINPUT) reaches the focused edit converted to CP932.
#include <string>
#include "platform/os/windows_types.h"

using HIMC = void*;
constexpr DWORD GCS_COMPSTR = 0x0008;

HIMC ImmGetContext(HWND hWnd);                  // null for a window we do not know
BOOL ImmReleaseContext(HWND hWnd, HIMC context);
// GCS_COMPSTR: the byte length of the open composition (0: none), copied when a buffer is given.
LONG ImmGetCompositionStringA(HIMC context, DWORD index, void* buffer, DWORD size);

namespace plat {

// Starts text input with its candidate box at the caret (client coordinates of the game
// window), or stops it; stopping also drops an open composition.
void StartTextInputAt(int x, int y, int height);
void StopTextInput();
bool TextInputActive();

// The composition as SDL reports it (UTF-8; empty: none); kept as CP932 (characters with no
// CP932 form are left out).
void SetComposition(const std::string& utf8);
const std::string& CompositionCp932();

}  // namespace plat

// Posted to the main window for each text event while text input runs; the open dialog takes
// the event that goes with it, so that text and keys are seen in the order they were typed.
constexpr UINT WM_IME_COMPOSITION = 0x010F;

namespace plat {

struct cTextEvent {
    bool bCommit = false;
    std::string cp932;     // the composition (empty: closed), or the committed text
};

// Window thread's event drain: keeps an SDL text event; false when text input is off (then
// nothing is kept and nothing needs posting).
bool QueueSdlTextEvent(bool commit, const char* utf8);
// The dialog: the next kept text event; false when none.
bool TakeTextEvent(cTextEvent& event);

}  // namespace plat
