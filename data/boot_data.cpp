#include "data/boot_data.h"

cBootData g_BootData;

void cBootData::RegisterFields(DWORD)
{
    ClearTables();
    AddField4(&m_nDrawingMode, 1, "nDrawingMode");
    AddField4(&m_bDoNotAsk, 1, "bDoNotAsk");
}
