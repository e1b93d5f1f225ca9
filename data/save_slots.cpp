// The story slots, the slot list and the challenge file.
#include <algorithm>
#include <cstdio>

#include "data/data_paths.h"
#include "data/game_modes.h"
#include "data/player_file.h"
#include "data/save_data.h"
#include "data/system_data.h"
#include "platform/os/timer.h"
#include "shell/game_arithmetic.h"
#include "shell/log.h"

namespace {

bool IsSlot(int slot)
{
    return slot >= 0 && slot < kSaveSlots;
}

}  // namespace

std::string SaveSlotPath(int slot)
{
    char number[16];
    std::snprintf(number, sizeof number, "%02d", slot + 1);
    return std::string(g_DataPaths[DATAPATH_STORY_PREFIX]) + number + ".dat";
}

void cSaveSlotInfo::SetFrom(const cSaveData& save)
{
    m_bUsed = 1;
    m_SaveTime = save.m_SaveTime;
}

void LoadSaveSlotList(cSafeVector<cSaveSlotInfo>& slots)
{
    cSaveData save;
    for (std::size_t i = 0; i < slots.size(); ++i) {
        if (LoadPlayerFile(save, SaveSlotPath(static_cast<int>(i)).c_str()) == PLAYERFILE_LOADED) slots[i].SetFrom(save);
        else slots[i] = cSaveSlotInfo();
    }
}

int cSaveData::SaveSlot(int slot)
{
    if (!IsSlot(slot)) return 0;
    const std::string path = SaveSlotPath(slot);
    const SYSTEMTIME before = m_SaveTime;
    GetLocalTime(&m_SaveTime);
    if (!Save(path.c_str())) {
        m_SaveTime = before;
        ReportLog("%s : the progress could not be saved; the file is as it was", path.c_str());
        return 0;
    }
    g_SaveSlots.At(slot).SetFrom(*this);
    return 1;
}

int cSaveData::LoadSlot(int slot)
{
    if (!IsSlot(slot)) return 0;
    return LoadFile(SaveSlotPath(slot).c_str(), PLAYMODE_STORY);
}

int cSaveData::LoadChallenge()
{
    return LoadFile(g_DataPaths[DATAPATH_CHALLENGE_RECORDS], PLAYMODE_CHALLENGE);
}

int cSaveData::SaveChallenge()
{
    const char* path = g_DataPaths[DATAPATH_CHALLENGE_RECORDS];
    if (Save(path)) return 1;
    ReportLog("%s : the challenge records could not be saved; the file is as it was", path);
    return 0;
}

int cSaveData::LoadFile(const char* path, int mode)
{
    if (LoadPlayerFile(*this, path) != PLAYERFILE_LOADED) return 0;
    ApplyLivesRule(mode);
    return 1;
}

void cSaveData::ApplyLivesRule(int mode)
{
    const cSystemData& system = g_SystemData;
    if (system.m_UnlimitedLives.At(mode)) {
        m_nStartLives = m_nLives = kUnlimitedLives;
    } else if (m_nLives == kUnlimitedLives) {
        m_nLives = system.m_StartLives.At(mode);
    }
}

void cSaveData::RecordChallengeClear(int stage)
{
    if (stage < 1 || static_cast<std::size_t>(stage) > m_ChallengeStages.size()) return;
    cChallengeStageData& record = m_ChallengeStages[static_cast<std::size_t>(stage) - 1];
    record.m_bCleared = 1;
    if (m_nResult1 > record.m_nBest) {
        m_nBestTotal = WrapAdd(m_nBestTotal, WrapSub(m_nResult1, record.m_nBest));
        record.m_nBest = m_nResult1;
    }
    if (m_nStageNumber <= stage) m_nStageNumber = std::min(stage + 1, std::max(g_SystemData.m_nChallengeStages, 1));
}
