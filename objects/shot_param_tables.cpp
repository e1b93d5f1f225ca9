#include "objects/shot_param_tables.h"

namespace {

cParamDesc P(const char* label, int min, int max, int def) { return MakeParamDesc(label, min, max, def); }
const cParamDesc N = NoParam();

}  // namespace

const cParamDesc g_FormationParams[6][3] = {
    {P("間隔(hbl)", 0, 40, 0), N, N},                                                          // 直進A
    {P("間隔(hbl)", 0, 40, 0), N, N},                                                          // 直進B
    {P("角度", 0, 180, 30), N, N},                                                             // 拡散
    {P("間隔(hbl)", 0, 40, 0), P("列の数", 1, 50, 1), P("列の間隔(hbl)", 0, 40, 0)},            // 落雷
    {N, N, N},                                                                                 // 爆発
    {P("距離(hbl)", 0, 40, 6), N, N},                                                          // 包囲
};

const cParamDesc g_TrajectoryParams[10][3] = {
    {N, N, N},                                                                                 // 直進
    {P("軌道変更(hbl)", 0, 40, 0), N, N},                                                      // 主人公を狙う
    {P("軌道変更(hbl)", 0, 40, 0), P("対象勢力", 0, 7, 0), N},                                 // 近いキャラを狙う
    {P("軌道変更(hbl)", 0, 40, 0), N, N},                                                      // ターゲットを狙う
    {P("誘導開始(hbl)", 0, 40, 0), P("誘導終了(hbl)", 0, 999, 999), N},                        // 主人公へ誘導
    {P("誘導開始(hbl)", 0, 40, 0), P("誘導終了(hbl)", 0, 999, 999), P("対象勢力", 0, 7, 0)},   // 近いキャラへ誘導
    {P("誘導開始(hbl)", 0, 40, 0), P("誘導終了(hbl)", 0, 999, 999), N},                        // ターゲットへ誘導
    {P("誘導開始(hbl)", 0, 40, 0), P("誘導終了(hbl)", 0, 999, 999), P("対象勢力", 0, 7, 0)},   // 近いキャラへ誘導
    {P("波の最大(hbl)", 0, 100, 4), P("波の速度", 0, 100, 4), P("開始角度", 0, 359, 0)},       // ウェーブ
    {P("軌道変更(hbl)", 0, 40, 0), N, N},                                                      // 落下
};
