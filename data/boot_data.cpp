#include "data/boot_data.h"

cBootData g_BootData;

cBootData::cBootData()
{
    RegisterFields(g_nDataVersion);
}

void cBootData::RegisterFields(DWORD)
{
    ClearTables();
    AddField4(&m_nDrawingMode, 1);
    AddField4(&m_bDoNotAsk, 1);
}

void DumpBootData(const cBootData& data, cDataDump& dump)
{
    dump.Int("m_nDrawingMode", data.m_nDrawingMode);
    dump.Int("m_bDoNotAsk", data.m_bDoNotAsk);
}
