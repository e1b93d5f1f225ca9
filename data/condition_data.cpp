#include "data/condition_data.h"

#include "data/data_version.h"

void cConditionData::RegisterFields(DWORD version)
{
    ClearTables();
    AddField1(&m_nKind, 1, "nKind");
    AddField4(&m_nOperand, 1, "nOperand");
    if (version >= 110) {
        AddField4(&m_nRandomMin, 1, "nRandomMin");
        AddField4(&m_nRandomMax, 1, "nRandomMax");
        AddField1(&m_nHolder, 1, "nHolder");
        AddField1(&m_nItem, 1, "nItem");
        AddField1(&m_nValueSource, 1, "nValueSource");
        AddField1(&m_nVariableScope, 1, "nVariableScope");
        AddField2(&m_nVariable, 1, "nVariable");
        AddField1(&m_nOperandSource, 1, "nOperandSource");
        AddField1(&m_nOperandHolder, 1, "nOperandHolder");
        AddField1(&m_nOperandItem, 1, "nOperandItem");
        AddField1(&m_nOperandScope, 1, "nOperandScope");
        AddField2(&m_nOperandVariable, 1, "nOperandVariable");
    } else {
        // Two values older files kept here and nothing uses.
        AddField2(&g_wDiscardField, 1, "wDiscard");
        AddField2(&g_wDiscardField, 1, "wDiscard");
    }
    AddField1(&m_nOperator, 1, "nOperator");
    if (version >= 43) AddField1(&m_bPercent, 1, "bPercent");
    AddField1(&m_nArea, 1, "nArea");
}

void cConditionData::Read(cDataReader& reader)
{
    cDataRecord::Read(reader);
    const DWORD version = reader.Version();
    // The status lists grew twice, after status 9 and after status 4; flag 6 moved up once.
    auto shiftStatuses = [this](int from) {
        if (m_nValueSource == 0 && m_nHolder != 2 && m_nItem >= from) ++m_nItem;
        if (m_nOperandSource == 2 && m_nOperandHolder != 2 && m_nOperandItem >= from) ++m_nOperandItem;
    };
    if (version < 160 && m_nKind >= 5) m_nKind = static_cast<std::int8_t>(m_nKind + 2);
    if (version <= 160 && m_nKind == 6 && m_nItem == 2) m_nOperator = static_cast<std::int8_t>(m_nOperator ^ 1);
    if (version < 168 && m_nKind == 4) shiftStatuses(10);
    if (version < 203 && m_nKind == 4) shiftStatuses(5);
    if (version < 210 && m_nKind == 5 && m_nHolder != 2 && m_nItem >= 6) ++m_nItem;
    if (version <= 656 && m_nKind == 7) m_nHolder = 0;
}

cKeyConditionData::cKeyConditionData() : m_Keys(kKeys, 0)
{
}

void cKeyConditionData::RegisterFields(DWORD)
{
    ClearTables();
    AddField1(&m_bFacingRelative, 1, "bFacingRelative");
    AddField2(&m_nMinFrames, 1, "nMinFrames");
    AddField2(&m_nMaxFrames, 1, "nMaxFrames");
    AddField1(&m_bAnyDuration, 1, "bAnyDuration");
    AddField1(&m_nKeyRule, 1, "nKeyRule");
    AddValueList(&m_Keys, "Keys");
}

void cKeyConditionData::Init()
{
    Clear();
    m_Keys.resize(kKeys, 0);
}

int cKeyConditionData::KeyState(int i) const
{
    return (i >= 0 && static_cast<std::size_t>(i) < m_Keys.size()) ? m_Keys[static_cast<std::size_t>(i)] : 0;
}
