#include "data/flow_labels.h"


const char* const g_ConditionKindLabels[9] = {
    "", "コモン変数条件", "ステージ変数条件", "キャラ変数条件", "ステータス条件", "ステータス条件2",
    "ステータス条件3", "距離条件", "",
};
const char* const g_ConditionRuleLabels[3] = {"全ての条件が真なら成立", "1つ以上の条件が真なら成立", ""};
const char* const g_DistanceReferenceLabels[3] = {"主人公", "ターゲット", ""};
const char* const g_DistanceAreaLabels[8] = {"横", "前", "後", "縦", "前Y", "後Y", "円", ""};
const char* const g_DistanceSideLabels[3] = {"以内", "外", ""};
const char* const g_CharaTestHolderLabels[3] = {"自分", "ターゲット", ""};
const char* const g_HolderLabels[4] = {"自分", "ターゲット", "システム", ""};
const char* const g_HeroHolderLabels[3] = {"主人公", "ターゲット", ""};
const char* const g_HeroSystemHolderLabels[4] = {"主人公", "ターゲット", "システム", ""};
const char* const g_TestedValueLabels[3] = {"ステータス", "変数", ""};
const char* const g_OperandSourceLabels[5] = {"定数", "乱数", "ステータス", "変数", ""};
const char* const g_VariableScopeLabels[3] = {"コモン変数", "ステージ変数", ""};
const char* const g_CharaTestLabels[5] = {
    "左向き", "右向き", "ブロックに乗っている(ブロックキャラも含む)", "画面内にいる", "",
};
const char* const g_KeyRuleLabels[4] = {
    "全てのキーが真なら成立", "1つ以上のキーが真なら成立", "1つだけキーが真なら成立", "",
};
const char* const g_KeyStateLabels[4] = {"--", "押", "離", ""};
const char* const g_GroupLabels[28] = {
    "-", "A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M",
    "N", "O", "P", "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z", "",
};
const char* const g_SmallLetterLabels[28] = {
    "-", "a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l", "m",
    "n", "o", "p", "q", "r", "s", "t", "u", "v", "w", "x", "y", "z", "",
};
const char* const g_TriggerLabels[21] = {
    "常時",
    "ダメージを受けた時",
    "衝撃を受けた時",
    "死亡した時",
    "キャラに当たった時",
    "ブロックキャラに当たった時",
    "ブロックキャラに乗っている時",
    "ショットに当たった時",
    "アイテムに当たった時",
    "ブロックに当たった時",
    "自分の左右にブロックが当たった時",
    "自分の左にブロックが当たった時",
    "自分の右にブロックが当たった時",
    "自分の上下にブロックが当たった時",
    "自分の上にブロックが当たった時",
    "自分の下にブロックが当たった時",
    "主人公に乗られている時",
    "キャラに乗られている時",
    "ステージ開始前",
    "なし（フローの操作コマンドで実行）",
    "",
};

const char* const g_FlowOperationLabels[7] = {"開始", "終了", "一時停止", "再開", "削除", "永久停止", ""};
const char* const g_FlowOperationTargetLabels[4] = {"このフロー", "このフロー以外全て", "IDで指定", ""};
const char* const g_CalculationModeLabels[4] = {
    "通常の計算", "最大値に対する％で指定", "現在値に対する％で指定", "",
};
const char* const g_ClearDestinationLabels[4] = {"次のステージへ", "番号で指定", "ワールドクリア", ""};
const char* const g_NextFacingLabels[4] = {"左向き", "右向き", "ステージクリア時の向きと同じ", ""};
const char* const g_MessagePositionLabels[10] = {
    "画面中央に表示", "自分の上に表示", "自分の下に表示", "自分の中心に表示", "主人公の上に表示",
    "主人公の下に表示", "主人公の中心に表示", "画面座標で指定", "ステージ座標で指定", "",
};
const char* const g_MessageDurationLabels[4] = {
    "進行キーが押されるまで表示", "ステージ終了まで表示", "時間で指定", "",
};
const char* const g_TargetChoiceLabels[5] = {"主人公", "自分", "最も近いキャラ", "キャラ(キャラIDで指定)", ""};
const char* const g_SearchRangeLabels[4] = {"全範囲（画面内のキャラ優先）", "全範囲", "画面内のみ", ""};
const char* const g_PaletteChoiceLabels[3] = {"コモンパレット", "ステージパレット", ""};
const char* const g_CommonPaletteOnlyLabels[2] = {"コモンパレット", ""};
const char* const g_PicturePositionLabels[6] = {
    "画面中央に表示", "キャラの中心に表示", "主人公の中心に表示", "画面座標で指定", "ステージ座標で指定", "",
};
const char* const g_PictureDurationLabels[4] = {
    "進行キーが押されるまで表示", "ステージ終了まで表示", "時間で指定", "",
};
const char* const g_AnimeRunModeLabels[4] = {"通常実行", "反転実行", "往復実行", ""};
const char* const g_VisibilityLabels[4] = {"表示", "非表示", "反転(表示⇔非表示)", ""};
const char* const g_OneOptionLabels[2] = {"ON", ""};

const STATUSDESC g_CharaStatusDescs[16] = {
    {"キャラ変数", -999999, 999999, -999999, 999999, 0, 0, 1},
    {"HP", 0, 999999, -999999, 999999, 0, 1, 1},
    {"SP", 0, 999999, -999999, 999999, 0, 1, 1},
    {"最大HP", 0, 999999, -999999, 999999, 0, 0, 1},
    {"最大SP", 0, 999999, -999999, 999999, 0, 0, 1},
    {"キャラID", 0, 99, -99, 99, 0, 0, 0},
    {"Z座標", 0, 8, -8, 8, 0, 0, 0},
    {"マーク番号", 0, 119, -121, 119, 0, 0, 0},
    {"視界範囲(hbl)", 0, 40, -40, 40, 0, 0, 1},
    {"体当たりの威力", -999999, 999999, -999999, 999999, 0, 0, 1},
    {"体当たりの衝撃", -20, 20, -20, 20, 0, 0, 1},
    {"防御力", 0, 999999, -999999, 999999, 0, 0, 1},
    {"衝撃耐性", 0, 20, -20, 20, 0, 0, 1},
    {"止まりやすさ", 0, 200, -200, 200, 0, 0, 1},
    {"倒したら獲得するスコア", -999999, 999999, -999999, 999999, 0, 0, 1},
    {"", 0, 0, 0, 0, 0, 0, 0},
};

const STATUSDESC g_SystemValueDescs[6] = {
    {"時間", 0, 999, -999, 999, 0, 0, 1},
    {"横スクロール速度", -480, 480, -480, 480, 0, 0, 1},
    {"縦スクロール速度", -480, 480, -480, 480, 0, 0, 1},
    {"スコア", 0, 999999, -999999, 999999, 0, 0, 1},
    {"残り人数", 0, 99, -99, 99, 0, 0, 1},
    {"", 0, 0, 0, 0, 0, 0, 0},
};

std::vector<std::string> LabelsBeforeEnd(const char* const* table)
{
    std::vector<std::string> labels;
    for (; **table != '\0'; ++table) labels.emplace_back(*table);
    return labels;
}

namespace {

// The option lists of the chara template's own settings that these flags mirror.
const char* const kOnOffLabels[3] = {"OFF", "ON", ""};
const char* const kFlightLabels[5] = {
    "OFF", "ON (ブロックをすり抜ける)", "ON (ブロックに当たる)", "ON (ブロックに当たると即死)", "",
};
const char* const kInvincibleLabels[4] = {"OFF", "ON (ショットが当たる)", "ON (ショットがすり抜ける)", ""};
const char* const kGiantLabels[11] = {
    "しない", "×4", "×9", "×16", "×25", "×36", "×49", "×64", "×81", "×100", "",
};

FLAGDESC MakeFlag(const char* label, int minimum, int maximum, int defaultValue, const char* const* options)
{
    return FLAGDESC{label, minimum, maximum, defaultValue, LabelsBeforeEnd(options)};
}

}  // namespace

// Built at start-up from the option tables above, which are constant-initialised.
const std::vector<FLAGDESC> g_CharaFlagDescs = {
    MakeFlag("消滅", 0, 0, 0, g_OneOptionLabels),
    MakeFlag("透明", 0, 1, 0, kOnOffLabels),
    MakeFlag("向き固定", 0, 1, 0, kOnOffLabels),
    MakeFlag("飛行", 0, 3, 0, kFlightLabels),
    MakeFlag("無敵", 0, 2, 0, kInvincibleLabels),
    MakeFlag("巨大化", 1, 10, 1, kGiantLabels),
    MakeFlag("オートスクロールとシンクロ", 0, 1, 0, kOnOffLabels),
};

const std::vector<FLAGDESC> g_EmptyFlagDescs(2);
