#include "tools/quillbramwood-expr/expr_stage.h"

#include <cstdio>
#include <cstdlib>

#include "data/save_data.h"
#include "data/stage_data.h"
#include "flow/expression.h"
#include "flow/status_values.h"

namespace {

constexpr int kStageVariables = 255;
constexpr int kCharaVariables = 9;

std::unique_ptr<cChara> MakeChara()
{
    auto chara = std::make_unique<cChara>();
    chara->m_Def.Reset();
    chara->m_Def.m_nMaxHp = 100;
    chara->m_Def.m_nMaxSp = 50;
    chara->m_nHp = 100;
    chara->m_nSp = 50;
    chara->m_Vars.assign(kCharaVariables, 0);
    return chara;
}

// The field of a status by its name in the expressions.
STATUSFIELD NamedStatus(cChara& chara, int name)
{
    if (name < 8) return CharaStatusField(chara, STATUS_VARIABLE, name + 1);
    return CharaStatusField(chara, name - 8 + STATUS_HP, 0);
}

int FindStatusName(const std::string& name)
{
    for (int i = 0; i < kCodeStatusCount; ++i)
        if (name == g_CodeStatusNames[i]) return i;
    return -1;
}

std::string Text(int value) { return std::to_string(value); }

std::string Text(double value)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

std::string GaugeText(const GAUGE& gauge)
{
    return Text(gauge.nTimer) + "/" + Text(gauge.nLength) + "/" + Text(gauge.dChange);
}

}  // namespace

cExprStage::cExprStage()
    : m_lpScene(std::make_unique<cPlayScene>()), m_lpMy(MakeChara()), m_lpTarget(MakeChara()), m_lpPlayer(MakeChara())
{
    g_lpPlayScene = m_lpScene.get();
    m_lpScene->m_StageVars.assign(kStageVariables, 0);
    m_lpScene->m_TimeLimit.m_nTimeLeft = 100;
    m_lpScene->m_TimeLimit.m_bNoTimeLimit = 0;
    m_lpScene->m_bStatusChanged = 0;
    g_SaveData.m_Variables.assign(kCommonVariables, 0);
    g_SaveData.m_nScore = 0;
    g_SaveData.m_nLives = 3;
    g_StageData.SetSpeedLevel(1);
    g_StageData.m_bAutoScrollX = g_StageData.m_bAutoScrollY = 0;
    g_StageData.m_nAutoScrollSpeedX = g_StageData.m_nAutoScrollSpeedY = 0;
    m_lpMy->m_lpTarget = m_lpTarget.get();
    m_lpMy->RegisterWithTarget();
    m_lpScene->m_lpPlayerOne = m_lpPlayer.get();
    srand(1);
}

cExprStage::~cExprStage()
{
    m_lpScene->m_lpPlayerOne = nullptr;
    m_lpMy.reset();
    m_lpTarget.reset();
    m_lpPlayer.reset();
    m_lpScene.reset();
}

cChara* cExprStage::CharaByName(const std::string& who)
{
    if (who == "my") return m_lpMy.get();
    if (who == "tg") return m_lpTarget.get();
    if (who == "pl") return PlayerOne();
    return nullptr;
}

bool cExprStage::SetCharaValue(const std::string& who, const std::string& name, int value)
{
    cChara* chara = CharaByName(who);
    if (!chara) return false;
    if (name == "invincible") {
        chara->m_Def.m_nInvincible = static_cast<BYTE>(value);
        return true;
    }
    const int status = FindStatusName(name);
    if (status < 0) return false;
    NamedStatus(*chara, status).Write(value);
    return true;
}

bool cExprStage::SetStageValue(const std::string& name, int value)
{
    if (name.size() > 1 && (name[0] == 'C' || name[0] == 'S')) {
        const int index = std::atoi(name.c_str() + 1);
        cSafeVector<int>& list = (name[0] == 'C') ? g_SaveData.m_Variables : m_lpScene->m_StageVars;
        if (index < 0 || index >= static_cast<int>(list.size())) return false;
        list[static_cast<std::size_t>(index)] = value;
        return true;
    }
    if (name == "time") m_lpScene->m_TimeLimit.m_nTimeLeft = value;
    else if (name == "notimelimit") m_lpScene->m_TimeLimit.m_bNoTimeLimit = value;
    else if (name == "scrlx") g_StageData.m_nAutoScrollSpeedX = value;
    else if (name == "scrly") g_StageData.m_nAutoScrollSpeedY = value;
    else if (name == "autoscrollx") g_StageData.m_bAutoScrollX = value;
    else if (name == "autoscrolly") g_StageData.m_bAutoScrollY = value;
    else if (name == "score") g_SaveData.m_nScore = value;
    else if (name == "life") g_SaveData.m_nLives = value;
    else if (name == "substeps") g_StageData.SetSpeedLevel(value);
    else if (name == "seed") srand(static_cast<unsigned int>(value));
    else return false;
    return true;
}

void cExprStage::RemoveTarget()
{
    m_lpMy->UnregisterFromTarget();
    m_lpMy->m_lpTarget = nullptr;
}

bool cExprStage::SetPlayer(const std::string& who)
{
    if (who == "my") m_lpScene->m_lpPlayerOne = m_lpMy.get();
    else if (who == "pl") m_lpScene->m_lpPlayerOne = m_lpPlayer.get();
    else if (who == "none") m_lpScene->m_lpPlayerOne = nullptr;
    else return false;
    return true;
}

void cExprStage::AddChara(std::vector<std::pair<std::string, std::string>>& out, const char* who, const cChara& c) const
{
    const std::string prefix = std::string(who) + ".";
    cChara& chara = const_cast<cChara&>(c);
    for (int i = 0; i < kCodeStatusCount; ++i) out.emplace_back(prefix + g_CodeStatusNames[i], Text(NamedStatus(chara, i).Read()));
    out.emplace_back(prefix + "sightdots", Text(c.m_nSightRadius));
    out.emplace_back(prefix + "decel", Text(c.m_dDecel));
    out.emplace_back(prefix + "hpgauge", GaugeText(c.m_Gauges.m_HpGauge));
    out.emplace_back(prefix + "spgauge", GaugeText(c.m_Gauges.m_SpGauge));
}

std::vector<std::pair<std::string, std::string>> cExprStage::Snapshot() const
{
    std::vector<std::pair<std::string, std::string>> out;
    AddChara(out, "my", *m_lpMy);
    if (m_lpMy->m_lpTarget) AddChara(out, "tg", *m_lpTarget);
    if (PlayerOne() == m_lpPlayer.get()) AddChara(out, "pl", *m_lpPlayer);
    for (std::size_t i = 0; i < g_SaveData.m_Variables.size(); ++i)
        out.emplace_back("C" + std::to_string(i), Text(g_SaveData.m_Variables[i]));
    for (std::size_t i = 0; i < m_lpScene->m_StageVars.size(); ++i)
        out.emplace_back("S" + std::to_string(i), Text(m_lpScene->m_StageVars[i]));
    out.emplace_back("time", Text(m_lpScene->m_TimeLimit.m_nTimeLeft));
    out.emplace_back("scrlx", Text(g_StageData.m_nAutoScrollSpeedX));
    out.emplace_back("scrly", Text(g_StageData.m_nAutoScrollSpeedY));
    out.emplace_back("scrollx.speed", Text(m_lpScene->m_ScrollX.m_dSpeed));
    out.emplace_back("scrolly.speed", Text(m_lpScene->m_ScrollY.m_dSpeed));
    out.emplace_back("scrollx.auto", Text(m_lpScene->m_ScrollX.m_bAuto));
    out.emplace_back("scrolly.auto", Text(m_lpScene->m_ScrollY.m_bAuto));
    out.emplace_back("score", Text(g_SaveData.m_nScore));
    out.emplace_back("life", Text(g_SaveData.m_nLives));
    out.emplace_back("statuschanged", Text(m_lpScene->m_bStatusChanged));
    return out;
}
