#include "data/item_data.h"

// The last number of an entry: the property group that the member belongs to.
void cItemData::RegisterFields(DWORD)
{
    RegisterHead();
    AddField2(&m_nGroup2Setting, 1, "nGroup2Setting", 2);
    AddField2(&m_nGroup3Setting, 1, "nGroup3Setting", 3);
    RegisterImage(4);
    AddField1(&m_nGroup5Setting, 1, "nGroup5Setting", 5);
    AddField1(&m_bHidden, 1, "bHidden", 6);
    AddField1(&m_bMark, 1, "bMark", 7);
    AddField2(&m_nMarkTile, 1, "nMarkTile", 7);
    AddField1(&m_bPickupMessage, 1, "bPickupMessage", 10);
    AddField1(&m_nPickupMode, 1, "nPickupMode", 9);
    AddField1(&m_nGiantScale, 1, "nGiantScale", 8);
    AddField2(&m_nSound, 1, "nSound", 11);
    RegisterPosition();
    RegisterInheritance();
    AddRecordList(&m_Actions, "Actions", 12);
}
