#include "data/anime_data.h"

namespace {

// The names of the four slots: standing, walking, flying, flying and moving.
const char* const kSlotNames[cAnimeSetData::kSlots] = {"立ち", "立ち移動", "飛行", "飛行移動"};

}  // namespace

void cAnimeFrameData::RegisterFields(DWORD)
{
    ClearTables();
    AddField4(&m_nFrame, 1, "nFrame");
    AddField4(&m_nDuration, 1, "nDuration");
    AddField4(&m_bLock, 1, "bLock");
}

cAnimeData::cAnimeData()
{
    SetDefaults();
}

void cAnimeData::RegisterFields(DWORD version)
{
    ClearTables();
    if (version >= 55) {
        AddField2(&m_shExtraA, 1, "shExtraA");
        AddField1(&m_byExtra, 1, "byExtra");
        AddField2(&m_shExtraB, 1, "shExtraB");
    }
    AddString(&m_strName, "strName");
    AddRecordList(&m_Frames, "Frames");
}

void cAnimeData::SetDefaults()
{
    Clear();
    m_Frames.resize(1);
    m_byExtra = 1;
}

cAnimeSetData::cAnimeSetData()
{
    SetDefaults();
}

void cAnimeSetData::RegisterFields(DWORD version)
{
    ClearTables();
    AddField4(&m_nRowOffsetA, 1, "nRowOffsetA");
    AddField4(&m_nRowOffsetB, 1, "nRowOffsetB");
    if (version >= 119) AddField4(&m_nRowOffsetC, 1, "nRowOffsetC");
    AddString(&m_strName, "strName");
    AddRecordList(&m_Slots, "Slots");
}

void cAnimeSetData::SetDefaults()
{
    Clear();
    m_nRowOffsetA = 4;
    m_nRowOffsetB = 8;
    m_nRowOffsetC = 0;
    m_Slots.assign(kSlots, cAnimeData());
    for (int slot = 0; slot < kSlots; ++slot) m_Slots[slot].m_strName = kSlotNames[slot];
}

void cAnimeSetData::Read(cDataReader& reader)
{
    cDataRecord::Read(reader);
    const DWORD version = reader.Version();
    if (version < 119) m_Slots.resize(kSlots);
    if (version < 128) {
        m_Slots.resize(kSlots);
        m_Slots[2].m_strName = kSlotNames[2];
        m_Slots[3].m_strName = kSlotNames[3];
    }
}
