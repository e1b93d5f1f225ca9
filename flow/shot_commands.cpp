// The shot, sword and summon commands. Shots and summons act at the first step of their entry
// and every tenth of a second after; the sword acts once per run of its entry, its counter
// never returning to 0. The sound of an off-screen chara's command may be silenced; the
// volley happens all the same.
#include "flow/shot_commands.h"

#include "data/command_data.h"
#include "data/database.h"
#include "flow/command_table.h"
#include "flow/running_flow.h"
#include "objects/chara.h"
#include "objects/shot.h"
#include "objects/spawn_param.h"
#include "objects/volley.h"
#include "play/play_scene.h"
#include "shell/game_arithmetic.h"
#include "shell/game_requests.h"

namespace {

void PlayCommandSound(const cChara& chara, const cFlowCommandEntry& entry)
{
    const cCommandData* command = entry.m_lpCommand;
    if (!command) return;
    if (command->m_bSoundOnScreenOnly && chara.m_bOnScreen == 0) return;
    PlayDbSe(static_cast<WORD>(command->m_nSound));
}

// The command's shot part; a command read without one fires nothing.
cEdShot* ShotPart(const cFlowCommandEntry& entry)
{
    return entry.m_lpCommand ? entry.m_lpCommand->m_pShot.get() : nullptr;
}

template <class Work>
void OncePerTenth(cChara& chara, cFlowCommandEntry& entry, Work work)
{
    if (TenthSecondDue(entry)) {
        PlayCommandSound(chara, entry);
        if (cEdShot* part = ShotPart(entry)) work(*part);
    }
    CountTenthSecondStep(entry);
}

}  // namespace

void FlowCmdShot(cChara& chara, cFlowCommandEntry& entry)
{
    OncePerTenth(chara, entry, [&](cEdShot& part) {
        if (cPlayScene* scene = Scene()) FireShotVolley(scene->m_ShotLists, chara, entry, part);
    });
}

void FlowCmdSword(cChara& chara, cFlowCommandEntry& entry)
{
    cEdShot* part = ShotPart(entry);
    cPlayScene* scene = Scene();
    if (entry.m_nStepCounter == 0) {
        PlayCommandSound(chara, entry);
        if (part && scene) {
            const cSwordTypeData& type = g_Database.m_SwordTypes.At(part->m_nTrajectory);
            const cSwordFrameData& first = type.m_Frames.At(0);
            SPAWNPARAM spawn;
            spawn.width = first.m_nWidth;
            spawn.height = first.m_nHeight;
            cShot sword;
            cShotLists& shots = scene->m_ShotLists;
            sword.InitFromTemplate(shots.m_nShotSerial, chara, kShotObjectSword, *part, spawn);
            // A sword enters its layer's list like a shot, so that it hits and leaves through
            // the same list; it aims at nothing.
            cShot& listed = shots.Append(sword);
            listed.m_lpTarget = nullptr;
            shots.m_nShotSerial = WrapAdd(shots.m_nShotSerial, 1);
        }
    }
    entry.m_nStepCounter = WrapAdd(entry.m_nStepCounter, 1);
}

void FlowCmdSummonBlock(cChara& chara, cFlowCommandEntry& entry)
{
    OncePerTenth(chara, entry, [&](cEdShot& part) { SummonBlockVolley(chara, entry, part); });
}

void FlowCmdSummonChara(cChara& chara, cFlowCommandEntry& entry)
{
    OncePerTenth(chara, entry, [&](cEdShot& part) { SummonCharaVolley(chara, entry, part); });
}

void FlowCmdSummonItem(cChara& chara, cFlowCommandEntry& entry)
{
    OncePerTenth(chara, entry, [&](cEdShot& part) { SummonItemVolley(chara, entry, part); });
}
