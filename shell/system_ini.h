#pragma once
// "System.ini": display and start options, read once by start-up. The key names and their
// defaults come from the boot-option list of the System data, handed in by the caller; the
// position of a key in that list decides which setting it fills.
#include <string>

#include "platform/os/windows_types.h"
#include "shell/safe_container.h"

struct SYSTEMINI {
    int Direct3D;          // 0 DirectDraw, 1 Direct3D, 2 or more: the boot choice
    int WindowMode;        // 0 full screen, 1 window, 2 sizable window
    int Bpp;               // 0 automatic, 8, 16 or 32
    int VSync;             // 0 off, 1 on, 2 or more automatic
    int D3D_FontCache;
    int DD_FontCache;
    int DD_VideoStretch;
    int ShowFps;           // 0 off, 1 in a window, 2 plain text
    int English;
    char FreeStage[MAX_PATH];
};

extern SYSTEMINI g_SystemIni;

// One key of the boot-option list: its name and its default values.
struct SYSTEMINIKEY {
    std::string strKey;
    int nValue = 0;
    std::string strValue;
};
using SYSTEMINIKEYS = cSafeVector<SYSTEMINIKEY>;

// Position of each setting in the key list.
enum SYSTEMINI_KEY {
    SIK_DIRECT3D, SIK_WINDOWMODE, SIK_BPP, SIK_VSYNC, SIK_D3D_FONTCACHE, SIK_DD_FONTCACHE,
    SIK_DD_VIDEOSTRETCH, SIK_SHOWFPS, SIK_FREESTAGE, SIK_ENGLISH, SIK_COUNT
};

void SetSystemIniDefaults(SYSTEMINI& ini, const SYSTEMINIKEYS& keys);

// False when the file cannot be opened or ends before a line "Exit" or a NUL byte; the values
// read so far stay in ini either way. Keys and values longer than 2047 bytes are dropped.
bool ReadSystemIni(const char* path, SYSTEMINI& ini, const SYSTEMINIKEYS& keys);

// Start-up's reading: the defaults, then the file; when the reading fails, the error box
// "System.ini の読み込みに失敗しました！" and the defaults again. Returns the reader's result.
bool LoadSystemIni(const char* path, SYSTEMINI& ini, const SYSTEMINIKEYS& keys);
