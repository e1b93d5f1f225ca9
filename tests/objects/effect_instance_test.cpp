// Effect instances placed by hits and by records: where they land, how they scale, and the
// two random draws every hit makes.
#include <gtest/gtest.h>

#include <cstdlib>

#include "data/database.h"
#include "objects/database_working_tables.h"
#include "objects/effect_instance.h"
#include "objects/object_types.h"
#include "platform/os/random.h"
#include "tests/stage/stage_fixture.h"
#include "tests/support/restore.h"

namespace {

HITBOX Box(double left, double top, double right, double bottom)
{
    HITBOX box;
    box.rect = DBLRECT{left, top, right, bottom};
    return box;
}

// Effect 1: 16 x 12 frames that scale with charas, two frames; effect 2 the same without
// scaling.
class EffectInstances : public qbtest::cStageTest {
protected:
    EffectInstances()
    {
        g_Database.m_Effects.assign(3, cEffectData{});
        for (int id = 1; id <= 2; ++id) {
            cEffectData& entry = g_Database.m_Effects[id];
            entry.m_nWidth = 16;
            entry.m_nHeight = 12;
            entry.m_bScaleWithChara = (id == 1) ? 1 : 0;
            entry.m_Frames.assign(2, cEffectFrameData{});
            entry.m_Frames[1].m_nFrame = 1;
        }
        BuildDatabaseWorkingTables();
    }
    ~EffectInstances() override { std::srand(m_nSeed); }

    unsigned int m_nSeed = plat::RandomState();

    qbtest::cRestore<cSafeVector<cSafeVector<ANIMEFRAME>>> m_Patterns{g_EffectPatterns};
};

TEST_F(EffectInstances, AHitDrawsTwoRandomNumbersXFirstAndSpreadsThemByItsScale)
{
    // After srand(1) the draws are 41 and 18467: 41 mod 9 - 4 = +1 and 18467 mod 9 - 4 = +4 at
    // spread 1; 41 mod 17 - 8 = -1 and 18467 mod 17 - 8 = -3 at spread 2. The overlap of the
    // boxes below is (120, 210)-(139, 229), whose centre lies 10 pixels in on each axis.
    struct Case {
        const char* name;
        int id, scale;
        HITBOX a, b;
        double x, y;
        int w, h, scaled;
    } cases[] = {
        {"spread 1", 1, 1, Box(100, 200, 139, 229), Box(120, 210, 160, 260), 130 - 8 + 1, 220 - 6 + 4, 16, 12, 0},
        {"scale 2 doubles the size and the spread", 1, 2, Box(100, 200, 139, 229), Box(120, 210, 160, 260),
         130 - 16 - 1, 220 - 12 - 3, 32, 24, 1},
        {"an effect that does not scale keeps spread 1", 2, 2, Box(100, 200, 139, 229), Box(120, 210, 160, 260),
         130 - 8 + 1, 220 - 6 + 4, 16, 12, 0},
        {"touching edges overlap", 1, 1, Box(0, 0, 50, 50), Box(50, 50, 80, 80), 50 + 0 - 8 + 1, 50 + 0 - 6 + 4, 16, 12, 0},
        {"disjoint boxes draw too, around the stage's (0, 0)", 1, 1, Box(0, 0, 10, 10), Box(300, 300, 320, 320),
         0 - 8 + 1, 0 - 6 + 4, 16, 12, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::srand(1);
        cEffectInstance effect;
        effect.InitHit(c.id, c.a, c.b, c.scale);
        EXPECT_EQ(effect.m_dX, c.x);
        EXPECT_EQ(effect.m_dY, c.y);
        EXPECT_EQ(effect.m_nWidth, c.w);
        EXPECT_EQ(effect.m_nHeight, c.h);
        EXPECT_EQ(effect.m_bScaled, c.scaled);
        std::srand(1);
        std::rand();
        std::rand();
        const int third = std::rand();
        std::srand(1);
        effect.InitHit(c.id, c.b, c.a, c.scale);
        EXPECT_EQ(std::rand(), third) << "exactly two draws";
    }
}

TEST_F(EffectInstances, ARecordIsScaledWhenItsWidthDiffersFromTheFrameWidth)
{
    struct Case { int width, height, scaled; } cases[] = {{16, 12, 0}, {16, 30, 0}, {24, 12, 1}, {0, 0, 1}};
    for (const Case& c : cases) {
        const cEffectInstance effect(EFFECTPLACEMENT{1, 5.5, 6.5, c.width, c.height, 0});
        EXPECT_EQ(effect.m_bScaled, c.scaled) << c.width << " x " << c.height;
        EXPECT_EQ(effect.m_Animator.m_Patterns.size(), 1u);
    }
}

TEST_F(EffectInstances, ACharaWithAHitEffectPlacesItOnTheStageWhenHit)
{
    cCharaData definition = CharaTemplate();
    Scene().PlaceChara(1, 1, definition, nullptr);
    cStageChara& victim = Scene().m_Charas.back();
    Scene().PlaceChara(2, 1, definition, nullptr);
    cStageChara& attacker = Scene().m_Charas.back();
    attacker.m_Def.m_nBodyAttack = 1;
    attacker.m_Def.m_nHitEffect = 2;
    victim.TakeCharaHit(attacker);
    ASSERT_EQ(Scene().m_EffectList.m_Effects.size(), 1u);
    EXPECT_EQ(Scene().m_EffectList.m_Effects.front().m_nId, 2);
    attacker.m_Def.m_nHitEffect = 0;
    victim.TakeCharaHit(attacker);
    EXPECT_EQ(Scene().m_EffectList.m_Effects.size(), 1u) << "no hit effect, nothing placed";
}

}  // namespace
