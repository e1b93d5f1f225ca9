// Putting charas and items into the running stage: the placements of the stage record at
// set-up, and the summons of flows while it runs. Each object is built in a node of its own
// and linked into its list only once it is known to stay, so that no copy of it ever exists.
#include <iterator>

#include "data/role_accessors.h"
#include "data/stage_data.h"
#include "data/stage_geometry.h"
#include "play/play_scene.h"
#include "shell/game_arithmetic.h"

namespace {

// The centre of a stage block cell in stage pixels.
int CellCentre(int block)
{
    return WrapMul(WrapAdd(block, kMarginBlocks), kCell) | 16;
}

void MoveBounds(cGameObject& object, double dx, double dy)
{
    object.m_dX += dx;
    object.m_dRight += dx;
    object.m_dY += dy;
    object.m_dBottom += dy;
}

// Lifetime in sub-steps of a summon whose life is limited: tenths of a second, 6 frames each.
void ApplySummonLife(cGameObject& object, const cEdShot& command)
{
    if (SummonLifeOn(command) == 0) return;
    object.m_nLife = WrapMul(WrapMul(SummonLife(command), g_StageData.m_nSubSteps), 6);
}

}  // namespace

void cStageObjects::PlaceStageObjects()
{
    cSafeVector<int> carried(g_StageData.m_Items.size(), 0);
    for (const cCharaData& placement : g_StageData.m_Charas) {
        if (CharaKind(placement) != 1) continue;
        const int index = placement.m_nHeldItem;
        if (index == -1) {
            PlaceChara(placement.m_nColumn, placement.m_nRow, placement, nullptr);
            continue;
        }
        cItemData definition = g_StageData.m_Items.At(index);
        cItem item;
        item.InitFromDefinition(m_nItemSerial, definition, 1);
        m_nItemSerial = WrapAdd(m_nItemSerial, 1);
        PlaceChara(placement.m_nColumn, placement.m_nRow, placement, &item);
        carried.At(index) = 1;
    }
    for (std::size_t i = 0; i < g_StageData.m_Items.size(); ++i) {
        if (carried[i] != 0) continue;
        const cItemData& placement = g_StageData.m_Items[i];
        PlaceItem(placement.m_nColumn, placement.m_nRow, placement);
    }
}

void cStageObjects::PlaceChara(int column, int row, const cCharaData& placement, const cItem* item)
{
    cCharaData definition = placement;
    const int copies = WrapAdd(definition.m_nCopies, 1);
    for (int i = 0; i < copies; ++i) {
        cCharaList node;
        cStageChara& chara = node.emplace_back();
        chara.Spawn(m_nCharaSerial, definition, item, CellCentre(column), CellCentre(row), i);
        chara.PlaceAtBlock(column, row);
        MoveBounds(chara, definition.OffsetX(i, CharaFacing(definition)), definition.OffsetY(i, CharaFacing(definition)));
        if (!chara.IsInsideStage(1)) continue;
        chara.OnMovedX();
        chara.OnMovedY();
        m_Charas.splice(m_Charas.end(), node);
        chara.UpdateScreenRect();
        m_nCharaSerial = WrapAdd(m_nCharaSerial, 1);
    }
}

void cStageObjects::PlaceItem(int column, int row, const cItemData& placement)
{
    cItemData definition = placement;
    cItemList node;
    cItem& item = node.emplace_back();
    item.InitFromDefinition(m_nItemSerial, definition, 0);
    item.PlaceAtBlock(column, row);
    MoveBounds(item, ItemOffsetX(definition), ItemOffsetY(definition));
    if (!item.IsInsideStage(1)) return;
    item.ClampX(2);
    item.ClampY(2);
    m_Items.splice(m_Items.end(), node);
    item.UpdateScreenRect();
    m_nItemSerial = WrapAdd(m_nItemSerial, 1);
}

void cStageObjects::SummonChara(double x, double y, int layer, int direction, const cEdShot& command,
                             const cCharaData& definition)
{
    cCharaData summoned = definition;
    SetCharaFacing(summoned, direction);
    SetCharaLayer(summoned, layer);
    if (SummonNoScore(command) != 0) SetCharaScore(summoned, 0);
    const int copies = WrapAdd(summoned.m_nCopies, 1);
    for (int i = 0; i < copies; ++i) {
        cCharaList node;
        cStageChara& chara = node.emplace_back();
        // The home point stays where valid games expect it: the position plus the margin once
        // more, as home-relative moves of summoned charas have always been measured from it.
        chara.Spawn(m_nCharaSerial, summoned, nullptr, x + 336, y + 336, i);
        chara.m_dX = x + chara.m_nDrawOffsetX;
        chara.m_dY = y + chara.m_nDrawOffsetY;
        chara.m_dRight = chara.m_dX + chara.m_nWidth - 1;
        chara.m_dBottom = chara.m_dY + chara.m_nHeight - 1;
        MoveBounds(chara, summoned.OffsetX(i, direction), summoned.OffsetY(i, direction));
        if (!chara.IsInsideStage(1)) continue;
        chara.OnMovedX();
        chara.OnMovedY();
        m_Charas.splice(m_Charas.end(), node);
        chara.UpdateScreenRect();
        if (IsInSolid(chara)) {
            // Erased at once: its serial goes to the next chara.
            UnlinkChara(std::prev(m_Charas.end()));
            continue;
        }
        ApplySummonLife(chara, command);
        m_CharaLayers.At(CharaLayer(chara.m_Def)).push_front(&chara);
        m_nCharaSerial = WrapAdd(m_nCharaSerial, 1);
    }
}

void cStageObjects::SummonItem(double x, double y, int /*facing*/, const cEdShot& command, const cItemData& definition)
{
    cItemData summoned = definition;
    cItemList node;
    cItem& item = node.emplace_back();
    item.InitFromDefinition(m_nItemSerial, summoned, 0);
    item.m_dX = x + item.m_nDrawOffsetX;
    item.m_dY = y + item.m_nDrawOffsetY;
    item.m_dRight = item.m_dX + item.m_nWidth - 1;
    item.m_dBottom = item.m_dY + item.m_nHeight - 1;
    MoveBounds(item, ItemOffsetX(summoned), ItemOffsetY(summoned));
    if (!item.IsInsideStage(1)) return;
    item.ClampX(2);
    item.ClampY(2);
    ApplySummonLife(item, command);
    m_Items.splice(m_Items.end(), node);
    m_nItemSerial = WrapAdd(m_nItemSerial, 1);
}
