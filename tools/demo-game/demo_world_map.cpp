// The world map: one point per stage, in playing order, along one row.
#include "tools/demo-game/demo_content.h"

void AddDemoWorldMap(DEMOGAME& game)
{
    for (std::size_t i = 0; i < game.stages.size(); ++i) {
        cWorldPointData point;
        point.m_nX = 4 + static_cast<int>(i) * 6;
        point.m_nY = 7;
        point.m_strName = game.stages[i].mapName;
        point.m_Stages[0].m_strLabel = point.m_strName;
        point.m_Stages[0].m_strStageFile = game.stages[i].file;
        game.worldMap.m_Points.push_back(point);
    }
}
