#include "data/move_shot_labels.h"

const char* const g_MoveModeLabels[3] = {"方向で指定", "目標座標で指定", ""};
const char* const g_WarpModeLabels[4] = {
    "方向と距離で指定", "ターゲットからの方向と距離で指定", "目標座標で指定", "",
};
const char* const g_DirectionLabels[14] = {
    "前", "後", "左", "右", "前Y", "後Y", "上", "下", "左上", "左下", "右上", "右下", "入力方向", "",
};
const char* const g_CoordinateLabels[5] = {"配置位置からの相対座標", "相対座標", "絶対座標", "画面座標", ""};
const char* const g_CoordinateNoPlacementLabels[4] = {"相対座標", "絶対座標", "画面座標", ""};
const char* const g_CircleRotationLabels[5] = {
    "右回り", "左回り", "左向きなら右回り、右向きなら左回り", "左向きなら左回り、右向きなら右回り", "",
};
const char* const g_FacingChangeLabels[7] = {
    "左を向く", "右を向く", "ターゲットがいる方を向く", "ターゲットがいる方の逆を向く",
    "最後にブロックが当たった方を向く", "最後にブロックが当たった方の逆を向く", "",
};
const char* const g_TimeModeLabels[4] = {"時間と速度を指定", "時間と距離を指定", "速度と距離を指定", ""};
const char* const g_CircleTimeModeLabels[3] = {"時間を指定", "速度を指定", ""};
const char* const g_JumpHeightLabels[4] = {
    "高さがキーで調節できない", "高さがキーで調節できる(主人公のみ有効)",
    "慣性移動速度に応じて高さを決定(主人公のみ有効)", "",
};
const char* const g_DistanceUnitLabels[3] = {"(hbl)で指定", "(dot)で指定", ""};
const char* const g_FormationLabels[7] = {"直進A", "直進B", "拡散", "落雷", "爆発", "包囲", ""};
const char* const g_ShotTargetLabels[4] = {"ターゲット", "主人公", "自分", ""};
const char* const g_TrajectoryLabels[11] = {
    "直進",
    "主人公を狙う",
    "近いキャラを狙う",
    "ターゲットを狙う",
    "主人公へ誘導",
    "近いキャラへ誘導（対象死亡時、誘導を無効化）",
    "ターゲットへ誘導",
    "近いキャラへ誘導（対象死亡時、対象を変更）",
    "ウェーブ",
    "落下",
    "",
};
const char* const g_BlockSummonModeLabels[4] = {
    "ブロックを召喚", "ブロックを消す", "ブロックがなければ召喚、ブロックがあれば消す", "",
};
const char* const g_SummonPaletteLabels[3] = {"コモンパレット", "ステージパレット", ""};
const char* const g_SummonCommonOnlyLabels[2] = {"コモンパレット", ""};
const char* const g_ForceRuleLabels[4] = {"パレットの設定に準ずる", "使用者と同じ", "番号で指定", ""};

int DirectionFromChoice(int history, int bFacingRight)
{
    // Codes of "左", "右", "上", "下", "左上", "左下", "右上", "右下" in the direction list.
    static const int kCodes[9] = {0, 2, 3, 6, 7, 8, 9, 10, 11};
    if (history >= 1 && history <= 8) return kCodes[history];
    return bFacingRight ? 3 : 2;
}
