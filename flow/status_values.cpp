#include "flow/status_values.h"

#include "data/save_data.h"
#include "data/role_accessors.h"
#include "data/stage_data.h"
#include "graphics/standard_surfaces.h"
#include "objects/chara.h"
#include "objects/chara_movement.h"
#include "play/play_scene.h"

namespace {

STATUSFIELD Field8(void* field) { return STATUSFIELD{field, 8}; }
STATUSFIELD Field16(void* field) { return STATUSFIELD{field, 16}; }
STATUSFIELD Field32(void* field) { return STATUSFIELD{field, 32}; }

struct STATUSRULE {
    int nWidth;
    int nLow;
    int nHigh;
};

constexpr STATUSRULE kStatusRules[kStatusCount] = {
    {32, -999999, 999999},  // chara variable
    {32, 0, 999999},        // HP, before the chara's own clamp
    {32, 0, 999999},        // SP
    {32, 0, 999999},        // maximum HP
    {32, 0, 999999},        // maximum SP
    {8, 0, 99},             // chara ID
    {8, 0, 7},              // Z order
    {16, 0, 119},           // mark
    {8, 0, 40},             // sight
    {32, -999999, 999999},  // body-attack power
    {8, -20, 20},           // body-attack impact
    {32, 0, 999999},        // defence
    {8, 0, 20},             // impact resistance
    {16, 0, 200},           // ease of stopping
    {32, -999999, 999999},  // score for a defeat
};

constexpr int kSystemLow[kSystemCount] = {0, -480, -480, 0, 0};
constexpr int kSystemHigh[kSystemCount] = {999, 480, 480, 999999, 99};

}  // namespace

int STATUSFIELD::Read() const
{
    if (!lpField) return 0;
    if (nWidth == 8) return *static_cast<const std::int8_t*>(lpField);
    if (nWidth == 16) return *static_cast<const std::int16_t*>(lpField);
    return *static_cast<const std::int32_t*>(lpField);
}

void STATUSFIELD::Write(int value) const
{
    if (!lpField) return;
    if (nWidth == 8) *static_cast<std::int8_t*>(lpField) = static_cast<std::int8_t>(value);
    else if (nWidth == 16) *static_cast<std::int16_t*>(lpField) = static_cast<std::int16_t>(value);
    else *static_cast<std::int32_t*>(lpField) = value;
}

STATUSFIELD CharaStatusField(cChara& chara, int status, int variable)
{
    cCharaData& def = chara.m_Def;
    switch (status) {
    case STATUS_VARIABLE: return Field32(&chara.m_Vars.At(variable));
    case STATUS_HP: return Field32(&chara.m_nHp);
    case STATUS_SP: return Field32(&chara.m_nSp);
    case STATUS_MAXHP: return Field32(&def.m_nMaxHp);
    case STATUS_MAXSP: return Field32(&def.m_nMaxSp);
    case STATUS_CHARAID: return Field8(&def.m_nCharaId);
    case STATUS_Z: return Field8(&def.m_nZ);
    case STATUS_MARK: return Field16(&def.m_nMark);
    case STATUS_SIGHT: return Field8(&def.m_nSightRange);
    case STATUS_POWER: return Field32(&def.m_nBodyAttack);
    case STATUS_IMPACT: return Field8(&def.m_nBodyImpact);
    case STATUS_DEFENCE: return Field32(&def.m_nDefence);
    case STATUS_IMPACTRESIST: return Field8(&def.m_nImpactResistance);
    case STATUS_STOP: return Field16(&def.m_nEaseOfStopping);
    case STATUS_SCORE: return Field32(&def.m_nScore);
    default: return STATUSFIELD{};
    }
}

int StatusWidth(int status)
{
    return (status >= 0 && status < kStatusCount) ? kStatusRules[status].nWidth : 32;
}

void StatusRange(int status, int& low, int& high)
{
    if (status < 0 || status >= kStatusCount) status = STATUS_VARIABLE;
    low = kStatusRules[status].nLow;
    high = kStatusRules[status].nHigh;
}

int* SystemValueField(int index)
{
    switch (index) {
    case SYSTEM_TIME: {
        cPlayScene* scene = g_lpPlayScene.load();
        return scene ? &scene->m_TimeLimit.m_nTimeLeft : nullptr;
    }
    case SYSTEM_SCROLLX: return &g_StageData.m_nAutoScrollSpeedX;
    case SYSTEM_SCROLLY: return &g_StageData.m_nAutoScrollSpeedY;
    case SYSTEM_SCORE: return &g_SaveData.m_nScore;
    case SYSTEM_LIVES: return &g_SaveData.m_nLives;
    default: return nullptr;
    }
}

void SystemRange(int index, int& low, int& high)
{
    if (index < 0 || index >= kSystemCount) index = SYSTEM_TIME;
    low = kSystemLow[index];
    high = kSystemHigh[index];
}

bool LivesUnlimited()
{
    return g_SaveData.m_nLives == kUnlimitedLives;
}

bool ReadStatusOperand(cChara& chara, int object, int index, int variable, int& value)
{
    value = 0;
    if (object == 2) {
        const cPlayScene* scene = g_lpPlayScene.load();
        if (index == SYSTEM_TIME) {
            if (scene && scene->m_TimeLimit.m_bNoTimeLimit == 0) value = scene->m_TimeLimit.m_nTimeLeft;
        } else if (index == SYSTEM_LIVES) {
            if (!LivesUnlimited()) value = g_SaveData.m_nLives;
        } else if (const int* field = SystemValueField(index)) {
            value = *field;
        }
        return true;
    }
    cChara* owner = (object == 1) ? chara.m_lpTarget : &chara;
    if (!owner) return false;
    if (index == STATUS_SIGHT && !IsHero(*owner)) return false;
    value = CharaStatusField(*owner, index, variable).Read();
    return true;
}

int* VariableField(int kind, int index)
{
    if (kind == 0) return &g_SaveData.m_Variables.At(index);
    if (kind == 1) {
        cPlayScene* scene = g_lpPlayScene.load();
        return scene ? &scene->m_StageVars.At(index) : nullptr;
    }
    return nullptr;
}

bool IsHero(const cChara& chara)
{
    // A stage has one player, so the heroes are player 1.
    return &chara == PlayerOne();
}

void AfterSightChange(cChara& chara)
{
    chara.m_nSightRadius = HblToDot(CharaSightRadius(chara.m_Def));
    if (cPlayScene* scene = g_lpPlayScene.load(); scene && IsHero(chara))
        scene->m_StagePictures.BuildSightMask(&g_StdSurface[kSightMask], &g_StdSurface[kSightHole]);
}

void AfterStopChange(cChara& chara)
{
    chara.m_dDecel = HundredthsToStepSpeed(CharaDeceleration(chara.m_Def), CurrentStageSpeed());
}

void AfterScrollSpeedChange(int axis)
{
    cPlayScene* scene = g_lpPlayScene.load();
    if (!scene) return;
    if (axis == 0) scene->m_ScrollX.SetAutoScroll(g_StageData.m_bAutoScrollX, g_StageData.m_nAutoScrollSpeedX, g_StageData.m_dSubSteps);
    else scene->m_ScrollY.SetAutoScroll(g_StageData.m_bAutoScrollY, g_StageData.m_nAutoScrollSpeedY, g_StageData.m_dSubSteps);
}

void NoteHpChange(const cChara& changed, const cChara& running)
{
    if (&changed == &running || changed.m_nHp > 0) return;
    if (cPlayScene* scene = g_lpPlayScene.load()) scene->m_bStatusChanged = 1;
}
