#pragma once
// The run-time tables start-up derives from the databases: one animation pattern per
// animation and per effect, and a normal and a reversed playback template per chara effect and
// screen effect. Running animations and effects copy from them.
#include "objects/effect_playback.h"
#include "objects/frame_animator.h"
#include "shell/safe_container.h"

extern cSafeVector<cSafeVector<ANIMEFRAME>> g_AnimePatterns;
extern cSafeVector<cSafeVector<ANIMEFRAME>> g_EffectPatterns;
extern cSafeVector<cEffectPlayback> g_ScrEffectTemplates;
extern cSafeVector<cEffectPlayback> g_ScrEffectTemplatesReverse;
extern cSafeVector<cEffectPlayback> g_CharaEffectTemplates;
extern cSafeVector<cEffectPlayback> g_CharaEffectTemplatesReverse;

// Builds every table from g_Database, after its reverse lists are filled.
void BuildDatabaseWorkingTables();
