#pragma once
// The stage of the block tests, a configuration of the one stage fixture: 40 x 20 blocks with
// its camera and an empty block grid drawn as text, and charas set up directly with the bounds
// a test gives.
#include <initializer_list>
#include <vector>

#include "data/flow_data.h"
#include "objects/stage_chara.h"
#include "tests/stage/stage_fixture.h"

class cBlockStage : public qbtest::cStageFixture {
public:
    static constexpr int kWidth = 40;
    static constexpr int kHeight = 20;

    // Camera: stage [0, 1920) x [0, 1280), playfield [320, 1600) x [320, 960), scroll limits
    // the playfield. Speed level `level`, the land-while-rising switch off.
    explicit cBlockStage(int level = 1) : cStageFixture(kWidth, kHeight)
    {
        g_StageData.SetSpeedLevel(level);
        g_SystemData.m_bLandingSwitch = 0;
        SetUpCamera();
        BuildBlockGrid();
    }

    // Draws `rows` with its first character at block (column, row), margins included:
    // '#' solid, 'X' deadly, anything else passable.
    static void DrawBlocks(std::initializer_list<const char*> rows, int column = 10, int row = 10)
    {
        int r = row;
        for (const char* text : rows) {
            for (int c = 0; text[c] != 0; ++c) {
                cBlockCell& cell = g_BlockGrid.At(Cell(column + c, r));
                cell.m_nHitMode = (text[c] == '#') ? 1 : (text[c] == 'X') ? 2 : 0;
                cell.m_nImageNumber = (cell.m_nHitMode != 0) ? 1 : 0;
            }
            ++r;
        }
    }
    static int Cell(int column, int row) { return static_cast<int>(g_BlockGrid.CellIndex(column, row)); }

    // A chara of the given bounds at scale 1 (width and height are its unscaled size), kind,
    // move type and pass-through layer 0, its bounds computed by the stage chara's clamp.
    // Gives the chara one empty flow for each block trigger, 9 to 15, so that the triggers a
    // collision raises show as the flows they started.
    static void WatchBlockTriggers(cChara& chara)
    {
        chara.m_Def.m_Flows.clear();
        for (int trigger = 9; trigger <= 15; ++trigger) {
            cFlowData flow;
            flow.m_nTrigger = static_cast<std::int8_t>(trigger);
            chara.m_Def.m_Flows.push_back(flow);
        }
        chara.LoadFlows(chara.m_Def.m_Flows, chara.m_nDirection, 0, 0);
    }
    // The block triggers whose flows started since the flows were last reset, in trigger order.
    static std::vector<int> StartedTriggers(const cChara& chara)
    {
        std::vector<int> list;
        for (const cRunningFlow& flow : chara.m_RunningFlows)
            if (flow.m_bStartedThisFrame) list.push_back(flow.Trigger());
        return list;
    }
    static void SetUpChara(cChara& chara, double x, double y, int width, int height, int kind = 1,
                           int moveType = 0, int scale = 1, int serial = 7)
    {
        chara.m_Def.m_nGiantScale = static_cast<BYTE>(scale);
        chara.InitCommon(serial, kind, 0, 0, 0, nullptr, 0, 0, 0, width, height, 32, 32, 1, moveType, 0);
        chara.m_nWidth = width * (scale < 1 ? 1 : scale);
        chara.m_nHeight = height * (scale < 1 ? 1 : scale);
        chara.m_bFalling = 0;
        chara.m_dX = x;
        chara.m_dY = y;
        chara.ClampX(2);
        chara.ClampY(2);
        WatchBlockTriggers(chara);
    }

};
