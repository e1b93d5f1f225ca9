// The story: the title menu in text with the title's music, the map's music, and a world map of three stage points along a
// road. From the start cell (3, 7) the first stage lies two cells right and asks by itself as
// soon as the walker steps on it; the second lies just below the start, a barrier until the
// first stage is cleared; the third waits for the decide key two cells left. Grass on either
// side of the road cannot be walked on. Any further stages lie beyond, to the right.
#include "tools/demo-game/demo_content.h"
#include "tools/demo-game/demo_database.h"

namespace {

constexpr int kGrass = 1;  // blocked chips of a new map are 0 to 4, open ones 5 to 9
constexpr int kRoad = 7;

// The clear switches of the three stages.
constexpr int kFirstSwitch = 1;

void Pave(cWorldMapData& map, int x, int y) { map.m_Grid.At((y << map.m_nPitchShift) + x) = kRoad; }

cWorldStageData StageEntry(const DEMOSTAGE& stage, int clearSwitch, int manual, int icon)
{
    cWorldStageData entry;
    entry.m_nIcon = icon;
    entry.m_nClearSwitch = clearSwitch;
    entry.m_bPassThrough = manual;
    entry.m_strLabel = stage.mapName;
    entry.m_strStageFile = stage.file;
    return entry;
}

cWorldPointData Point(int x, int y, const std::string& name)
{
    cWorldPointData point;
    point.m_nX = x;
    point.m_nY = y;
    point.m_strName = name;
    point.m_Stages.clear();
    return point;
}

}  // namespace

void AddDemoStory(DEMOGAME& game)
{
    if (game.stages.size() < 3) {
        game.error = "the story needs three stages";
        return;
    }
    // The title menu in text, every game mode shown.
    game.system.m_bMenuPictures = 0;
    game.system.m_ScreenBgm.At(0) = DEMO_BGM_OGG;
    game.system.m_ScreenBgm.At(1) = DEMO_BGM_MIDI;

    cWorldMapData& map = game.worldMap;
    map.m_nStartX = 3;
    map.m_nStartY = 7;
    for (int& chip : map.m_Grid) chip = kGrass;
    for (int x = 1; x <= 8; ++x) Pave(map, x, 7);
    Pave(map, 3, 8);

    // One point per stage, in playing order.
    map.m_Points.clear();
    cWorldPointData first = Point(5, 7, game.stages[0].mapName);
    first.m_Stages.push_back(StageEntry(game.stages[0], kFirstSwitch, 0, 0));
    map.m_Points.push_back(first);

    cWorldPointData second = Point(3, 8, game.stages[1].mapName);
    cWorldStageData open = StageEntry(game.stages[1], kFirstSwitch + 1, 1, 1);
    open.m_nRequiredSwitch = kFirstSwitch;
    cWorldStageData barrier = StageEntry(game.stages[1], 0, 0, 0);
    barrier.m_nLock = 2;
    barrier.m_strStageFile.clear();
    second.m_Stages.push_back(open);
    second.m_Stages.push_back(barrier);
    map.m_Points.push_back(second);

    cWorldPointData third = Point(1, 7, game.stages[2].mapName);
    third.m_Stages.push_back(StageEntry(game.stages[2], kFirstSwitch + 2, 1, 1));
    map.m_Points.push_back(third);

    // The stages after the third lie further right along the road, each waiting for the decide
    // key, so that every stage of the demo can be played from the map.
    for (std::size_t i = 3; i < game.stages.size(); ++i) {
        const int x = 1 + 2 * static_cast<int>(i);
        for (int road = 9; road <= x; ++road) Pave(map, road, 7);
        cWorldPointData point = Point(x, 7, game.stages[i].mapName);
        point.m_Stages.push_back(StageEntry(game.stages[i], kFirstSwitch + static_cast<int>(i), 1, 1));
        map.m_Points.push_back(point);
    }
}
