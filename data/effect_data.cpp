#include "data/effect_data.h"

namespace {

// Files of this version or older lack parameters that later kinds read; they take the
// defaults of the kind's parameter table.
constexpr DWORD kLastVersionWithoutEffectParams = 510;

bool LacksEffectParams(DWORD version)
{
    return version < kDataVersion && version <= kLastVersionWithoutEffectParams;
}

}  // namespace

void cEffectFrameData::RegisterFields(DWORD)
{
    ClearTables();
    AddField4(&m_nFrame, 1, "nFrame");
    AddField4(&m_nDuration, 1, "nDuration");
}

cEffectData::cEffectData()
{
    SetDefaults();
}

void cEffectData::RegisterFields(DWORD version)
{
    ClearTables();
    if (version >= 151) AddField4(&m_nReserved, 1, "nReserved");
    AddField4(&m_nWidth, 1, "nWidth");
    AddField4(&m_nHeight, 1, "nHeight");
    AddField4(&m_bScaleWithChara, 1, "bScaleWithChara");
    AddString(&m_strName, "strName");
    AddString(&m_strFile, "strFile");
    AddRecordList(&m_Frames, "Frames");
}

void cEffectData::SetDefaults()
{
    Clear();
    m_nWidth = 32;
    m_nHeight = 32;
    m_bScaleWithChara = 0;
}

void cEffectData::Read(cDataReader& reader)
{
    cDataRecord::Read(reader);
    if (reader.Version() < 153) m_nReserved = 0;
}

void cCharaEffectData::Read(cDataReader& reader)
{
    cDataRecord::Read(reader);
    if (!LacksEffectParams(reader.Version())) return;
    if (m_nKind == 4 || m_nKind == 5) m_nParams[4] = 2;  // wave roughness
    if (m_nKind == 10) m_nParams[3] = 2;                 // circle roughness
}

void cScrEffectData::Read(cDataReader& reader)
{
    cDataRecord::Read(reader);
    if (!LacksEffectParams(reader.Version())) return;
    if (m_nKind == 6) m_nParams[4] = 8;   // horizontal wave roughness
    if (m_nKind == 7) m_nParams[4] = 10;  // vertical wave roughness
    if (m_nKind == 10) m_nParams[3] = 8;  // circle roughness
}
