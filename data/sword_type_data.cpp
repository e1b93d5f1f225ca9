#include "data/sword_type_data.h"

void cSwordFrameData::RegisterFields(DWORD version)
{
    ClearTables();
    AddField4(&m_nOffsetX, 1, "nOffsetX");
    AddField4(&m_nOffsetY, 1, "nOffsetY");
    if (version >= 138) {
        AddField4(&m_bFlipX, 1, "bFlipX");
        AddField4(&m_bFlipY, 1, "bFlipY");
    }
    AddField4(&m_nPlacement, 1, "nPlacement");
    AddField4(&m_nSrcX, 1, "nSrcX");
    AddField4(&m_nSrcY, 1, "nSrcY");
    AddField4(&m_nWidth, 1, "nWidth");
    AddField4(&m_nHeight, 1, "nHeight");
    AddField4(&m_nDuration, 1, "nDuration");
}

cSwordTypeData::cSwordTypeData()
{
    SetDefaults();
}

void cSwordTypeData::RegisterFields(DWORD version)
{
    ClearTables();
    if (version >= 151) AddField4(&m_nReserved, 1, "nReserved");
    AddString(&m_strName, "strName");
    AddString(&m_strFile, "strFile");
    AddString(&m_strFile2, "strFile2");
    AddRecordList(&m_Frames, "Frames");
}

void cSwordTypeData::SetDefaults()
{
    Clear();
    cSwordFrameData frame;
    frame.m_nDuration = 1;
    m_Frames.assign(1, frame);
}

void cSwordTypeData::Read(cDataReader& reader)
{
    cDataRecord::Read(reader);
    if (reader.Version() < 153) m_nReserved = 0;
}
