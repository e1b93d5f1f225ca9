#include "data/block_data.h"

// The last number of an entry: the property group that the member belongs to.
void cBlockData::RegisterFields(DWORD)
{
    RegisterHead();
    RegisterImage(2);
    AddField1(&m_nDrawPass, 1, "nDrawPass", 3);
    AddField1(&m_bHidden, 1, "bHidden", 4);
    AddField1(&m_bMark, 1, "bMark", 5);
    AddField2(&m_nMarkTile, 1, "nMarkTile", 5);
    AddField1(&m_nHitMode, 1, "nHitMode", 6);
    AddField1(&m_nPassLayer, 1, "nPassLayer", 7);
    AddField1(&m_nEffect, 1, "nEffect", 8);
    AddField4(&m_nEffectValue, 1, "nEffectValue", 8);
    AddField1(&m_nItemSource, 1, "nItemSource", 9);
    AddField2(&m_nItemIndex, 1, "nItemIndex", 9);
    AddField1(&m_bFixed, 1, "bFixed", 10);
    RegisterPosition();
    RegisterInheritance();
}
