#pragma once
// The basic Windows types and constants the runtime's code is written in.
#include <cstddef>
#include <cstdint>

using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using LONGLONG = std::int64_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using HRESULT = std::int32_t;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

// Handles are opaque pointers to our own objects.
struct HWND__;
using HWND = HWND__*;
using HANDLE = void*;
using HINSTANCE = void*;

constexpr int MAX_PATH = 260;

inline bool FAILED(HRESULT hr) { return hr < 0; }
inline bool SUCCEEDED(HRESULT hr) { return hr >= 0; }

struct POINT { LONG x; LONG y; };
struct RECT { LONG left; LONG top; LONG right; LONG bottom; };
struct SIZE { LONG cx; LONG cy; };

union LARGE_INTEGER { struct { DWORD LowPart; LONG HighPart; } u; LONGLONG QuadPart; };

// A calendar date and time of day, as stored in files: eight 16-bit values.
struct SYSTEMTIME {
    WORD wYear, wMonth, wDayOfWeek, wDay, wHour, wMinute, wSecond, wMilliseconds;
};
constexpr DWORD INFINITE = 0xFFFFFFFF;
