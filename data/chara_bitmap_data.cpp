#include "data/chara_bitmap_data.h"

void cBmpCharaExcData::RegisterFields(DWORD version)
{
    ClearTables();
    if (version >= 152) AddField4(&m_nReserved, 1, "nReserved");
    if (version >= 172) {
        AddField4(&m_bLargeCell, 1, "bLargeCell");
        AddField4(&m_nCellSize, 1, "nCellSize");
    }
    AddString(&m_strName, "strName");
    AddString(&m_strFile, "strFile");
}

void cBmpCharaExcData::Read(cDataReader& reader)
{
    cDataRecord::Read(reader);
    if (reader.Version() < 153) m_nReserved = 0;
}
