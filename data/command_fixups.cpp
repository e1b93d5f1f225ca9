// The upgrades of commands read from older files. A row applies to a kind under the numbering
// the command's m_bItemAction selects; some rows are for flow commands only.
#include "data/command_data.h"
#include "data/command_info.h"
#include "data/list_fixups.h"
#include "shell/game_arithmetic.h"
#include "shell/safe_container.h"

namespace {

// Makes the list exactly n long: new entries 0, surplus entries dropped.
void ResizeParams(cSafeVector<std::int32_t>& params, std::size_t n)
{
    params.resize(n, 0);
}

// Rows that read parameters of an older, shorter list first pad it to the kind's count, so
// that they never read past its end; a longer list is left to Validate.
void PadParams(cSafeVector<std::int32_t>& params, std::size_t n)
{
    if (params.size() < n) params.resize(n, 0);
}

// The status operation's statuses from index `from` on moved up by one.
void ShiftStatusParams(cSafeVector<std::int32_t>& p, int from)
{
    PadParams(p, 18);
    if (p[0] == 0 && p[3] != 2 && p[4] >= from) p[4] = WrapAdd(p[4], 1);
    if (p[6] == 2 && p[12] != 2 && p[13] >= from) p[13] = WrapAdd(p[13], 1);
}

}  // namespace

void cCommandData::Upgrade(DWORD v)
{
    const int kind = CommandKindOf(m_bItemAction, m_nKind);
    const bool flowOnly = !m_bItemAction;
    cSafeVector<std::int32_t>& p = m_Params;

    if (v < 145 && kind == COMMAND_STAGE_CLEAR) ResizeParams(p, 9);
    if (v < 166 && kind == COMMAND_BGM) {
        ResizeParams(p, 2);
        p[1] = 1;
    }
    if (v < 168 && kind == COMMAND_STATUS) ShiftStatusParams(p, 10);
    if (v < 189 && kind == COMMAND_SET_TARGET) InsertFixed<std::int32_t>(p, 10, 2, 0);
    if (v < 194 && kind == COMMAND_PICTURE) InsertFixed<std::int32_t>(p, 14, 6, 1);
    if (v < 195 && (kind == COMMAND_CHARA_EFFECT || kind == COMMAND_SCREEN_EFFECT)) InsertFixed<std::int32_t>(p, 3, 1, 0);
    if (v < 203 && flowOnly && (kind == COMMAND_CHARA_SUMMON || kind == COMMAND_ITEM_SUMMON)) p.clear();
    if (v < 203 && flowOnly && kind == COMMAND_FLOW_OPERATION) ResizeParams(p, 3);
    if (v < 203 && kind == COMMAND_STATUS) ShiftStatusParams(p, 5);
    if (v < 210 && kind == COMMAND_STATUS2) {
        PadParams(p, 3);
        if (p[0] != 2 && p[1] >= 6) p[1] = WrapAdd(p[1], 1);
    }
    if (v < 219 && kind == COMMAND_CHANGE_GRAPHIC) {
        PadParams(p, 3);
        if (p[0] == 3) p[1] = p[1] >= 119 ? 119 : p[1] + 1;
    }
    if (v < 220 && flowOnly && kind == COMMAND_SHOT && m_pShot) {
        std::int16_t& graphic = m_pShot->m_nGraphic;
        graphic = static_cast<std::int16_t>(graphic >= 119 ? 119 : graphic + 1);
    }
    if (v < 514 && flowOnly && kind == COMMAND_CHARGE_MOVE && m_pMove) {
        m_pMove->m_nAngle = 0;
        m_pMove->m_nAnglePerFactor = 0;
        m_pMove->m_bMirrorAngle = 1;
    }
    if (v < 545 && kind == COMMAND_MESSAGE) {
        ResizeParams(p, 17);
        p[10] = 1;
    }
    if (v < 545 && kind == COMMAND_PICTURE) {
        ResizeParams(p, 14);
        p[11] = 0;
    }
    if (v < 546 && kind == COMMAND_MESSAGE) {
        PadParams(p, 17);
        p[10] = (p[0] == 0 || p[0] == 7) ? 1 : 0;
    }
    if (v < 547 && kind == COMMAND_MESSAGE) {
        ResizeParams(p, 17);
        p[11] = 0;
        p[12] = 0;
        p[13] = 0;
        p[14] = 1;
        p[15] = 0;
    }
    if (v < 547 && kind == COMMAND_PICTURE) {
        ResizeParams(p, 14);
        p[12] = 0;
        p[13] = 0;
    }
    if (v <= 555 && kind == COMMAND_MESSAGE) {
        ResizeParams(p, 17);
        p[16] = 1;
    }
}
