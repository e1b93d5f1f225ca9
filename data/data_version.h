#pragma once
// The process-wide settings of record files.
#include <cstdint>
#include "platform/os/windows_types.h"

// The data version of this program: every record is registered for it outside a read, and
// every file is written with it. Start-up sets it before the first file is read.
extern DWORD g_nDataVersion;
constexpr DWORD kDataVersion = 692;

// Non-zero: carriage returns are removed from every string read from a file.
extern int g_bStripCR;

// Sinks for values that some older versions stored and the current one does not: their
// bytes are read into these and ignored. One per thread, since files load on two threads.
extern thread_local std::int32_t g_nDiscardField;
extern thread_local std::int16_t g_wDiscardField;
