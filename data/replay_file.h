#pragma once
// The replay file: the version word, the stage (the settings of the stage's backup with the
// palette and placed objects of the stage), the replay record, then (from version 173) the
// progress record as it was when the attempt began. Its four records are taken all or none.
#include "data/replay_data.h"
#include "data/save_data.h"
#include "data/stage_data.h"

// The last file version whose replays carry no progress record.
constexpr DWORD kReplayWithoutProgressVersion = 172;

// What one replay file holds.
struct REPLAYFILE {
    cStageData stage;
    cReplayData replay;
    cSaveData progress;
    bool bHasProgress = false;
};

// Reads a whole replay image into file: false, with file as it was and the cause in the
// reader, when it is damaged. progress keeps its values when the file is too old to carry one.
bool ReadReplayFile(cDataReader& reader, REPLAYFILE& file);
// The image of a replay: stage's palette and objects with settings' settings, both normalised
// in a copy, the replay and the progress record.
void WriteReplayFile(cDataWriter& writer, const cStageData& stage, const cStageData& settings, const cReplayData& replay,
                     const cSaveData& progress);

// Saves a replay file through the durable replace: 1, or 0 with the old file kept and the
// cause in the report file.
int SaveReplayFile(const char* path, const cStageData& stage, const cStageData& settings, const cReplayData& replay,
                   const cSaveData& progress);
// Reads path into replay, stage, settings (the stage's settings part only) and, when the file
// carries one, progress; the replay's playback starts at its first frame. 1, or 0 with all
// four as they were and the cause in the report file: the file cannot be opened, is damaged,
// or its stage has no hero to play.
int LoadReplayFile(const char* path, cReplayData& replay, cStageData& stage, cStageData& settings, cSaveData& progress);
