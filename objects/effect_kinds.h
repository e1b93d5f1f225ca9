#pragma once
// The kinds of chara effects (1..16) and screen effects (1..13): their names, notes on their
// drawing speed, and five parameter descriptors per kind (kind 0 has five empty ones). The
// labels and notes end with one extra empty entry. The database upgrade of old effect entries
// gives the parameters older files lacked the defaults that stand here.
#include "objects/param_desc.h"

constexpr int kCharaEffectKinds = 17;   // 0..16
constexpr int kScrEffectKinds = 14;     // 0..13
constexpr int kEffectParams = 5;

extern const char* const g_CharaEffectLabels[kCharaEffectKinds];       // kinds 1..16, then ""
extern const char* const g_CharaEffectSpeedNotes[kCharaEffectKinds];
extern const cParamDesc g_CharaEffectParams[kCharaEffectKinds][kEffectParams];

extern const char* const g_ScrEffectLabels[kScrEffectKinds];           // kinds 1..13, then ""
extern const char* const g_ScrEffectSpeedNotes[kScrEffectKinds];
extern const cParamDesc g_ScrEffectParams[kScrEffectKinds][kEffectParams];
