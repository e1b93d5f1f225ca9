#pragma once
// The requests any thread sends to the main window with SendMessageA; the window thread serves
// each to its end before the sender goes on, and every handler returns 0.
#include "platform/os/messages.h"

constexpr UINT WM_GAME_NAMEDIALOG = WM_USER + 1;     // 0 / 0
constexpr UINT WM_GAME_OPENSTAGE = WM_USER + 2;      // 0 / 0
constexpr UINT WM_GAME_OPENREPLAY = WM_USER + 3;     // 0 / 0
constexpr UINT WM_GAME_SAVEREPLAY = WM_USER + 4;     // 0 the replay being recorded, 1 the previous / 0
constexpr UINT WM_GAME_PLAYSE = WM_USER + 5;         // sound-table index / 0
constexpr UINT WM_GAME_PLAYBGM = WM_USER + 6;        // screen 0..4 / BGM number for screen 4
constexpr UINT WM_GAME_RESTOREDEVICE = WM_USER + 100;

// Plays entry n of the sound table (0..16 the built-in sounds).
void PlaySe(int n);
// The system sounds the stage plays, by their numbers in the sound database.
constexpr int kSoundHit = 7;
constexpr int kSoundPlayerDeath = 8;
constexpr int kSoundCharaDeath = 9;
// Plays Sound database entry n (table entry n + 16); nothing for 0.
void PlayDbSe(WORD n);
// Asks for the BGM of a screen (0..3 front-end screens, 4 the stage with BGM number n).
void PlayBgm(int screen, int n);

// Sees every sound and BGM request above as it is sent (the harness trace and the tests);
// null: none.
using REQUESTOBSERVER = void (*)(UINT msg, WPARAM wParam, LPARAM lParam);
void SetRequestObserver(REQUESTOBSERVER observer);
