#include "tools/stage-generator/stress_stage.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

#include "data/command_info.h"
#include "data/data_version.h"
#include "data/palette_data.h"
#include "data/template_lists.h"
#include "data/template_sources.h"
#include "platform/os/files.h"
#include "tools/demo-game/demo_bitmaps.h"
#include "tools/demo-game/demo_game.h"

namespace {

constexpr int kColumns = 40;
constexpr int kRows = 15;
constexpr int kGroundRow = kRows - 3;          // the top of the ground, three rows deep
constexpr int kFirstHitLayer = 1;              // layers 1 to 4; the hero sits in layer 1 too
constexpr int kStageVariable = 1;              // where each flow stores its random number
constexpr int kStressHp = 999999;

// Move types of the chara record.
constexpr int kWalking = 0;
constexpr int kFlying = 2;

cCommandData Command(int kind, int tenths)
{
    cCommandData command;
    command.m_nKind = static_cast<std::int8_t>(kind);
    command.m_nTime = static_cast<std::int16_t>(tenths);
    return command;
}

// Directions of the movement part.
constexpr int kLeft = 2;
constexpr int kRight = 3;

cCommandData StraightMove(int direction, int tenths, int speed)
{
    cCommandData move = Command(COMMAND_STRAIGHT_MOVE, tenths);
    cEdMove::Create(move.m_pMove);
    move.m_pMove->m_nDirection = static_cast<BYTE>(direction);
    move.m_pMove->m_nSpeed = static_cast<std::int16_t>(speed);
    return move;
}

// A stage variable set to a random number from 0 to 99: a draw of the random generator.
cCommandData RandomDraw()
{
    cCommandData status = Command(COMMAND_STATUS, 0);
    status.m_Params.resize(18);
    status.m_Params[0] = 1;               // a variable
    status.m_Params[1] = 1;               // of the stage
    status.m_Params[2] = kStageVariable;
    status.m_Params[5] = 0;               // set
    status.m_Params[6] = 1;               // to a random operand
    status.m_Params[8] = 0;
    status.m_Params[9] = 99;
    return status;
}

// A ring of kStressVolley harmless shots around the chara, slow, living two seconds and passing
// through blocks: the flow goes on at once. With a volley at the start of each leg of a patrol
// (one to two seconds) the 90 shooting charas keep about 600 shots in flight.
cCommandData ShotRing()
{
    cCommandData shot = Command(COMMAND_SHOT, 1);
    shot.m_bParallel = 1;
    cEdShot::Create(shot.m_pShot);
    cEdShot& part = *shot.m_pShot;
    part.m_nFormation = 4;        // "爆発"
    part.m_nFormationCount = kStressVolley;
    part.m_nSpeed = 10;
    part.m_nGraphic = 1;
    part.m_bLifeLimit = 1;
    part.m_nLife = kStressShotLife;
    part.m_nPassBlocks = 1;
    return shot;
}

// Left for a while, a random draw, a turn, right as long, a turn: the flow that runs every
// frame (trigger 0), back where it started at its end. A shooting chara fires a ring of shots
// as each leg starts.
cFlowData Patrol(int tenths, int speed, bool shoots = false)
{
    cFlowData flow;
    flow.m_nTrigger = TRIGGER_ALWAYS;
    if (shoots) flow.m_Commands.push_back(ShotRing());
    flow.m_Commands.push_back(StraightMove(kLeft, tenths, speed));
    flow.m_Commands.push_back(RandomDraw());
    flow.m_Commands.push_back(Command(COMMAND_TURN, 0));
    if (shoots) flow.m_Commands.push_back(ShotRing());
    flow.m_Commands.push_back(StraightMove(kRight, tenths, speed));
    flow.m_Commands.push_back(Command(COMMAND_TURN, 0));
    return flow;
}

cCharaData Hero()
{
    cCharaData hero;
    hero.m_nImageNumber = 1;
    hero.m_nOperator = 0;
    hero.m_nHeldItem = -1;
    hero.m_nMaxHp = kStressHp;
    hero.m_Flows.push_back(Patrol(40, 20));
    return hero;
}

// Chara i of the crowd: every fourth one block-like, the hit layers in turn by fours (so that
// the charas of one row stand on every layer), sheets 2 to 8,
// speeds and patrol lengths varied so that the crowd does not move as one. All stay awake:
// the in-view test skips both axes and a woken chara keeps awake. Charas of different layers
// that touch hurt each other by 1, which no run lasts long enough to matter. A patrol goes to and fro
// at most about seven blocks from where it starts.
cCharaData CrowdChara(int i)
{
    cCharaData chara;
    chara.m_strName = i % 4 == 0 ? "ブロックキャラ" : "キャラ";
    chara.m_nImageNumber = static_cast<std::int16_t>(2 + i % 7);
    chara.m_nOperator = 1;
    chara.m_nHeldItem = -1;
    chara.m_nMaxHp = kStressHp;
    chara.m_nBodyAttack = 1;
    chara.m_nFacing = static_cast<BYTE>(i % 2);
    chara.m_bWholeCellBoxes = i % 4 == 0 ? 1 : 0;
    chara.m_nFlying = static_cast<BYTE>(i % 8 == 1 ? kWalking : kFlying);
    chara.m_nGroup2Setting = static_cast<BYTE>(kFirstHitLayer + i / 4 % kStressHitLayers);
    chara.m_nZ = static_cast<BYTE>(1 + i % 6);
    chara.m_nScreenRange = 3;
    chara.m_nActivation = 1;
    chara.m_Flows.push_back(Patrol(10 + i % 3 * 5, 5 + i % 7 * 2, i % 4 != 0));
    return chara;
}

// Where chara i stands: the block-like ones in the top two rows, walkers on the ground, the
// others in four rows between, clear of the ledges; eight blocks from either side of the stage,
// so that no patrol leaves it.
void Place(cCharaData& chara, int i)
{
    int row = 0;
    if (chara.m_bWholeCellBoxes) row = 1 + i / 4 % 2;
    else if (chara.m_nFlying == kWalking) row = kGroundRow - 1;
    else row = 4 + i % 4;
    chara.m_nColumn = static_cast<std::int16_t>(8 + (i * 7) % (kColumns - 16));
    chara.m_nRow = static_cast<std::int16_t>(row);
}

cBlockData Block(int column, int row, int frame)
{
    cBlockData block;
    block.m_nColumn = static_cast<std::int16_t>(column);
    block.m_nRow = static_cast<std::int16_t>(row);
    block.m_nImageNumber = 1;
    block.m_nImageFrame = static_cast<std::int16_t>(frame);
    block.m_nHitMode = 1;
    return block;
}

// A picture of the demo palette that is transparent (index 0) but for discs of colour
// `colour` standing on a baseline, and a band below it: hills, clouds, trees or grass.
struct LAYERPICTURE {
    const char* szPath;
    int nWidth;
    int nHeight;
    int nBaseline;     // the discs' centres
    int nRadius;
    int nSpacing;
    int nBand;         // rows filled below the baseline
    int nColour;       // 1 + r x 36 + g x 6 + b, components 0..5
};

constexpr LAYERPICTURE kLayerPictures[] = {
    {"bmp\\StressHills.bmp", 640, 480, 360, 90, 200, 120, 1 + 1 * 36 + 3 * 6 + 1},
    {"bmp\\StressClouds.bmp", 320, 240, 60, 28, 110, 0, 1 + 5 * 36 + 5 * 6 + 5},
    {"bmp\\StressTrees.bmp", 640, 480, 330, 40, 120, 0, 1 + 0 * 36 + 2 * 6 + 0},
    {"bmp\\StressGrass.bmp", 640, 480, 470, 14, 45, 10, 1 + 0 * 36 + 4 * 6 + 0},
};

std::string LayerPicture(const LAYERPICTURE& picture)
{
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(picture.nWidth) * picture.nHeight, 0);
    const auto colour = static_cast<std::uint8_t>(picture.nColour);
    for (int y = 0; y < picture.nHeight; ++y)
        for (int x = 0; x < picture.nWidth; ++x) {
            const int dx = (x % picture.nSpacing) - picture.nSpacing / 2, dy = y - picture.nBaseline;
            const bool inDisc = dx * dx + dy * dy <= picture.nRadius * picture.nRadius;
            const bool inBand = picture.nBand > 0 && y >= picture.nBaseline && y < picture.nBaseline + picture.nBand;
            if (inDisc || inBand) pixels[static_cast<std::size_t>(y) * picture.nWidth + x] = colour;
        }
    return DemoBitmap8(picture.nWidth, picture.nHeight, pixels, true);
}

bool WriteLayerPictures(const std::string& root, std::string& error)
{
    for (const LAYERPICTURE& picture : kLayerPictures) {
        const std::string path = root + "\\" + picture.szPath, bytes = LayerPicture(picture);
        FILE* file = plat::OpenFile(path.c_str(), "wb");
        bool written = file && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
        if (file && std::fclose(file) != 0) written = false;
        if (!written) {
            error = "cannot write " + plat::NativePath(path.c_str());
            return false;
        }
    }
    return true;
}

// Four layers behind the objects: the demo's opaque landscape, then hills, clouds scrolling by
// themselves and trees that are mostly transparent; and grass in front, scrolling by itself.
void AddBackgrounds(cStageData& stage)
{
    stage.m_Backgrounds.resize(kStressBackgrounds);
    for (int i = 0; i < kStressBackgrounds; ++i) {
        cBackgroundData& layer = stage.m_Backgrounds[i];
        layer.m_strPicture = i == 0 ? "背景その1.bmp" : kLayerPictures[i - 1].szPath;
        layer.m_nLayer = i == kStressBackgrounds - 1 ? 1 : 0;
        layer.m_bAutoScrollX = i == 2 || i == 4;
        layer.m_dFactorX = layer.m_bAutoScrollX ? -0.75 - 0.5 * i : 0.2 * i;
        layer.m_dFactorY = i == 3 ? 0.35 : 0.0;
    }
}

}  // namespace

cStageData StressStage()
{
    cStageData stage;
    stage.Reset();
    stage.m_strText = "ストレステスト";
    stage.m_nWidth = kColumns;
    stage.m_nHeight = kRows;
    stage.m_nScrollAxisX = kColumns * 32;
    stage.m_nScrollAxisY = kRows * 32;
    stage.SetSpeedLevel(kStressSpeedLevel);
    AddBackgrounds(stage);

    for (int column = 0; column < kColumns; ++column)
        for (int row = kGroundRow; row < kRows; ++row) stage.m_Blocks.push_back(Block(column, row, 0));
    for (int ledge = 0; ledge < kColumns / 8; ++ledge)
        for (int k = 0; k < 4; ++k) stage.m_Blocks.push_back(Block(ledge * 8 + 2 + k, 8 + ledge % 2, 11));

    cCharaData hero = Hero();
    hero.m_nColumn = kColumns / 2;
    hero.m_nRow = kGroundRow - 1;
    stage.m_Charas.push_back(hero);
    for (int i = 0; i < kStressCharas; ++i) {
        cCharaData chara = CrowdChara(i);
        Place(chara, i);
        stage.m_Charas.push_back(chara);
    }
    return stage;
}

bool BuildStressGame(const std::string& folder, std::string& error)
{
    if (!BuildDemoGame(folder, error)) return false;
    std::error_code failure;
    const std::filesystem::path absolute = std::filesystem::absolute(folder, failure);
    std::string root;
    if (failure || !plat::ToProgramPath(absolute.lexically_normal().string(), root)) {
        error = "the folder " + folder + " has no CP932 name";
        return false;
    }
    if (!root.empty() && root.back() == '\\') root.pop_back();

    if (!WriteLayerPictures(root, error)) return false;
    g_nDataVersion = kDataVersion;
    cStageData stage = StressStage();
    cPaletteData common;
    const TEMPLATESOURCES sources{ListsOf(common.m_Blocks, common.m_Charas, common.m_Items), stage.PaletteLists()};
    cTemplateSourceScope scope(sources);
    const std::string path = root + "\\" + kStressStageFile;
    if (!stage.Save(path.c_str())) {
        error = "cannot write " + plat::NativePath(path.c_str());
        return false;
    }
    return true;
}
