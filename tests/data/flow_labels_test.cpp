#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "data/flow_labels.h"
#include "data/move_shot_labels.h"
#include "tests/support/cp932_printer.h"

using qbtest::Cp932;

namespace {

// Number of labels before the closing empty one.
template <std::size_t N>
int LabelCount(const char* const (&table)[N])
{
    int n = 0;
    while (*table[n] != '\0') ++n;
    return n;
}

}  // namespace

TEST(FlowLabels, EveryTableHasItsLabelsThenOneClosingEmptyLabel)
{
#define TABLE(t, n, first, last) {#t, LabelCount(t), static_cast<int>(std::size(t)), t[0], t[std::size(t) - 2], n, first, last}
    struct Case {
        const char* name;
        int labels;
        int size;
        const char* first;
        const char* last;
        int expectedLabels;
        const char* expectedFirst;
        const char* expectedLast;
    } cases[] = {
        TABLE(g_TriggerLabels, 20, "常時", "なし（フローの操作コマンドで実行）"),
        TABLE(g_GroupLabels, 27, "-", "Z"),
        TABLE(g_SmallLetterLabels, 27, "-", "z"),
        TABLE(g_ConditionRuleLabels, 2, "全ての条件が真なら成立", "1つ以上の条件が真なら成立"),
        TABLE(g_DistanceReferenceLabels, 2, "主人公", "ターゲット"),
        TABLE(g_DistanceAreaLabels, 7, "横", "円"),
        TABLE(g_DistanceSideLabels, 2, "以内", "外"),
        TABLE(g_CharaTestHolderLabels, 2, "自分", "ターゲット"),
        TABLE(g_HolderLabels, 3, "自分", "システム"),
        TABLE(g_HeroHolderLabels, 2, "主人公", "ターゲット"),
        TABLE(g_HeroSystemHolderLabels, 3, "主人公", "システム"),
        TABLE(g_TestedValueLabels, 2, "ステータス", "変数"),
        TABLE(g_OperandSourceLabels, 4, "定数", "変数"),
        TABLE(g_VariableScopeLabels, 2, "コモン変数", "ステージ変数"),
        TABLE(g_CharaTestLabels, 4, "左向き", "画面内にいる"),
        TABLE(g_KeyRuleLabels, 3, "全てのキーが真なら成立", "1つだけキーが真なら成立"),
        TABLE(g_KeyStateLabels, 3, "--", "離"),
        TABLE(g_FlowOperationLabels, 6, "開始", "永久停止"),
        TABLE(g_FlowOperationTargetLabels, 3, "このフロー", "IDで指定"),
        TABLE(g_CalculationModeLabels, 3, "通常の計算", "現在値に対する％で指定"),
        TABLE(g_ClearDestinationLabels, 3, "次のステージへ", "ワールドクリア"),
        TABLE(g_NextFacingLabels, 3, "左向き", "ステージクリア時の向きと同じ"),
        TABLE(g_MessagePositionLabels, 9, "画面中央に表示", "ステージ座標で指定"),
        TABLE(g_MessageDurationLabels, 3, "進行キーが押されるまで表示", "時間で指定"),
        TABLE(g_TargetChoiceLabels, 4, "主人公", "キャラ(キャラIDで指定)"),
        TABLE(g_SearchRangeLabels, 3, "全範囲（画面内のキャラ優先）", "画面内のみ"),
        TABLE(g_PaletteChoiceLabels, 2, "コモンパレット", "ステージパレット"),
        TABLE(g_CommonPaletteOnlyLabels, 1, "コモンパレット", "コモンパレット"),
        TABLE(g_PicturePositionLabels, 5, "画面中央に表示", "ステージ座標で指定"),
        TABLE(g_PictureDurationLabels, 3, "進行キーが押されるまで表示", "時間で指定"),
        TABLE(g_AnimeRunModeLabels, 3, "通常実行", "往復実行"),
        TABLE(g_VisibilityLabels, 3, "表示", "反転(表示⇔非表示)"),
        TABLE(g_OneOptionLabels, 1, "ON", "ON"),
        TABLE(g_MoveModeLabels, 2, "方向で指定", "目標座標で指定"),
        TABLE(g_WarpModeLabels, 3, "方向と距離で指定", "目標座標で指定"),
        TABLE(g_DirectionLabels, 13, "前", "入力方向"),
        TABLE(g_CoordinateLabels, 4, "配置位置からの相対座標", "画面座標"),
        TABLE(g_CoordinateNoPlacementLabels, 3, "相対座標", "画面座標"),
        TABLE(g_CircleRotationLabels, 4, "右回り", "左向きなら左回り、右向きなら右回り"),
        TABLE(g_FacingChangeLabels, 6, "左を向く", "最後にブロックが当たった方の逆を向く"),
        TABLE(g_TimeModeLabels, 3, "時間と速度を指定", "速度と距離を指定"),
        TABLE(g_CircleTimeModeLabels, 2, "時間を指定", "速度を指定"),
        TABLE(g_JumpHeightLabels, 3, "高さがキーで調節できない", "慣性移動速度に応じて高さを決定(主人公のみ有効)"),
        TABLE(g_DistanceUnitLabels, 2, "(hbl)で指定", "(dot)で指定"),
        TABLE(g_FormationLabels, 6, "直進A", "包囲"),
        TABLE(g_ShotTargetLabels, 3, "ターゲット", "自分"),
        TABLE(g_TrajectoryLabels, 10, "直進", "落下"),
        TABLE(g_BlockSummonModeLabels, 3, "ブロックを召喚", "ブロックがなければ召喚、ブロックがあれば消す"),
        TABLE(g_SummonPaletteLabels, 2, "コモンパレット", "ステージパレット"),
        TABLE(g_SummonCommonOnlyLabels, 1, "コモンパレット", "コモンパレット"),
        TABLE(g_ForceRuleLabels, 3, "パレットの設定に準ずる", "番号で指定"),
    };
#undef TABLE
    for (const auto& c : cases) {
        EXPECT_EQ(c.labels, c.expectedLabels) << c.name;
        EXPECT_EQ(c.size, c.expectedLabels + 1) << c.name;   // nothing after the closing label
        EXPECT_EQ(Cp932(c.first), Cp932(c.expectedFirst)) << c.name;
        EXPECT_EQ(Cp932(c.last), Cp932(c.expectedLast)) << c.name;
    }
    // The condition kinds start with an empty label of their own (kind 0 is "none").
    EXPECT_STREQ(g_ConditionKindLabels[0], "");
    EXPECT_EQ(Cp932(g_ConditionKindLabels[7]), Cp932("距離条件"));
    EXPECT_STREQ(g_ConditionKindLabels[8], "");
}

TEST(FlowLabels, StatusAndFlagDescriptors)
{
    EXPECT_EQ(Cp932(g_CharaStatusDescs[14].label), Cp932("倒したら獲得するスコア"));
    EXPECT_EQ(g_CharaStatusDescs[7].operandMin, -121);
    EXPECT_EQ(g_CharaStatusDescs[1].bSwitch1, 1);
    EXPECT_STREQ(g_CharaStatusDescs[15].label, "");
    EXPECT_EQ(g_SystemValueDescs[4].valueMax, 99);
    EXPECT_STREQ(g_SystemValueDescs[5].label, "");

    ASSERT_EQ(g_CharaFlagDescs.size(), 7u);
    // Option lists stop before the closing label of the table they copy.
    EXPECT_EQ(g_CharaFlagDescs[0].options.size(), 1u);
    EXPECT_EQ(g_CharaFlagDescs[3].options.size(), 4u);
    EXPECT_EQ(g_CharaFlagDescs[4].options.size(), 3u);
    ASSERT_EQ(g_CharaFlagDescs[5].options.size(), 10u);
    EXPECT_EQ(Cp932(g_CharaFlagDescs[5].options.back()), Cp932("×100"));
    EXPECT_EQ(g_CharaFlagDescs[5].minimum, 1);
    EXPECT_EQ(g_EmptyFlagDescs.size(), 2u);
}

TEST(DirectionFromChoice, InputDirectionsGiveTheirCodesAndNoDirectionTheFacing)
{
    struct Case { int history; int facingRight; int code; } cases[] = {
        {0, 1, 3}, {0, 0, 2}, {1, 1, 2}, {2, 0, 3}, {3, 0, 6}, {4, 1, 7},
        {5, 0, 8}, {5, 1, 8}, {6, 0, 9}, {7, 0, 10}, {8, 1, 11},
    };
    for (const auto& c : cases) EXPECT_EQ(DirectionFromChoice(c.history, c.facingRight), c.code) << c.history;
}
