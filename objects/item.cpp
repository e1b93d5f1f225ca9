#include "objects/item.h"

#include "data/stage_data.h"
#include "data/stage_geometry.h"
#include "shell/game_arithmetic.h"

cItem::cItem()
{
    m_Def.Reset();
}

int cItem::Scale() const
{
    return EffectiveScale(m_Def.m_nGiantScale);
}

void cItem::InitFromDefinition(int serial, cItemData& definition, int active)
{
    if (definition.m_nGiantScale == 0) definition.m_nGiantScale = 1;
    m_Def = definition;
    const int width = g_StageData.m_nItemBoxW;
    const int height = g_StageData.m_nItemBoxH;
    InitCommon(serial, 0, 0, 0, m_Def.m_nImageNumber, g_ItemAnimePatterns, 0, WrapSub(16, width / 2),
               WrapSub(16, height / 2), width, height, kCell, kCell, 0, 1, 0);
    m_bScrollRelative = 0;
    if (active == 0) {
        SetScale(m_Def.m_nGiantScale, 1);
    } else {
        m_bActive = 1;
    }
}

void cItem::PlaceAtBlock(int column, int row)
{
    m_dX = WrapAdd(WrapMul(WrapAdd(column, kMarginBlocks), kCell), m_nDrawOffsetX) + 0.5;
    m_dY = WrapAdd(WrapMul(WrapAdd(row, kMarginBlocks), kCell), m_nDrawOffsetY);
    AdjustForScale(Scale(), 1);
    ClampX(2);
    ClampY(2);
}

void cItem::AdjustYForScale(int newScale, int oldScale)
{
    if (newScale == oldScale) return;
    m_dY -= WrapMul(WrapSub(newScale, oldScale), WrapAdd(m_nBaseHeight, m_nBaseDrawOffsetY));
    ClampY(2);
}
