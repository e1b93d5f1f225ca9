#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "graphics/device.h"
#include "platform/input/keyboard.h"
#include "play/frame_seams.h"
#include "shell/log.h"
#include "tests/graphics/blit_reference.h"
#include "tests/stage/stage_fixture.h"
#include "tests/support/temp_folder.h"

using qbtest::cRequestLog;
using qbtest::cStageFixture;

namespace {

// A stage of 13 x 30 blocks whose hero starts in block (2, 5): its bounds are 16 x 24 unless a
// case widens them, bottom-aligned in the block, so x = 392.5 and the bottom at y = 511
// (stage pixels, margins of 10 blocks included). Speed level 4: four sub-steps a frame,
// gravity 0.025 a sub-step.
class PlayerDeaths : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_Folder.ChangeInto();
        SetEcLogFile(1, "EC_Game.txt");
        plat::SetKeyState(VK_SPACE, false);
        ASSERT_TRUE(DDInit(TRUE, nullptr, 640, 480, 32, FALSE, 1, 1, 60, FALSE, nullptr, nullptr, 0, 0));
    }
    void TearDown() override
    {
        SetProcessHitsStandIn(nullptr);
        DDUninit();
        SetEcLogFile(0, "EC_Game.txt");
    }
    static void Block(int column, int row, int hitMode)
    {
        cBlockData block = qbtest::PlacedBlock(column, row, 1);
        block.m_nHitMode = static_cast<std::int8_t>(hitMode);
        g_StageData.m_Blocks.push_back(block);
    }
    static cPlayScene& Scene(cStageFixture& fixture)
    {
        fixture.Commit();
        cPlayScene& scene = fixture.NewScene();
        scene.SetStage(0, 1);
        scene.m_nState = PLAYSTATE_PLAY;
        return scene;
    }
    // Runs frames until player 1 dies (at most `limit`). Each frame is given a back buffer of
    // its own pattern first: the frames before the death draw over it, the death frame must
    // leave it as it was. The frame number, or 0.
    int RunUntilDeath(cPlayScene& scene, int limit)
    {
        for (int frame = 1; frame <= limit; ++frame) {
            const qbtest::cImage pattern = qbtest::Pattern(640, 480, static_cast<std::uint32_t>(frame));
            qbtest::WriteImage(&g_BackBuffer, pattern);
            scene.Run();
            if (Player.At(0).m_bDead) {
                EXPECT_EQ(qbtest::ReadImage(&g_BackBuffer), pattern) << "the death frame drew";
                return frame;
            }
            EXPECT_NE(qbtest::ReadImage(&g_BackBuffer), pattern) << "frame " << frame << " drew nothing";
        }
        return 0;
    }
    // The lines of the error-check log that the death tests write.
    std::vector<std::string> DeathLines() const
    {
        std::vector<std::string> lines;
        if (!m_Folder.Exists("EC_Game.txt")) return lines;
        std::istringstream text(m_Folder.ReadFile("EC_Game.txt"));
        for (std::string line; std::getline(text, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.find("Dead") != std::string::npos || line.find("LRUD") != std::string::npos) lines.push_back(line);
        }
        return lines;
    }

    qbtest::cTempFolder m_Folder;
};

TEST_F(PlayerDeaths, EachDeathTestLogsItsLabelKillsWithSound8AndDrawsNothing)
{
    struct Case {
        const char* label;
        std::function<void()> stage;                 // before the set-up
        std::function<void(cPlayScene&)> prepare;    // after it
        int (*hits)(cChara&);                        // stands in for the hits with block-like charas
        std::vector<std::string> lines;
        int subStep;                                 // 0: not checked
        double x = -1, y = -1;                       // where the hero died; -1: not checked
    };
    auto none = [](cPlayScene&) {};
    auto nothing = []() {};
    // Line probes test the ends of a line only: a hero 40 wide reaches from column 1 to
    // column 3, so that blocks there meet its sides, and its top and bottom lines only there.
    auto wideHero = []() { g_StageData.m_nHeroBodyW = 40; };
    const Case cases[] = {
        // The clamp, gravity and the vertical move still run after the deadly wall: y moved
        // by one sub-step's gravity. A squeeze puts the hero back where the sub-step began.
        {"Dead 1: a deadly block at the hero's side", [] { Block(2, 5, 2); }, none, nullptr, {"Dead 1"}, 1, 392.5, 488.025},
        {"Dead 2: a fall out of the stage", nothing, none, nullptr, {"Dead 2"}, 0},
        {"Dead 3: the bottom of an auto-scrolling screen",
         nothing, [](cPlayScene& scene) { scene.m_ScrollY.m_bAuto = 1; }, nullptr, {"Dead 3"}, 0},
        {"Dead 4: a deadly floor", [] { Block(2, 7, 2); }, none, nullptr, {"Dead 4"}, 0},
        // The right wall pushes the rising hero left under the ceiling at column 1, which
        // pushes it down past the screen's bottom (y > 783 for its drawing geometry).
        {"Dead 5: a ceiling pushes the rising hero out of the auto-scrolling screen",
         [&] { wideHero(); Block(1, 14, 1); Block(3, 14, 1); },
         [](cPlayScene& scene) {
             scene.m_ScrollY.m_bAuto = 1;
             cHero& hero = Player.At(0);
             hero.m_dX = 388.5;   // columns 2 and 3
             hero.m_dY = 776;     // the row of the ceiling
             hero.OnMovedX();
             hero.OnMovedY();
             hero.m_dVY = -1;
         },
         nullptr, {"Dead 5"}, 1},
        // The walls push it out on both sides, and the left one lands it.
        {"Dead SP: squeezed between two walls", [&] { wideHero(); Block(1, 5, 1); Block(3, 5, 1); }, none, nullptr,
         {"Player[P1].LRUD = 1,1,0,1", "Dead SP"}, 1, 380.5, 488},
        {"Dead 6: crushed by a block-like chara", nothing, none, [](cChara&) { return 2; }, {"Dead 6"}, 1},
        {"Dead 7: pushed sideways into a deadly block", [] { Block(3, 5, 2); }, none,
         [](cChara& hero) {
             hero.m_dX += 32;
             hero.OnMovedX();
             hero.m_bContactLeft = 1;
             return 0;
         },
         {"Dead 7"}, 1},
        {"Dead 8: pushed down onto a deadly block", [] { Block(2, 6, 2); }, none,
         [](cChara& hero) {
             hero.m_dY += 32;
             hero.OnMovedY();
             hero.m_bContactDown = 1;
             return 0;
         },
         {"Dead 8"}, 1},
        {"Dead 9: a wall on the left and a block-like chara on the right", [&] { wideHero(); Block(1, 5, 1); }, none,
         [](cChara& hero) {
             hero.m_bContactRight = 1;
             return 0;
         },
         {"Player[P1].LRUD = 1,1,0,0", "Dead 9"}, 1, 380.5, 488},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        cStageFixture fixture;
        g_StageData.m_nHeight = 30;
        g_StageData.m_nScrollAxisY = (30 + 20) * 32 - 640;
        c.stage();
        cPlayScene& scene = Scene(fixture);
        c.prepare(scene);
        SetProcessHitsStandIn(c.hits);
        SetEcLogFile(1, "EC_Game.txt");
        cRequestLog requests;
        const int frame = RunUntilDeath(scene, 400);
        ASSERT_NE(frame, 0);
        EXPECT_EQ(DeathLines(), c.lines);
        EXPECT_EQ(cRequestLog::s_Sounds, std::vector<int>{8});
        if (c.subStep != 0) {
            EXPECT_EQ(scene.m_nSubStep, c.subStep) << "the later sub-steps are skipped";
        }
        EXPECT_EQ(scene.m_nSubStepTotal, (frame - 1) * 4 + scene.m_nSubStep);
        if (c.x >= 0) {
            EXPECT_DOUBLE_EQ(Player.At(0).m_dX, c.x);
            EXPECT_DOUBLE_EQ(Player.At(0).m_dY, c.y);
        }
        SetProcessHitsStandIn(nullptr);
        SetEcLogFile(0, "EC_Game.txt");
    }
}

}  // namespace
