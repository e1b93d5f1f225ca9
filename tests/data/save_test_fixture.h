#pragma once
// The world map and System data that save files are read against, for the save tests.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "data/save_data.h"
#include "data/system_data.h"
#include "data/world_map_data.h"
#include "tests/data/record_test_support.h"
#include "tests/data/save_file_builder.h"

namespace qbtest {

// The body of a default chara definition, as its own writer makes it.
inline std::string CharaBody(const cCharaData& chara)
{
    cCharaData copy(chara);
    cDataWriter writer;
    copy.Write(writer);
    return writer.Image().substr(4);
}

// The world map (20 x 15, start (3, 4)) and the System data (3 challenge stages) that save
// files are read against, put back afterwards.
class cSaveTest : public testing::Test {
protected:
    cSaveTest() : m_Map(g_WorldMapData), m_System(std::make_unique<cSystemData>(g_SystemData))
    {
        g_WorldMapData = cWorldMapData();
        g_WorldMapData.m_nStartX = 3;
        g_WorldMapData.m_nStartY = 4;
        g_SystemData.m_nChallengeStages = 3;
    }
    ~cSaveTest() override
    {
        g_WorldMapData = m_Map;
        g_SystemData = *m_System;
    }

    // Every body field distinct and in range, three challenge records, one carried status.
    static SaveFields DistinctSave()
    {
        SaveFields save;
        for (int i = 0; i < kSaveFieldCount; ++i) save.values[static_cast<std::size_t>(i)] = 100 + i;
        save["nMapX"] = 7;
        save["nMapY"] = 8;
        save["nReturnX"] = 9;
        save["nReturnY"] = 10;
        save["nStageNumber"] = 2;
        save["nSaveSlot"] = 5;
        save["nRankingKind"] = 3;
        save.stageKey = "data\\stg4\\城.";
        save.playerName = "あb";
        for (std::size_t i = 0; i < save.carryFlags.size(); ++i) save.carryFlags[i] = static_cast<int>(i % 2);
        save.carryBodies = {CarryStatusBody({1, 2, 3, 4, 5}, CharaBody(cCharaData()))};
        save.stageValues = {{"a.", 10}, {"b.", 20}};
        save.challenges = {{1, 500}, {0, 0}, {1, 7}};
        for (std::size_t i = 0; i < save.switches.size(); ++i) save.switches[i] = static_cast<int>(i % 3);
        for (std::size_t i = 0; i < save.variables.size(); ++i) save.variables[i] = static_cast<int>(i) - 100;
        return save;
    }

    qbtest::cDataSettingsScope m_Settings;
    cWorldMapData m_Map;
    std::unique_ptr<cSystemData> m_System;
};

}  // namespace qbtest
