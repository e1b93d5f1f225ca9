#include "data/system_data.h"

#include "data/database.h"

cSystemData::cSystemData()
{
    SetDefaults();
}

void cSystemData::Read(cDataReader& reader)
{
    cDataRecord::Read(reader);
    if (reader.Version() < kDataVersion) Upgrade(reader.Version());
    ClampScreenBgm();
}

void cSystemData::Write(cDataWriter& writer)
{
    ClampScreenBgm();
    cDataRecord::Write(writer);
}

void cSystemData::ClampScreenBgm()
{
    const DWORD records = static_cast<DWORD>(g_Database.m_Bgms.size());
    for (int& number : m_ScreenBgm) {
        if (static_cast<DWORD>(number) >= records) number = 0;
    }
}

int cSystemData::CountModeFlags(int mode)
{
    const cModeResultData& result = m_ModeResults.At(mode);
    if (!result.m_bEnabled) return 0;
    int count = 0;
    for (BYTE flag : result.m_ValueFlags) count += flag ? 1 : 0;
    return count;
}
