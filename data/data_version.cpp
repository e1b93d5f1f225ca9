#include "data/data_version.h"

DWORD g_nDataVersion = kDataVersion;
int g_bStripCR = 0;
thread_local std::int32_t g_nDiscardField = 0;
thread_local std::int16_t g_wDiscardField = 0;
