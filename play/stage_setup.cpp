// SetStage: the running stage built from the stage record, in a fixed order of steps (the
// random seed before anything random, the hero before the other charas, trigger 18 last).
#include <cstdlib>
#include <cstring>
#include <new>

#include "data/role_accessors.h"
#include "data/save_data.h"
#include "data/stage_data.h"
#include "data/system_data.h"
#include "graphics/device.h"
#include "graphics/palette.h"
#include "graphics/standard_surfaces.h"
#include "objects/hero.h"
#include "platform/os/messages.h"
#include "play/block_grid.h"
#include "play/game_manager.h"
#include "play/menu_cursor.h"
#include "play/play_scene.h"
#include "play/stage_objects_setup.h"
#include "play/sub_step_table.h"
#include "shell/error_box.h"
#include "shell/input.h"
#include "shell/log.h"
#include "shell/shared_flags.h"
#include "shell/timing.h"

namespace {

// The settings part of the stage record back from the backup: its fields, backgrounds, texts,
// disappear-off-screen rules and ranking flags. The palette and placed objects stay.
void RestoreStageSettings()
{
    cStageData& stage = g_StageData;
    const cStageData& backup = g_StageBackup;
    stage.CopyFrom(backup);
    stage.m_Backgrounds = backup.m_Backgrounds;
    stage.m_Texts = backup.m_Texts;
    for (int i = 0; i < 5; ++i) stage.m_OutOfRange[i] = backup.m_OutOfRange[i];
    stage.m_ResultFlags = backup.m_ResultFlags;
}

int AnySide(const cOutOfRangeData& rule) { return (rule.m_bLeft || rule.m_bRight || rule.m_bTop || rule.m_bBottom) ? 1 : 0; }

// Steps 8 to 10: the grid of empty cells, then the placed blocks. False (after the set-up's
// box and WM_CLOSE) when the grid cannot be built: too many cells, more bytes than a grid may
// take, or no memory for them.
bool BuildBlockGrid(int width, int height)
{
    bool built = false;
    try {
        built = g_BlockGrid.Build(width, height);
    } catch (const std::bad_alloc&) {
        built = false;
    }
    if (!built) {
        g_BlockGrid.m_Cells.clear();
        ErrorBoxF("メモリ不足により、ステージの初期設定に失敗しました！");
        PostClose();
        return false;
    }
    g_BlockGrid.PlaceStageBlocks(g_StageData);
    return true;
}

}  // namespace

void cPlayScene::SetStage(int reload, int entry)
{
    cStageData& stage = g_StageData;
    cSaveData& save = g_SaveData;
    const bool replaying = g_GameManager.m_nGameMode == GAMEMODE_REPLAY;
    ++m_nSetUpCount;

    // 1. Everything of the previous attempt goes.
    EcLog("In SetStage");
    m_nFrame = 0;
    m_ShotLists.Reset(kObjectLayers);
    m_CharaLayers.assign(kObjectLayers, {});
    ClearStageObjects(*this);

    // 2. The settings as the stage file gave them.
    if (reload) {
        if (replaying) {
            // The reload replaces the stage record, its path among its fields: a copy goes.
            m_Replay.ReloadStage(stage.m_strPath);
        }
        RestoreStageSettings();
    }

    // 3. The seed of this attempt, before anything draws a random number.
    m_Replay.BeginAttempt(replaying, stage, save);
    srand(static_cast<unsigned>(m_Replay.m_nSeed));

    // 4. Carried statuses into the hero's placement.
    if (stage.m_bTakeOverStatus)
        save.RestoreHeroStatus(0, stage.m_Charas.At(stage.FindHero()), &stage.m_nTimeLimit, &stage.m_nBgm);

    // 5. The stage BGM: a retry never restarts the one playing.
    const int bgm = stage.m_nBgm;
    if (entry) {
        if (!stage.m_bBgmKeep) RequestStageBgm(bgm, stage.m_bBgmLoop);
        else if (bgm != save.m_nStageBgm) RequestStageBgm(bgm, stage.m_bBgmLoop);
        else if (bgm == 0) RequestStageBgm(0, stage.m_bBgmLoop);
    } else if (bgm != save.m_nStageBgm) {
        RequestStageBgm(bgm, stage.m_bBgmLoop);
    }
    g_GameManager.m_nBgm = 0;

    // 6. Serials and the speed values.
    m_nCharaSerial = m_nItemSerial = m_ShotLists.m_nShotSerial = 0;
    stage.SetSpeedLevel(stage.m_nSpeedLevel);
    const int steps = stage.m_nSubSteps;

    // 7. The camera's axes.
    const int width = stage.m_nWidth;
    const int height = stage.m_nHeight;
    m_ScrollX.SetUp(0, width, stage.m_nScrollAxisX);
    m_ScrollX.SetAutoScroll(stage.m_bAutoScrollX, stage.m_nAutoScrollSpeedX, stage.m_dSubSteps);
    m_ScrollX.SetLimit(stage.m_nScrollLeft, stage.m_nScrollRight, stage.m_bScrollLeft, stage.m_bScrollRight);
    m_ScrollY.SetUp(1, height, stage.m_nScrollAxisY);
    m_ScrollY.SetAutoScroll(stage.m_bAutoScrollY, stage.m_nAutoScrollSpeedY, stage.m_dSubSteps);
    m_ScrollY.SetLimit(stage.m_nScrollTop, stage.m_nScrollBottom, stage.m_bScrollTop, stage.m_bScrollBottom);

    // 8 to 10. The block grid.
    if (!BuildBlockGrid(width, height)) {
        m_bSetUpFailed = 1;
        return;
    }

    // 11. The players.
    m_nPlayers = 1;
    Player.resize(static_cast<size_t>(m_nPlayers));
    EcLog("A");
    for (int j = 0; j < m_nPlayers; ++j) {
        cCharaData& placement = stage.m_Charas.At(stage.FindHero());
        const bool storedStart = save.m_bFollowUp != 0;
        if (storedStart) placement.m_nFacing = static_cast<BYTE>(save.m_nFollowUpC);
        const int serial = m_nCharaSerial++;
        // The home point is the centre of the placement's own cell, before a stored start
        // moves the hero.
        const double homeX = ((placement.m_nColumn + 10) * 32) | 16;
        const double homeY = ((placement.m_nRow + 10) * 32) | 16;
        cHero& hero = Player.At(j);
        hero.Spawn(serial, placement, homeX, homeY);
        if (storedStart) {
            placement.m_nColumn = static_cast<std::int16_t>(save.m_nFollowUpA);
            placement.m_nRow = static_cast<std::int16_t>(save.m_nFollowUpB);
        }
        hero.PlaceAtBlock(placement.m_nColumn, placement.m_nRow);
        const double dx = placement.OffsetX(0, placement.m_nFacing);
        const double dy = placement.OffsetY(0, placement.m_nFacing);
        hero.m_dX += dx;
        hero.m_dRight += dx;
        hero.m_dY += dy;
        hero.m_dBottom += dy;
        if (stage.m_bTakeOverStatus) save.RestoreExtraStatus(j, &hero.m_nHp, &hero.m_nSp);
        hero.m_Animator.SetPattern(hero.m_bFlying ? 2 : 0, 1);
    }

    // 12. The camera starts on player 1.
    EcLog("B");
    cHero& hero = Player.At(0);
    m_ScrollX.m_dPos = hero.m_dX + (hero.m_nWidth / 2) - 320;
    m_ScrollX.Clamp();
    m_ScrollY.m_dPos = hero.m_dY + (hero.m_nHeight / 2) - 240;
    m_ScrollY.Clamp();
    hero.UpdateScreenRect();
    if (CharaSightShape(hero.m_Def) != 0)
        m_StagePictures.BuildSightMask(&g_StdSurface[kSightMask], &g_StdSurface[kSightHole]);

    // 13. Stage variables.
    m_StageVars.assign(kStageVars, 0);
    EcLog("10");

    // 14, 15. The placed charas and items, then every chara in its layer list.
    m_lpPlayerOne = &Player.At(0);
    PlaceStageObjects();
    EcLog("11");
    EcLog("12");
    EcLog("C");
    EcLog("D");
    RegisterCharaLayers(*this);

    // 16. Whether the off-screen rules have anything to do.
    m_bOutRuleChara = AnySide(stage.m_OutOfRange[0]);
    m_bOutRuleCharaBlock = AnySide(stage.m_OutOfRange[1]);
    m_bOutRuleItem = AnySide(stage.m_OutOfRange[2]);

    // 17. Messages, effects, screen effect and colour, the wait, the pictures.
    m_MessageList.Clear();
    m_EffectList.Clear();
    m_ScreenEffect.Reset();
    m_ScreenColor.Reset();
    m_Wait.nCounter = 0;
    m_StagePictures.ClearPictures();
    m_MessageList.ClearMessageSurfaces();

    // 18. The sub-steps in which shots are tested against charas.
    FillSubStepTable(m_SubStepActive, steps, stage.m_nContactLevel);

    // 19. Results, time and counters.
    m_nResult = m_nStateFrames = m_nStateFrames2 = 0;
    m_TimeLimit.Start(stage.m_bTimeLimit, stage.m_nTimeLimit);
    m_ActivityTable.assign(kActivitySlots, 0);
    m_StageClear.m_nNextStage = m_nSubStep = m_nSubStepTotal = 0;
    m_StageClear.m_bClearBegun = 0;

    // 20. The progress record a retry returns to.
    save.m_nScore = 0;
    if (replaying || (g_bEditorLaunch.load() && g_bTestPlay.load())) save.ClearStageCounters();
    save.SaveStageStart();

    // 21. Input histories, the menu cursor, the once-a-second counter, background offsets.
    for (cInput& input : g_Input) {
        input.ClearHistory();
        input.ResetKeyHistories();
    }
    g_MenuCursor.Reset();
    CountEvery(0, 0);
    for (cBackgroundData& background : stage.m_Backgrounds) background.m_dOffsetX = background.m_dOffsetY = 0;

    // 22, 23. The 8-bit palette and the stage's frame rate.
    if (g_nBpp == 8) {
        std::memcpy(g_DisplayPalette, g_Palette, sizeof g_DisplayPalette);
        if (g_lpDDPalette) g_lpDDPalette->SetEntries(0, 0, 256, g_DisplayPalette);
    }
    g_GameManager.m_nFps = stage.PaceFrameRate();

    // 24. Trigger 18, the hero first.
    RaiseStartTriggers(*this);

    // 25.
    m_bStatusBar = stage.m_bPlaySwitch;
    UpdateActivation();
    DDSetVirBackBuffer(0);
    EcLog("Out SetStage");
}
