#pragma once
// A running stage of 13 x 15 blocks for the tests of its objects: the stage record, its
// camera at the top-left of the playfield, an empty block grid, player 1 and the scene,
// published as g_lpPlayScene. Everything program-wide it changes is put back afterwards.
#include <gtest/gtest.h>

#include <memory>

#include "data/palette_data.h"
#include "data/stage_data.h"
#include "data/system_data.h"
#include "objects/chara.h"
#include "play/block_grid.h"
#include "play/play_scene.h"
#include "tests/objects/stage_chara_template.h"
#include "tests/support/restore.h"

class StageObjectsTest : public ::testing::Test {
protected:
    static constexpr int kWidth = 13;
    static constexpr int kHeight = 15;

    StageObjectsTest()
    {
        g_StageData.Reset();
        g_StageData.m_nWidth = kWidth;
        g_StageData.m_nHeight = kHeight;
        g_StageData.SetSpeedLevel(10);
        g_CommonPalette.m_Blocks.assign(1, cBlockData{});
        g_CommonPalette.m_Blocks[0].m_nHitMode = 0;
        g_SystemData.m_bSummonSwitch = 0;
        m_Scene->m_ScrollX.SetUp(0, kWidth, kWidth * 32);
        m_Scene->m_ScrollY.SetUp(1, kHeight, kHeight * 32);
        m_Scene->m_ScrollX.m_dPos = 320;
        m_Scene->m_ScrollY.m_dPos = 320;
        g_BlockGrid.Build(kWidth, kHeight);
        m_Player.m_Def.Reset();
        m_Player.m_nSerial = 1000;
        m_Scene->m_lpPlayerOne = &m_Player;
        g_lpPlayScene = m_Scene.get();
    }
    ~StageObjectsTest() override
    {
        g_lpPlayScene = nullptr;
        m_Scene.reset();
        g_BlockGrid = cBlockGrid{};
    }

    cPlayScene& Scene() { return *m_Scene; }

    static cCharaData CharaTemplate() { return StageCharaTemplate(); }
    static cItemData ItemTemplate()
    {
        cItemData definition;
        definition.Reset();
        definition.m_nImageNumber = 1;
        return definition;
    }
    // A solid block with a picture.
    static cBlockData SolidBlock(int number = 1)
    {
        cBlockData block;
        block.Reset();
        block.m_nImageNumber = static_cast<std::int16_t>(number);
        block.m_nHitMode = 1;
        return block;
    }
    // The cell of stage block (column, row), margins included.
    static cBlockCell& CellAt(int column, int row)
    {
        return g_BlockGrid.At(static_cast<int>(g_BlockGrid.CellIndex(column, row)));
    }

private:
    qbtest::cRestore<cStageData> m_SavedStage{g_StageData};
    qbtest::cRestore<cPaletteData> m_SavedPalette{g_CommonPalette};
    qbtest::cRestore<int> m_SavedSwitch{g_SystemData.m_bSummonSwitch};

protected:
    // Player 1 outlives the scene's charas, which aim at it.
    cChara m_Player;
    std::unique_ptr<cPlayScene> m_Scene = std::make_unique<cPlayScene>();
};
