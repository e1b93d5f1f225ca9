#include "data/item_data.h"

void cItemData::RegisterFields(DWORD)
{
    ClearTables();
    AddField1(&m_nInheritSource, 1, "nInheritSource");
    AddField2(&m_nInheritIndex, 1, "nInheritIndex");
    AddString(&m_strName, "strName");
    AddField1(&m_nConditionMode, 1, "nConditionMode");
    AddField1(&m_bCheckOnce, 1, "bCheckOnce");
    AddField2(&m_nGroup2Setting, 1, "nGroup2Setting");
    AddField2(&m_nGroup3Setting, 1, "nGroup3Setting");
    AddField2(&m_nImageNumber, 1, "nImageNumber");
    AddField1(&m_nImageKind, 1, "nImageKind");
    AddField2(&m_nImageFrame, 1, "nImageFrame");
    AddField1(&m_nGroup5Setting, 1, "nGroup5Setting");
    AddField1(&m_bHidden, 1, "bHidden");
    AddField1(&m_bMark, 1, "bMark");
    AddField2(&m_nMarkTile, 1, "nMarkTile");
    AddField1(&m_bPickupMessage, 1, "bPickupMessage");
    AddField1(&m_nPickupMode, 1, "nPickupMode");
    AddField1(&m_nGiantScale, 1, "nGiantScale");
    AddField2(&m_nSound, 1, "nSound");
    AddTailValues(&m_nColumn, 1, "nColumn");
    AddTailValues(&m_nRow, 1, "nRow");
    AddValueList(&m_InheritFlags, "InheritFlags");
    AddRecordList(&m_Conditions, "Conditions");
    AddRecordList(&m_Actions, "Actions");
}
