// A stage with a boss: it drops from the sky and shakes the screen as it lands, and every touch
// between the hero and another chara shows a spark where the two meet. A marker past the boss
// divides the stage in two areas: the hero crossing it brings the second area's background and
// music, and a banner shown for three seconds.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "data/command_info.h"
#include "data/role_accessors.h"
#include "tools/demo-game/demo_canvas.h"
#include "tools/demo-game/demo_content.h"
#include "tools/demo-game/demo_database.h"
#include "tools/demo-game/demo_stage_layout.h"
#include "tools/demo-game/demo_templates.h"

namespace {

constexpr int kGroundRow = 13;
constexpr int kStandRow = kGroundRow - 1;
constexpr int kBossColumn = 8;
constexpr int kBossRow = 2;       // high in the sky: it falls to the ground
constexpr int kMarkerColumn = 11;
constexpr int kHeroIndex = 1;
constexpr int kWalkerIndex = 2;

// The spark: four cells of 32 x 32 across its picture, each shown a tenth of a second.
constexpr int kSparkCell = 32;
constexpr int kSparkFrames = 4;
// The banner the second area shows: its size, and its display of three seconds.
constexpr int kBannerWidth = 240;
constexpr int kBannerHeight = 64;
constexpr int kBannerTenths = 30;
// The vertical shake of the landing: a second long, 8 pixels each way.
constexpr int kShakeKind = 3;
constexpr int kShakeTenths = 10;
constexpr int kShakeAmplitude = 8;
constexpr int kShakeSpeed = 4;

// Triggers, flow operations and command parameters.
constexpr int kTriggerLanded = TRIGGER_BLOCK_DOWN;
constexpr int kStopForever = 5;
constexpr int kThisFlow = 0;
constexpr int kBackgroundShow = 0;
constexpr int kScreenCentre = 0;
constexpr int kTimed = 2;

cCommandData Command(int kind, std::vector<std::int32_t> params)
{
    cCommandData command = DemoCommand(kind, 0);
    command.m_Params.resize(params.size());
    for (std::size_t i = 0; i < params.size(); ++i) command.m_Params[i] = params[i];
    return command;
}

// The flow's last command: it runs once, however often its trigger is raised again.
cCommandData StopThisFlowForever() { return Command(COMMAND_FLOW_OPERATION, {kStopForever, kThisFlow, 0}); }

// A banner shown at the screen's centre in front of the blocks, fixed to the screen, for three
// seconds; the flow goes on at once.
cCommandData ShowBanner(int picture)
{
    // number, placement, cx, cy, dx, dy, layer, zoom, display mode, tenths, wait, screen fixed,
    // has an id, id
    return Command(COMMAND_PICTURE, {picture, kScreenCentre, 0, 0, 0, 0, 1, 100, kTimed, kBannerTenths, 0, 1, 0, 0});
}

cCharaData Boss(int shake)
{
    cCharaData boss;
    boss.m_strName = "ボス";
    boss.m_nImageNumber = 3 * 15 + 1;   // row 1 of the fourth chara sheet
    boss.m_nOperator = 1;
    SetCharaStoredScale(boss, 2);       // twice a walker's size
    SetCharaLayer(boss, kDemoEnemyLayer);
    // It takes the hero's touches without hurting back, and outlives every one of them.
    boss.m_nMaxHp = 99;
    boss.m_nBodyAttack = 0;
    boss.m_nHeldItem = -1;
    boss.m_bFixedFacing = 1;

    cFlowData land;
    land.m_nTrigger = kTriggerLanded;
    land.m_Commands.push_back(Command(COMMAND_SCREEN_EFFECT, {shake, 0, 0}));
    land.m_Commands.push_back(StopThisFlowForever());
    boss.m_Flows.push_back(land);
    return boss;
}

// An unseen chara at the border of the two areas that the hero's touch cannot hurt.
cCharaData AreaMarker(int banner)
{
    cCharaData marker;
    marker.m_strName = "境目";
    marker.m_nImageNumber = 3 * 15 + 1;
    marker.m_nOperator = 1;
    SetCharaLayer(marker, kDemoEnemyLayer);
    SetCharaInvisible(marker, 1);
    SetCharaInvincibility(marker, 1);
    SetCharaMoveType(marker, 1);        // it stays where it is placed
    marker.m_nMaxHp = 1;
    marker.m_nBodyAttack = 0;
    marker.m_nHeldItem = -1;
    marker.m_bFixedFacing = 1;

    cFlowData cross;
    cross.m_nTrigger = TRIGGER_HIT_CHARA;
    cross.m_Commands.push_back(Command(COMMAND_BACKGROUND, {2, kBackgroundShow}));
    cross.m_Commands.push_back(Command(COMMAND_BGM, {DEMO_BGM_OGG, 1}));
    cross.m_Commands.push_back(ShowBanner(banner));
    cross.m_Commands.push_back(StopThisFlowForever());
    marker.m_Flows.push_back(cross);
    return marker;
}

// A template of the stage's palette placed at (column, row).
cCharaData PlacedCharaOf(const cStageData& stage, int paletteIndex, int column, int row)
{
    cCharaData placed = stage.m_PaletteCharas[static_cast<std::size_t>(paletteIndex)];
    placed.m_nColumn = static_cast<std::int16_t>(column);
    placed.m_nRow = static_cast<std::int16_t>(row);
    placed.m_nInheritSource = 2;  // the stage palette
    placed.m_nInheritIndex = static_cast<std::int16_t>(paletteIndex);
    return placed;
}

// The layout's gaps are filled: the hero walks from one area to the other on solid ground.
void FillGaps(cStageData& stage)
{
    std::vector<bool> solid(static_cast<std::size_t>(stage.m_nWidth), false);
    std::vector<cBlockData> ground;
    for (const cBlockData& block : stage.m_Blocks) {
        if (block.m_nRow < kGroundRow) continue;
        solid[static_cast<std::size_t>(block.m_nColumn)] = true;
        if (ground.size() < 2) ground.push_back(block);
    }
    for (int column = 0; column < stage.m_nWidth; ++column) {
        if (solid[static_cast<std::size_t>(column)]) continue;
        for (cBlockData filled : ground) {
            filled.m_nColumn = static_cast<std::int16_t>(column);
            stage.m_Blocks.push_back(filled);
        }
    }
}

std::string SparkSheet()
{
    cDemoCanvas canvas(kSparkCell * kSparkFrames, kSparkCell);
    for (int cell = 0; cell < kSparkFrames; ++cell) {
        const int cx = cell * kSparkCell + kSparkCell / 2, cy = kSparkCell / 2;
        const int r = 6 + cell * 3;
        canvas.Disc(cx, cy, r, Cube(5, 5 - cell, 0));
        canvas.Fill(cx - r - 2, cy - 1, 2 * r + 5, 3, Grey(38));
        canvas.Fill(cx - 1, cy - r - 2, 3, 2 * r + 5, Grey(38));
    }
    return canvas.File();
}

std::string Banner()
{
    cDemoCanvas canvas(kBannerWidth, kBannerHeight, Cube(5, 2, 0));
    canvas.Frame(0, 0, kBannerWidth, kBannerHeight, Grey(38));
    canvas.Frame(3, 3, kBannerWidth - 6, kBannerHeight - 6, Grey(38));
    canvas.Fill(24, kBannerHeight / 2 - 4, kBannerWidth - 48, 8, Cube(5, 5, 4));
    return canvas.File();
}

}  // namespace

void AddBossStage(DEMOGAME& game)
{
    cDatabase& database = game.database;
    // Entry 1 of the effect and screen-effect lists is the empty one a new database holds.
    cEffectData& spark = database.m_Effects.At(1);
    spark.m_strName = "火花";
    spark.m_strFile = "bmp\\Spark.bmp";
    spark.m_nWidth = kSparkCell;
    spark.m_nHeight = kSparkCell;
    spark.m_Frames.resize(kSparkFrames);
    for (int i = 0; i < kSparkFrames; ++i) spark.m_Frames[static_cast<std::size_t>(i)].m_nFrame = i;
    cScrEffectData& shake = database.m_ScrEffects.At(1);
    shake.m_strName = "着地の揺れ";
    shake.m_nKind = kShakeKind;
    const int shakeParams[cScrEffectData::kParams] = {kShakeTenths, kShakeAmplitude, kShakeSpeed, 0, 0};
    for (int i = 0; i < cScrEffectData::kParams; ++i) shake.m_nParams[i] = shakeParams[i];
    cPictureData banner;
    banner.m_strName = "エリア2";
    banner.m_strFile = "bmp\\Banner.bmp";
    database.m_Pictures.push_back(banner);
    const int bannerNumber = static_cast<int>(database.m_Pictures.size()) - 1;
    game.files.push_back({"bmp\\Spark.bmp", SparkSheet()});
    game.files.push_back({"bmp\\Banner.bmp", Banner()});

    // The first area's music is the MIDI tune, the second's the Ogg one.
    const DEMOSTAGELAYOUT layout{40, DEMO_BGM_MIDI, "背景その1.bmp", 12, 4, 2, 0, true};
    cStageData stage = DemoStageLayout(layout);
    FillGaps(stage);
    cBackgroundData second = stage.m_Backgrounds.At(0);
    second.m_strPicture = "背景その2.bmp";
    second.m_bShow = 0;
    stage.m_Backgrounds.push_back(second);

    // Every touch sparks, whoever hurts whom.
    stage.m_PaletteCharas[kHeroIndex].m_nHitEffect = 1;
    stage.m_PaletteCharas[kWalkerIndex].m_nHitEffect = 1;
    const int bossIndex = static_cast<int>(stage.m_PaletteCharas.size());
    stage.m_PaletteCharas.push_back(Boss(1));
    const int markerIndex = static_cast<int>(stage.m_PaletteCharas.size());
    stage.m_PaletteCharas.push_back(AreaMarker(bannerNumber));
    // The placed charas copy their templates as they stand now.
    for (cCharaData& placed : stage.m_Charas)
        placed = PlacedCharaOf(stage, placed.m_nInheritIndex, placed.m_nColumn, placed.m_nRow);
    stage.m_Charas.push_back(PlacedCharaOf(stage, bossIndex, kBossColumn, kBossRow));
    stage.m_Charas.push_back(PlacedCharaOf(stage, markerIndex, kMarkerColumn, kStandRow));

    game.stages.push_back({"data\\stg4\\Boss.stg4_001", "ボス", stage});
}
