#include "objects/effect_kinds.h"

namespace {

using namespace param_tables;

const char* const kNoNote = "Direct3D有効時：\nDirect3D無効時：";
const char* const kRatherSlow = "Direct3D有効時：やや遅い\nDirect3D無効時：やや遅い";
const char* const kFast = "Direct3D有効時：速い\nDirect3D無効時：速い";

// Descriptors that more than one kind shares.
const cParamDesc kTime5 = P("実行時間(1/10s)", 1, 9999, 5);
const cParamDesc kTime10 = P("実行時間(1/10s)", 1, 9999, 10);
const cParamDesc kTurnFrom = P("開始角度", 0, 9999, 0);
const cParamDesc kTurnTo = P("終了角度", 0, 9999, 1440);
const cParamDesc kCharaFrom = P("開始位置(dot)", 0, 999, 0);
const cParamDesc kCharaTo = P("終了位置(dot)", 0, 999, 32);
const cParamDesc kCharaSplits = P("分割数", 2, 16, 4);
const cParamDesc kCharaWaveFrom = P("開始幅(dot)", 0, 999, 0);
const cParamDesc kCharaWaveTo = P("終了幅(dot)", 0, 999, 32);
const cParamDesc kCharaWaves = P("波の数", 2, 16, 2);
const cParamDesc kCharaWaveStep = P("波の粗さ(dot)", 1, 4, 2);

}  // namespace

const char* const g_CharaEffectLabels[kCharaEffectKinds] = {
    "破裂", "分割（横）", "分割（縦）", "波（横）", "波（縦）", "点滅", "回転A", "回転B",
    "回転（奥）", "円", "拡大", "レンズ", "色変化", "半透明", "モザイク", "ぼかし", "",
};

const char* const g_CharaEffectSpeedNotes[kCharaEffectKinds] = {
    kNoNote,
    kNoNote,
    kNoNote,
    kRatherSlow,
    kRatherSlow,
    kFast,
    "Direct3D有効時：回転Aと回転Bは同じ\nDirect3D無効時：巨大キャラには実行速度重視",
    "Direct3D有効時：回転Aと回転Bは同じ\nDirect3D無効時：やや遅い。巨大キャラには描画精度重視",
    kNoNote,
    kRatherSlow,
    kNoNote,
    "Direct3D有効時：遅過ぎ\nDirect3D無効時：遅い",
    "Direct3D有効時：\nDirect3D無効時：画面が8bit色→精度悪い、16bit色以上→やや遅い",
    "Direct3D有効時：\nDirect3D無効時：画面が8bit色→精度悪い、16bit色以上→遅過ぎ",
    "Direct3D有効時：遅い\nDirect3D無効時：画面が16bit色以上だと遅い",
    "Direct3D有効時：遅い\nDirect3D無効時：画面が16bit色以上でのみ有効。遅い",
    "",
};

const cParamDesc g_CharaEffectParams[kCharaEffectKinds][kEffectParams] = {
    {N, N, N, N, N},
    // 1 破裂
    {kTime5, kCharaFrom, kCharaTo, N, N},
    // 2, 3 分割
    {kTime5, kCharaFrom, kCharaTo, kCharaSplits, N},
    {kTime5, kCharaFrom, kCharaTo, kCharaSplits, N},
    // 4, 5 波
    {kTime5, kCharaWaveFrom, kCharaWaveTo, kCharaWaves, kCharaWaveStep},
    {kTime5, kCharaWaveFrom, kCharaWaveTo, kCharaWaves, kCharaWaveStep},
    // 6 点滅
    {kTime10, P("点滅間隔(1/60s)", 1, 9999, 2), N, N, N},
    // 7, 8 回転
    {kTime10, kTurnFrom, kTurnTo, N, N},
    {kTime10, kTurnFrom, kTurnTo, N, N},
    // 9 回転（奥）
    {kTime10, P("開始位置(dot)", 0, 9999, 0), P("終了位置(dot)", 0, 9999, 256), N, N},
    // 10 円
    {kTime5, P("開始半径(dot)", 0, 32, 32), P("終了半径(dot)", 0, 32, 0), P("円の粗さ(dot)", 1, 4, 2), N},
    // 11 拡大
    {kTime10, P("開始幅(dot)", 0, 320, 32), P("終了幅(dot)", 0, 320, 64), N, N},
    // 12 レンズ
    {kTime10, P("開始距離", 0, 100, 100), P("終了距離", 0, 100, 5), P("ズレX(dot)", -16, 16, 0),
     P("ズレY(dot)", -16, 16, 0)},
    // 13 色変化
    {kTime10, P("開始合成度", 1, 4, 1), P("終了合成度", 1, 4, 1), P("色", 16, 207, 16), N},
    // 14 半透明
    {kTime10, P("点滅間隔(1/60s)", 1, 9999, 9999), N, N, N},
    // 15 モザイク
    {kTime10, P("開始強度", 1, 16, 1), P("終了強度", 1, 16, 8), N, N},
    // 16 ぼかし
    {kTime10, P("開始強度", 1, 1, 1), P("終了強度", 1, 4, 4), N, N},
};

const char* const g_ScrEffectLabels[kScrEffectKinds] = {
    "移動", "振動（横）", "振動（縦）", "分割（横）", "分割（縦）", "波（横）", "波（縦）", "点滅",
    "回転", "円", "拡大", "レンズ", "モザイク", "",
};

const char* const g_ScrEffectSpeedNotes[kScrEffectKinds] = {
    kNoNote,
    kNoNote,
    kNoNote,
    kNoNote,
    kNoNote,
    kRatherSlow,
    kRatherSlow,
    kFast,
    "Direct3D有効時：\nDirect3D無効時：遅い",
    kRatherSlow,
    "Direct3D有効時：\nDirect3D無効時：やや遅い",
    "Direct3D有効時：遅過ぎ\nDirect3D無効時：遅過ぎ",
    "Direct3D有効時：遅過ぎ\nDirect3D無効時：画面が16bit色以上だと遅過ぎ",
    "",
};

const cParamDesc g_ScrEffectParams[kScrEffectKinds][kEffectParams] = {
    {N, N, N, N, N},
    // 1 移動
    {kTime10, P("開始座標X(dot)", -640, 640, 0), P("開始座標Y(dot)", -480, 480, 0),
     P("終了座標X(dot)", -640, 640, 640), P("終了座標Y(dot)", -480, 480, 0)},
    // 2, 3 振動
    {kTime10, P("振動幅(dot)", 1, 640, 4), P("振動回数", 1, 9999, 4), N, N},
    {kTime10, P("振動幅(dot)", 1, 480, 4), P("振動回数", 1, 9999, 4), N, N},
    // 4, 5 分割
    {kTime10, P("開始位置(dot)", 0, 640, 0), P("終了位置(dot)", 0, 640, 640),
     P("分割数", 2, 240, 15), N},
    {kTime10, P("開始位置(dot)", 0, 480, 0), P("終了位置(dot)", 0, 480, 480),
     P("分割数", 2, 320, 20), N},
    // 6, 7 波
    {kTime10, P("開始幅(dot)", 0, 640, 0), P("終了幅(dot)", 0, 640, 640),
     P("波の数", 2, 240, 4), P("波の粗さ(dot)", 1, 48, 8)},
    {kTime10, P("開始幅(dot)", 0, 480, 0), P("終了幅(dot)", 0, 480, 480),
     P("波の数", 2, 320, 4), P("波の粗さ(dot)", 1, 64, 10)},
    // 8 点滅
    {kTime10, P("点滅間隔(1/60s)", 1, 9999, 10), N, N, N},
    // 9 回転
    {kTime10, kTurnFrom, kTurnTo, N, N},
    // 10 円
    {kTime10, P("開始半径(dot)", 0, 640, 640), P("終了半径(dot)", 0, 640, 0),
     P("円の粗さ(dot)", 1, 48, 8), N},
    // 11 拡大
    {kTime10, P("開始幅(dot)", 0, 6400, 640), P("終了幅(dot)", 0, 6400, 1280), N, N},
    // 12 レンズ
    {kTime10, P("開始距離", 0, 1500, 1500), P("終了距離", 0, 1500, 5),
     P("ズレX(dot)", -320, 320, 0), P("ズレY(dot)", -240, 240, 0)},
    // 13 モザイク
    {kTime10, P("開始強度", 1, 240, 1), P("終了強度", 1, 240, 60), N, N},
};
