#include "data/system_data.h"

#include "data/bgm_record_count.h"
#include "data/record_tails.h"

cSystemData g_SystemData;

cSystemData::cSystemData()
{
    SetDefaults();
}

void cSystemData::Read(cDataReader& reader)
{
    cDataRecord::Read(reader);
    ReadTail(reader);
    if (reader.Version() < kDataVersion) Upgrade(reader.Version());
    ClampScreenBgm();
}

// The lists after the body, each only from the version that brought it in; a list the file
// lacks keeps what it held.
void cSystemData::ReadTail(cDataReader& reader)
{
    const DWORD version = reader.Version();
    ReadValueList(reader, m_CarryFlags);
    if (version >= 501) ReadValueList(reader, m_DeathClearFlags);
    ReadRecordList(reader, m_StatusItems);
    ReadValueList(reader, m_StartLives);
    if (version >= 191) ReadValueList(reader, m_UnlimitedLives);
    if (version >= 186) ReadRecordList(reader, m_ModeResults);
    ReadStringList(reader, m_Texts);
    ReadStringList(reader, m_SoundFiles);
    ReadValueList(reader, m_ScreenBgm);
    if (version >= 202) ReadValueList(reader, m_ScreenBgmLoop);
    ReadRecordList(reader, m_TitleMenu);
    ReadRecordList(reader, m_StoryMenu);
    ReadRecordList(reader, m_OptionMenu);
    if (version >= 674) ReadStringList(reader, m_RankingModeNames);
    ReadRecordList(reader, m_BootOptions);
}

void cSystemData::Write(cDataWriter& writer)
{
    ClampScreenBgm();
    cDataRecord::Write(writer);
    WriteValueList(writer, m_CarryFlags);
    WriteValueList(writer, m_DeathClearFlags);
    WriteRecordList(writer, m_StatusItems);
    WriteValueList(writer, m_StartLives);
    WriteValueList(writer, m_UnlimitedLives);
    WriteRecordList(writer, m_ModeResults);
    WriteStringList(writer, m_Texts);
    WriteStringList(writer, m_SoundFiles);
    WriteValueList(writer, m_ScreenBgm);
    WriteValueList(writer, m_ScreenBgmLoop);
    WriteRecordList(writer, m_TitleMenu);
    WriteRecordList(writer, m_StoryMenu);
    WriteRecordList(writer, m_OptionMenu);
    WriteStringList(writer, m_RankingModeNames);
    WriteRecordList(writer, m_BootOptions);
}

void cSystemData::ClampScreenBgm()
{
    const DWORD records = GetBgmRecordCount();
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
