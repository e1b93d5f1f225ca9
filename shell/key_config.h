#pragma once
// The key configuration: which keyboard key or joystick input makes each direction and button.
// Its memory image is the raw file "user_data\KeyConfig.dat" (108 bytes, no version word).
#include <cstdint>

#include "platform/os/windows_types.h"

constexpr int KEYCONFIG_ENTRIES = 12;      // left, right, up, down, buttons 1 to 8
constexpr int KEYCONFIG_JOYSTICKS = 8;     // devices 0 to 7 are joysticks
constexpr int KEYCONFIG_KEYBOARD = 8;      // the device number of the keyboard

// Joystick codes of direction entries that stand for an axis past its threshold.
constexpr WORD JOYCODE_XLOW = 256;
constexpr WORD JOYCODE_XHIGH = 512;
constexpr WORD JOYCODE_YLOW = 1024;
constexpr WORD JOYCODE_YHIGH = 2048;

struct KEYCONFIGENTRY {
    std::int32_t nDevice;   // 0 to 7 joystick number, 8 keyboard
    WORD wCode;             // virtual key, or joystick button bits, or an axis code
    WORD wUnused;
};

struct KEYCONFIG {
    KEYCONFIGENTRY Entry[KEYCONFIG_ENTRIES];
    std::int32_t nEntries;     // entries in use
    std::int32_t nJoysticks;   // joysticks polled, 0 to nJoysticks - 1
    std::int32_t bUse;         // 0: fixed keys; otherwise poll through this table
};
static_assert(sizeof(KEYCONFIG) == 108, "KEYCONFIG is the file image");

extern KEYCONFIG g_KeyConfig;

// Reads up to 108 bytes of the file over the table (a short file replaces only the start);
// the entry and joystick counts are then clamped to what the table can hold. False when the
// file cannot be opened or is not a regular file.
bool ReadKeyConfig(const char* path, KEYCONFIG& config);
void DefaultKeyConfig(KEYCONFIG& config);
