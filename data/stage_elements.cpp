#include "data/stage_elements.h"

#include "data/record_tails.h"

cOutOfRangeData::cOutOfRangeData(int on, int leftMargin, int rightMargin, int topMargin, int bottomMargin)
    : m_bLeft(on), m_bRight(on), m_bTop(on), m_bBottom(on), m_nLeftMargin(leftMargin),
      m_nRightMargin(rightMargin), m_nTopMargin(topMargin), m_nBottomMargin(bottomMargin)
{
}

// Files up to 124 had one switch for every side; the other three keep what the record held.
void cOutOfRangeData::RegisterFields(DWORD version)
{
    ClearTables();
    AddField4(&m_bLeft, 1, "bLeft");
    if (version >= 125) {
        AddField4(&m_bRight, 1, "bRight");
        AddField4(&m_bTop, 1, "bTop");
        AddField4(&m_bBottom, 1, "bBottom");
    }
    AddField4(&m_nLeftMargin, 1, "nLeftMargin");
    AddField4(&m_nRightMargin, 1, "nRightMargin");
    AddField4(&m_nTopMargin, 1, "nTopMargin");
    AddField4(&m_nBottomMargin, 1, "nBottomMargin");
}

// Before 61 the two factors were 4-byte values and before 62 the offsets too: their bytes
// are read and dropped, and the record keeps its defaults.
void cBackgroundData::RegisterFields(DWORD version)
{
    ClearTables();
    if (version >= 62) AddField4(&m_bShow, 1, "bShow");
    AddField4(&m_bFillOnly, 1, "bFillOnly");
    AddField4(&m_nFillColor, 1, "nFillColor");
    AddField4(&m_nLayer, 1, "nLayer");
    if (version >= 61) {
        AddField8(&m_dFactorX, 1, "dFactorX");
        AddField8(&m_dFactorY, 1, "dFactorY");
        AddField4(&m_bAutoScrollX, 1, "bAutoScrollX");
        AddField4(&m_bAutoScrollY, 1, "bAutoScrollY");
    } else {
        AddField4(&g_nDiscardField, 1, "discarded");
        AddField4(&g_nDiscardField, 1, "discarded");
    }
    AddString(&m_strPicture, "strPicture");
    if (version >= 62) {
        AddField8(&m_dOffsetX, 1, "dOffsetX");
        AddField8(&m_dOffsetY, 1, "dOffsetY");
    } else if (version == 61) {
        AddField4(&g_nDiscardField, 1, "discarded");
        AddField4(&g_nDiscardField, 1, "discarded");
    }
}

void cStageTextData::RegisterFields(DWORD)
{
    ClearTables();
    AddString(&m_strText, "strText");
}

void ReadBackgroundList(cSafeVector<cBackgroundData>& list, cDataReader& reader)
{
    ReadRecordList(reader, list);
}

void ReadTextList(cSafeVector<cStageTextData>& list, cDataReader& reader)
{
    ReadRecordList(reader, list);
}
