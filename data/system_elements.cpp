#include "data/system_elements.h"

cStatusItemData::cStatusItemData()
{
    Clear();
}

void cStatusItemData::RegisterFields(DWORD version)
{
    ClearTables();
    AddField4(&m_bShow, 1, "bShow");
    AddField4(&m_bIcon, 1, "bIcon");
    AddField4(&m_nDigits, 1, "nDigits");
    if (version >= 204) AddField4(&m_bGaugeNumber, 1, "bGaugeNumber");
    if (version >= 587) AddField4(&m_nLowLevel, 1, "nLowLevel");
    if (version >= 587) AddField4(&m_bLowPercent, 1, "bLowPercent");
    AddString(&m_strLabel, "strLabel");
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
    AddField4(&m_bEnabled, 1, "bEnabled");
    AddString(&m_strLabel, "strLabel");
}

cModeResultData::cModeResultData()
{
    Clear();
    m_ValueFlags.assign(5, 0);
}

void cModeResultData::RegisterFields(DWORD)
{
    ClearTables();
    AddField4(&m_bEnabled, 1, "bEnabled");
    AddValueList(&m_ValueFlags, "ValueFlags");
}

cBootOptionData::cBootOptionData()
{
    Clear();
}

void cBootOptionData::RegisterFields(DWORD)
{
    ClearTables();
    AddField4(&m_nKind, 1, "nKind");
    AddField4(&m_nValue, 1, "nValue");
    AddString(&m_strKey, "strKey");
    AddString(&m_strValue, "strValue");
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
