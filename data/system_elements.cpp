#include "data/system_elements.h"

#include "data/record_tails.h"

cStatusItemData::cStatusItemData()
{
    Clear();
}

void cStatusItemData::RegisterFields(DWORD version)
{
    ClearTables();
    AddField4(&m_bShow, 1);
    AddField4(&m_bIcon, 1);
    AddField4(&m_nDigits, 1);
    if (version >= 204) AddField4(&m_bGaugeNumber, 1);
    if (version >= 587) AddField4(&m_nLowLevel, 1);
    if (version >= 587) AddField4(&m_bLowPercent, 1);
    AddString(&m_strLabel);
}

void cStatusItemData::Read(cDataReader& reader)
{
    cDataRecord::Read(reader);
    if (reader.Version() < 204) m_bGaugeNumber = 1;
}

cMenuItemData::cMenuItemData()
{
    Clear();
    m_bEnabled = 1;
}

void cMenuItemData::RegisterFields(DWORD)
{
    ClearTables();
    AddField4(&m_bEnabled, 1);
    AddString(&m_strLabel);
}

cModeResultData::cModeResultData()
{
    Clear();
    m_ValueFlags.assign(5, 0);
}

void cModeResultData::RegisterFields(DWORD)
{
    ClearTables();
    AddField4(&m_bEnabled, 1);
}

void cModeResultData::Read(cDataReader& reader)
{
    cDataRecord::Read(reader);
    ReadValueList(reader, m_ValueFlags);
}

void cModeResultData::Write(cDataWriter& writer)
{
    cDataRecord::Write(writer);
    WriteValueList(writer, m_ValueFlags);
}

cBootOptionData::cBootOptionData()
{
    Clear();
}

void cBootOptionData::RegisterFields(DWORD)
{
    ClearTables();
    AddField4(&m_nKind, 1);
    AddField4(&m_nValue, 1);
    AddString(&m_strKey);
    AddString(&m_strValue);
}

void cBootOptionData::SetInt(const char* key, int value)
{
    m_strKey = key;
    m_nKind = 0;
    m_nValue = value;
}

void cBootOptionData::SetString(const char* key, const char* text)
{
    m_strKey = key;
    m_nKind = 1;
    m_strValue = text;
}
