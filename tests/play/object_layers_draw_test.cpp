// The objects of the stage drawn pass by pass: the draw layer of each definition orders them,
// not its hit layer, and with the layer switch off one pass draws them in list order.
#include <gtest/gtest.h>

#include "data/stage_geometry.h"
#include "graphics/device.h"
#include "graphics/standard_surfaces.h"
#include "tests/play/stage_draw_fixture.h"

namespace {

using qbtest::cImage;

constexpr std::uint32_t kHeroRgb = 0xC00000;
constexpr std::uint32_t kCharaRgb = 0x0000C0;
constexpr std::uint32_t kItemRgb = 0x00C000;

// Chara sheet 0, left facing: row 0 (picture 0) the hero's colour, row 1 (picture 1) the chara's.
std::uint32_t LayerSheetRgb(int, int y) { return y < kCell ? kHeroRgb : kCharaRgb; }

void SetUpChara(cChara& chara, int picture, int drawLayer, int hitLayer)
{
    chara.m_nImage = picture;
    chara.m_Def.m_nImageKind = 1;
    chara.m_Def.m_nZ = static_cast<BYTE>(drawLayer);
    chara.m_Def.m_nGroup2Setting = static_cast<BYTE>(hitLayer);
    chara.m_nDrawWidth = chara.m_nDrawHeight = kCell;
    chara.m_nBaseDrawWidth = chara.m_nBaseDrawHeight = kCell;
    chara.m_nPassLayer = hitLayer;
    chara.m_dX = 320 + 100;   // screen (100, 60) at scroll (320, 320)
    chara.m_dY = 320 + 60;
    chara.m_bOnScreen = 1;
    chara.m_nKind = picture;
}

class ObjectLayersDraw : public qbtest::cStageDrawTest {
protected:
    void SetUp() override
    {
        cStageDrawTest::SetUp();
        LoadPicture(kFirstCharaSheet, 8 * kCell, 2 * kCell, LayerSheetRgb);
        Player.resize(1);
    }
    // The colour shown where the hero and the chara overlap.
    std::uint32_t Overlap(int layered, int heroDraw, int heroHit, int charaDraw, int charaHit)
    {
        g_StageData.m_bLayered = layered;
        SetUpChara(Player.At(0), 0, heroDraw, heroHit);
        m_Scene->m_Charas.clear();
        SetUpChara(m_Scene->m_Charas.emplace_back(), 1, charaDraw, charaHit);
        m_Scene->DrawStage(1, 1, 0, 0);
        return Screen().At(110, 70) & 0xFFFFFF;
    }
};

TEST_F(ObjectLayersDraw, TheDrawLayerOrdersObjectsWhenLayeringIsOn)
{
    struct Case {
        const char* what;
        int layered, heroDraw, heroHit, charaDraw, charaHit;
        std::uint32_t shown;
    } cases[] = {
        {"the hero's higher draw layer comes later", 1, 5, 5, 2, 2, kHeroRgb},
        {"the chara's higher draw layer comes later", 1, 1, 1, 6, 6, kCharaRgb},
        {"hit layers opposite to the draw layers change nothing", 1, 5, 1, 2, 7, kHeroRgb},
        {"the same draw layer: the player first", 1, 3, 3, 3, 3, kCharaRgb},
        {"layering off: one pass, the player first", 0, 5, 5, 2, 2, kCharaRgb},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Overlap(c.layered, c.heroDraw, c.heroHit, c.charaDraw, c.charaHit), c.shown);
    }
}

TEST_F(ObjectLayersDraw, ACharaDrawsItsCellAtItsScreenRectangle)
{
    g_StageData.m_bLayered = 1;
    Player.clear();
    SetUpChara(m_Scene->m_Charas.emplace_back(), 1, 3, 3);
    m_Scene->DrawStage(1, 1, 0, 0);
    const cImage screen = Screen();
    EXPECT_EQ(screen.At(100, 60) & 0xFFFFFF, kCharaRgb);
    EXPECT_EQ(screen.At(131, 91) & 0xFFFFFF, kCharaRgb);
    EXPECT_EQ(screen.At(99, 60) & 0xFFFFFF, qbtest::kColour16);
    EXPECT_EQ(screen.At(132, 91) & 0xFFFFFF, qbtest::kColour16);
}

TEST_F(ObjectLayersDraw, ItemsAreDrawnInThePassOfTheirDrawLayer)
{
    LoadPicture(kItemSheet, 2 * kCell, kCell, [](int, int) { return kItemRgb; });
    g_StageData.m_bLayered = 1;
    struct Case {
        const char* what;
        int itemLayer, hidden, onScreen;
        std::uint32_t shown;
    } cases[] = {
        {"below the hero's layer", 4, 0, 1, kHeroRgb},
        {"above the hero's layer", 6, 0, 1, kItemRgb},
        {"hidden", 6, 1, 1, kHeroRgb},
        {"off the screen", 6, 0, 0, kHeroRgb},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUpChara(Player.At(0), 0, 5, 5);
        m_Scene->m_Items.clear();
        cItem& item = m_Scene->m_Items.emplace_back();
        item.m_Def.m_nImageKind = 2;
        item.m_Def.m_nGroup5Setting = static_cast<BYTE>(c.itemLayer);
        item.m_Def.m_bHidden = static_cast<BYTE>(c.hidden);
        item.m_nDrawWidth = item.m_nDrawHeight = item.m_nBaseDrawWidth = item.m_nBaseDrawHeight = kCell;
        item.m_dX = 320 + 110;
        item.m_dY = 320 + 70;
        item.m_bOnScreen = c.onScreen;
        m_Scene->DrawStage(1, 1, 0, 0);
        EXPECT_EQ(Screen().At(115, 75) & 0xFFFFFF, c.shown);
    }
}

TEST_F(ObjectLayersDraw, ACharasAnimationStepsOnceForEachDrawThatIsNotPaused)
{
    // Cell 0 of the sheet's first row is red, cell 1 green; the pattern shows each for a tick.
    // The set-up's sheet makes room for it.
    DDReleaseSurface(&g_StdSurface[kFirstCharaSheet]);
    LoadPicture(kFirstCharaSheet, 8 * kCell, 2 * kCell, [](int x, int) { return x < kCell ? kHeroRgb : kItemRgb; });
    static const int kSteps[] = {0, 1, 0, 1, 1, 0, kAnimeRestart, 0, 0};
    static const int* const kPatterns[] = {kSteps, nullptr};
    Player.clear();
    cStageChara& chara = m_Scene->m_Charas.emplace_back();
    SetUpChara(chara, 0, 3, 3);
    chara.m_Animator.Build(kPatterns);
    struct Step {
        int paused;
        std::uint32_t shown;
    } steps[] = {{0, kItemRgb}, {1, kItemRgb}, {1, kItemRgb}, {0, kHeroRgb}, {0, kItemRgb}};
    for (const Step& step : steps) {
        m_Scene->DrawStage(step.paused, step.paused, 0, 0);
        EXPECT_EQ(Screen().At(110, 70) & 0xFFFFFF, step.shown);
    }
}

}  // namespace
