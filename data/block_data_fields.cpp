#include "data/block_data.h"

void cBlockData::RegisterFields(DWORD)
{
    ClearTables();
    AddField1(&m_nInheritSource, 1, "nInheritSource");
    AddField2(&m_nInheritIndex, 1, "nInheritIndex");
    AddString(&m_strName, "strName");
    AddField1(&m_nConditionMode, 1, "nConditionMode");
    AddField1(&m_bCheckOnce, 1, "bCheckOnce");
    AddField2(&m_nImageNumber, 1, "nImageNumber");
    AddField1(&m_nImageKind, 1, "nImageKind");
    AddField2(&m_nImageFrame, 1, "nImageFrame");
    AddField1(&m_nDrawPass, 1, "nDrawPass");
    AddField1(&m_bHidden, 1, "bHidden");
    AddField1(&m_bMark, 1, "bMark");
    AddField2(&m_nMarkTile, 1, "nMarkTile");
    AddField1(&m_nHitMode, 1, "nHitMode");
    AddField1(&m_nPassLayer, 1, "nPassLayer");
    AddField1(&m_nEffect, 1, "nEffect");
    AddField4(&m_nEffectValue, 1, "nEffectValue");
    AddField1(&m_nItemSource, 1, "nItemSource");
    AddField2(&m_nItemIndex, 1, "nItemIndex");
    AddField1(&m_bFixed, 1, "bFixed");
    AddTailValues(&m_nColumn, 1, "nColumn");
    AddTailValues(&m_nRow, 1, "nRow");
    AddValueList(&m_InheritFlags, "InheritFlags");
    AddRecordList(&m_Conditions, "Conditions");
}
