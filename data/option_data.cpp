#include "data/option_data.h"

namespace {

constexpr int kDefaultWindowColor = 0;
constexpr int kDefaultVolume = 7;

}  // namespace

cOptionData::cOptionData()
{
    Clear();
    m_bBgm = 1;
    m_nVolume = kDefaultVolume;
    m_strName = "aaa";
}

void cOptionData::RegisterFields(DWORD)
{
    ClearTables();
    AddField4(&m_nWindowColor, 1, "nWindowColor");
    AddField4(&m_bBgm, 1, "bBgm");
    AddField4(&m_nVolume, 1, "nVolume");
    AddField4(&m_nRankingMode, 1, "nRankingMode");
    AddString(&m_strName, "strName");
}

void cOptionData::Read(cDataReader& reader)
{
    cDataRecord::Read(reader);
    // The volume indexes the volume table and the colour picks a blend table and a palette
    // row: a value from a damaged or foreign file must not reach past them.
    if (m_nVolume < 0 || m_nVolume >= kVolumeLevels) m_nVolume = kDefaultVolume;
    if (m_nWindowColor < 0 || m_nWindowColor >= kWindowColors) m_nWindowColor = kDefaultWindowColor;
}
