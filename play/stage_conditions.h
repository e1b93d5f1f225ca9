#pragma once
// The condition tests of the stage-play scene: the start conditions of flows
// (flow/conditions.cpp) and the appearance conditions of blocks, items and charas
// (play/appearance_conditions.cpp). A part of cPlayScene, which derives from it.
#include "shell/safe_container.h"

class cBlockData;
class cChara;
class cConditionData;
class cItem;
class cRunningFlow;
class cStageChara;

class cStageConditions {
public:
    // Flows: true when the flow's start conditions hold for the chara (an empty list holds).
    bool CheckFlowConditions(cRunningFlow& flow, cChara& chara);
    // Mode 0: every condition holds, 1: at least one; an empty list holds, another mode never.
    // Each stops at the first condition that decides, so later random operands are not drawn.
    bool CheckConditionList(cSafeVector<cConditionData>& conditions, int mode, cChara& chara);
    bool CheckCondition(cConditionData& condition, cChara& chara);

    // Appearance conditions of blocks, items and charas: 1 present. Blocks are tested with
    // player 1 as the subject; a cell of the block grid keeps the latch of its check-once
    // conditions.
    int CheckBlockConditions(cBlockData& block);
    int CheckItemConditions(cItem& item);
    int CheckCharaConditions(cStageChara& chara);
    // The block test of the block records while a scene lives: the published scene's
    // CheckBlockConditions (no scene published: present).
    static bool BlockConditionTest(cBlockData& block);
};
