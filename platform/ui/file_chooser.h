#pragma once
// The common file dialogs: a chooser of our own (a dialog of the toolkit) that lists a folder
// through the path layer and returns the program's absolute form of the chosen path.
#include "platform/ui/dialog_box.h"

using LPOFNHOOKPROC = INT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

struct OPENFILENAMEA {
    DWORD lStructSize;
    HWND hwndOwner;
    HINSTANCE hInstance;
    const char* lpstrFilter;        // pairs of label and ';'-separated patterns, NUL-separated, double NUL end
    char* lpstrCustomFilter;
    DWORD nMaxCustFilter;
    DWORD nFilterIndex;
    char* lpstrFile;
    DWORD nMaxFile;
    char* lpstrFileTitle;
    DWORD nMaxFileTitle;
    const char* lpstrInitialDir;
    const char* lpstrTitle;
    DWORD Flags;
    WORD nFileOffset;
    WORD nFileExtension;
    const char* lpstrDefExt;
    LPARAM lCustData;
    LPOFNHOOKPROC lpfnHook;
    const char* lpTemplateName;
};

constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
constexpr DWORD OFN_NOCHANGEDIR = 0x00000008;
constexpr DWORD OFN_ENABLEHOOK = 0x00000020;
constexpr DWORD OFN_ALLOWMULTISELECT = 0x00000200;
constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;
constexpr DWORD OFN_NONETWORKBUTTON = 0x00020000;
constexpr DWORD OFN_EXPLORER = 0x00080000;

constexpr DWORD FNERR_BUFFERTOOSMALL = 0x3003;

// True with the chosen path in lpstrFile (NUL-terminated; a single file's full path), false
// when cancelled or when the path does not fit nMaxFile (CommDlgExtendedError says which).
BOOL GetOpenFileNameA(OPENFILENAMEA* ofn);
// Also asks before a file is overwritten (OFN_OVERWRITEPROMPT); a new name is accepted.
BOOL GetSaveFileNameA(OPENFILENAMEA* ofn);
DWORD CommDlgExtendedError();

namespace plat {

// Whether a CP932 file name matches one of the ';'-separated patterns ('*' and '?'), without
// regard to ASCII case.
bool MatchesFilePatterns(const std::string& name, const std::string& patterns);

}  // namespace plat
