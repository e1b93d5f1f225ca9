// Building a chara's running flows from flow records, and the schedule of the animations that
// flow commands name, timed so that each lead-in ends as its command starts.
#include <algorithm>

#include "data/database.h"
#include "data/stage_data.h"
#include "flow/command_table.h"
#include "objects/chara.h"
#include "shell/game_arithmetic.h"

namespace {

// Frames of the anime before its first locked frame: 6 x their durations in tenths.
int LeadInFrames(const cAnimeData& anime)
{
    int tenths = 0;
    for (const cAnimeFrameData& frame : anime.m_Frames) {
        if (frame.m_bLock) break;
        tenths = WrapAdd(tenths, frame.m_nDuration);
    }
    return WrapMul(tenths, 6);
}

bool IsWaiting(const cFlowCommandEntry& entry)
{
    return !(entry.m_lpCommand && entry.m_lpCommand->m_bParallel == 1);
}

void SetUpEntry(cFlowCommandEntry& entry, cCommandData& command, cChara& chara, int direction)
{
    const int copy = chara.m_sCopyIndex;
    const int steps = g_StageData.m_nSubSteps;
    entry.m_lpCommand = &command;
    const int tenths = WrapAdd(WrapMul(command.m_nTimePerFactor, copy), command.m_nTime);
    entry.m_nDuration = WrapMul(WrapMul(tenths, steps), 6);
    if (const cEdMove* move = command.m_pMove.get()) {
        const int speed = WrapAdd(WrapMul(move->m_nSpeedPerFactor, copy), move->m_nSpeed);
        entry.m_dSpeed = speed * 0.1 / steps;
        if (move->m_bInertia) entry.m_dMaxInertia = move->m_nInertiaSpeed * 0.1 / steps;
        entry.m_nDirectionChoice = move->m_nDirection;
    }
    if (FlowCommandInitFunc init = FlowCommandInitOf(command.m_nKind)) init(entry, chara, direction);
}

}  // namespace

void BuildAnimeSchedule(cRunningFlow& flow, int subSteps)
{
    flow.m_AnimeSchedule.clear();
    int start = 0;   // the step at which entry j starts: the waiting entries before it
    for (std::size_t j = 0; j < flow.m_Entries.size(); ++j) {
        const cFlowCommandEntry& entry = flow.m_Entries[j];
        const cCommandData* command = entry.m_lpCommand;
        if (command && command->m_nAnime != 0) {
            const int leadIn = LeadInFrames(g_Database.m_Animes.At(command->m_nAnime));
            const int leadInSteps = WrapMul(leadIn, subSteps);
            FLOWANIME anime;
            anime.nAnime = command->m_nAnime;
            anime.nCommandFrames = static_cast<std::int16_t>(WrapMul(command->m_nTime, 6));
            anime.bHold = (command->m_nKind == COMMAND_JUMP || command->m_nKind == COMMAND_SWORD) ? 0 : 1;
            int rest = leadInSteps;
            for (std::size_t i = j; rest > 0 && i-- > 0;) {
                if (IsWaiting(flow.m_Entries[i])) rest = WrapSub(rest, flow.m_Entries[i].m_nDuration);
            }
            if (rest <= 0) {
                anime.nStartStep = WrapSub(start, leadInSteps);
                anime.nPlay = static_cast<std::int16_t>(leadIn);
            } else {
                // The lead-in is longer than the time before the command: it starts with the
                // flow, its first frames skipped.
                const int skip = std::min(WrapDiv(rest, subSteps), leadIn);
                anime.nStartStep = 0;
                anime.nSkip = static_cast<std::int16_t>(skip);
                anime.nPlay = static_cast<std::int16_t>(WrapSub(leadIn, skip));
            }
            flow.m_AnimeSchedule.push_back(anime);
        }
        if (IsWaiting(entry)) start = WrapAdd(start, entry.m_nDuration);
    }
}

int cChara::LoadFlows(cSafeVector<cFlowData>& flows, int direction, int merge, int insertPos)
{
    // The running flows move: nothing of the scene may keep pointing at them.
    ForgetSceneReferences(0, false);
    const int count = static_cast<int>(flows.size());
    const int defined = static_cast<int>(m_Def.m_Flows.size());
    int offset = 0;
    if (merge == 0) {
        m_RunningFlows.clear();
        m_RunningFlows.resize(flows.size());
    } else {
        // A copy first: the list given may be the definition's own.
        const cSafeVector<cFlowData> copies = flows;
        offset = (insertPos >= 0 && insertPos < defined) ? insertPos : defined;
        m_Def.m_Flows.insert(m_Def.m_Flows.begin() + offset, copies.begin(), copies.end());
        m_RunningFlows.insert(m_RunningFlows.begin() + std::min(offset, static_cast<int>(m_RunningFlows.size())),
                              flows.size(), cRunningFlow{});
    }
    cSafeVector<cFlowData>& records = (merge == 0) ? flows : m_Def.m_Flows;

    const int subSteps = g_StageData.m_nSubSteps;
    for (int i = 0; i < count; ++i) {
        cRunningFlow& running = m_RunningFlows.At(i + offset);
        cFlowData& record = records.At(i + (merge == 0 ? 0 : offset));
        running = cRunningFlow{};
        running.m_nIndex = i + offset;
        running.m_nSerial = m_nNextFlowId;
        m_nNextFlowId = WrapAdd(m_nNextFlowId, 1);
        running.m_lpFlow = &record;
        for (cKeyConditionData& key : record.m_KeyConditions) running.m_KeyConditions.push_back(&key);
        running.m_Entries.resize(record.m_Commands.size());
        for (std::size_t j = 0; j < record.m_Commands.size(); ++j)
            SetUpEntry(running.m_Entries[j], record.m_Commands[j], *this, direction);
        // Keys held when an item brings the flow must first be let go.
        if (merge != 0 && record.m_bKeyRepeat == 0) running.m_bKeyMatched = 1;
        BuildAnimeSchedule(running, subSteps);
    }
    if (merge != 0) RebindRunningFlows();
    return count;
}

void cChara::StartFlowAnimations()
{
    for (const cRunningFlow& flow : m_RunningFlows) {
        if (!flow.m_bRunning || flow.m_bPaused) continue;
        for (const FLOWANIME& anime : flow.m_AnimeSchedule) {
            if (anime.nStartStep != flow.m_nSteps) continue;
            cCharaAnimation started;
            started.nAnime = anime.nAnime;
            started.nOwner = flow.m_nSerial;
            started.bScheduled = 1;
            started.nPlay = anime.nPlay;
            started.nCommandFrames = anime.nCommandFrames;
            started.nSkip = anime.nSkip;
            started.bHold = (anime.nCommandFrames >= 2 && anime.bHold) ? 1 : 0;
            m_Animations.push_back(started);
        }
    }
}
