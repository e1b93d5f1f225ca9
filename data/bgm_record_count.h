#pragma once
// The number of records of the BGM database, below which System data keeps its screen BGM
// numbers. Until the databases are loaded this is the length of the default BGM list (2);
// LoadBgmRecordCount takes it from a BGM database file without reading its entries.
#include "platform/os/windows_types.h"

DWORD GetBgmRecordCount();
void SetBgmRecordCount(DWORD count);

// Reads the entry count of a BGM database file (its second 4-byte word) and makes it the
// count. False, with the count unchanged, when the file cannot be opened, is too short, or
// names more entries than its bytes can hold.
bool LoadBgmRecordCount(const char* path);
