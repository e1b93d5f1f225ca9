#pragma once
// Program icons: the picture built into the program stands for its icon resource; icon
// handles to it are shown on the main window through WM_SETICON.
#include <cstdint>

#include "platform/os/messages.h"

using HICON = HANDLE;
constexpr WPARAM ICON_SMALL = 0;
constexpr WPARAM ICON_BIG = 1;

// The program's own file as a program path; 0 when the system does not say or it does not fit.
DWORD GetModuleFileNameA(HINSTANCE module, char* fileName, DWORD size);
// Icon index of file: index 0 of the program's own file is its icon picture; null when there
// is none (no picture registered, another file or index).
HICON ExtractIconA(HINSTANCE instance, const char* file, UINT index);
// FALSE for null or an icon already destroyed.
BOOL DestroyIcon(HICON icon);

namespace plat {

// The program's icon picture, 0xAARRGGBB top-down; kept by the caller for the whole run.
void SetProgramIconPicture(const std::uint32_t* pixels, int width, int height);
// WM_SETICON reaching the default handler: the main window shows the icon (the SDL window's
// icon); returns the icon it showed before.
LRESULT ShowWindowIcon(HWND hWnd, WPARAM which, HICON icon);
// The icon WM_SETICON last gave the window for which; null when none.
HICON WindowIcon(HWND hWnd, WPARAM which);
// Icon handles made and not destroyed.
int LiveIcons();

}  // namespace plat
