// The chips, points and stage entries of the world map.
#include <cstdint>

#include "data/world_map_data.h"

namespace {

// The first version whose stage entries hold a minimum total.
constexpr DWORD kMinimumTotalVersion = 209;

// The eight comparisons of the flow conditions; taken in 64 bits, so that no value of a
// file divides INT_MIN by -1.
bool Compare(int variable, int op, int value)
{
    const std::int64_t v = variable, w = value;
    switch (op) {
    case 0: return v == w;
    case 1: return v != w;
    case 2: return v >= w;
    case 3: return v <= w;
    case 4: return v > w;
    case 5: return v < w;
    case 6: return w == 0 || v % w == 0;
    case 7: return w != 0 && v % w != 0;
    default: return false;
    }
}

int SwitchOf(const WORLDSTAGESTATE& state, int number)
{
    if (number < 0 || static_cast<std::size_t>(number) >= state.switches.size()) return 0;
    return state.switches[static_cast<std::size_t>(number)];
}

int VariableOf(const WORLDSTAGESTATE& state, int number)
{
    if (number < 0 || static_cast<std::size_t>(number) >= state.variables.size()) return 0;
    return state.variables[static_cast<std::size_t>(number)];
}

}  // namespace

void cWorldChipData::RegisterFields(DWORD)
{
    ClearTables();
    AddField4(&m_nReserved, 1, "nReserved");
    AddField4(&m_bBlocked, 1, "bBlocked");
    AddField4(&m_nPicture, 1, "nPicture");
    AddString(&m_strReserved, "strReserved");
    AddString(&m_strName, "strName");
}

void cWorldStageData::RegisterFields(DWORD version)
{
    ClearTables();
    AddField4(&m_nLock, 1, "nLock");
    AddField4(&m_nIcon, 1, "nIcon");
    AddField4(&m_nClearSwitch, 1, "nClearSwitch");
    AddField4(&m_bPassThrough, 1, "bPassThrough");
    AddField4(&m_bReplayable, 1, "bReplayable");
    AddField4(&m_nReserved, 1, "nReserved");
    AddField4(&m_nRequiredSwitch, 1, "nRequiredSwitch");
    AddField4(&m_nConditionVariable, 1, "nConditionVariable");
    AddField4(&m_nConditionValue, 1, "nConditionValue");
    AddField4(&m_nConditionOperator, 1, "nConditionOperator");
    if (version >= kMinimumTotalVersion) AddField4(&m_nMinimumTotal, 1, "nMinimumTotal");
    AddString(&m_strLabel, "strLabel");
    AddString(&m_strStageFile, "strStageFile");
}

void cWorldStageData::Read(cDataReader& reader)
{
    cDataRecord::Read(reader);
    if (reader.Version() < kMinimumTotalVersion) m_nMinimumTotal = 0;
}

bool cWorldStageData::IsOffered(const WORLDSTAGESTATE& state) const
{
    if (m_nRequiredSwitch > 0 && !SwitchOf(state, m_nRequiredSwitch)) return false;
    if (m_nConditionVariable != 0 &&
        !Compare(VariableOf(state, m_nConditionVariable), m_nConditionOperator, m_nConditionValue))
        return false;
    return state.nBestTotal >= m_nMinimumTotal;
}

cWorldPointData::cWorldPointData()
{
    m_Stages.resize(1);
}

void cWorldPointData::RegisterFields(DWORD)
{
    ClearTables();
    AddField4(&m_nX, 1, "nX");
    AddField4(&m_nY, 1, "nY");
    AddString(&m_strName, "strName");
    AddRecordList(&m_Stages, "Stages");
}

void cWorldPointData::Reset()
{
    Clear();
    m_Stages.resize(1);
}

const cWorldStageData* cWorldPointData::FindOfferedStage(const WORLDSTAGESTATE& state) const
{
    for (const cWorldStageData& stage : m_Stages) {
        if (stage.IsOffered(state)) return &stage;
    }
    return nullptr;
}
