#include "data/replay_file.h"

#include <memory>

#include "data/stage_loader.h"
#include "shell/log.h"

bool ReadReplayFile(cDataReader& reader, REPLAYFILE& file)
{
    if (reader.Failed()) return false;
    // Fresh records: nothing of another stage or replay stays in values an old file lacks.
    auto staged = std::make_unique<REPLAYFILE>();
    staged->progress = file.progress;
    if (!staged->stage.LoadFrom(reader)) return false;
    if (!staged->replay.LoadFrom(reader)) return false;
    staged->bHasProgress = reader.Version() > kReplayWithoutProgressVersion;
    if (staged->bHasProgress && !staged->progress.LoadFrom(reader)) return false;
    file.stage = std::move(staged->stage);
    file.replay = staged->replay;
    file.replay.Rewind();
    file.progress = std::move(staged->progress);
    file.bHasProgress = staged->bHasProgress;
    return true;
}

void WriteReplayFile(cDataWriter& writer, const cStageData& stage, const cStageData& settings, const cReplayData& replay,
                     const cSaveData& progress)
{
    stage.WriteWithSettings(writer, settings);
    cReplayData replayCopy(replay);
    replayCopy.Write(writer);
    cSaveData progressCopy(progress);
    progressCopy.Write(writer);
}

int SaveReplayFile(const char* path, const cStageData& stage, const cStageData& settings, const cReplayData& replay,
                   const cSaveData& progress)
{
    const char* name = (path && *path) ? path : "err";
    cDataWriter writer;
    if (!OpenDataFileWrite(path, writer)) {
        ReportLog("%s : the replay file cannot be created", name);
        return 0;
    }
    WriteReplayFile(writer, stage, settings, replay, progress);
    if (!CloseDataFile(writer)) {
        ReportLog("%s : the replay file cannot be written", name);
        return 0;
    }
    return 1;
}

int LoadReplayFile(const char* path, cReplayData& replay, cStageData& stage, cStageData& settings, cSaveData& progress)
{
    const char* name = (path && *path) ? path : "err";
    cDataReader reader;
    if (!OpenDataFileRead(path, reader)) {
        ReportLog("%s : the replay file cannot be opened", name);
        return 0;
    }
    auto file = std::make_unique<REPLAYFILE>();
    file->progress = progress;
    if (!ReadReplayFile(reader, *file)) {
        ReportLog("%s : %s", name, reader.Error().c_str());
        return 0;
    }
    if (!file->stage.HasHero()) {
        ReportLog("%s : the stage has no hero to play", name);
        return 0;
    }
    if (reader.Remaining() > 0) ReportLog("%s : %zu bytes after the last value were not read", name, reader.Remaining());
    stage = std::move(file->stage);
    // A restart of the replay reads the file again from here.
    stage.m_strPath = name;
    stage.m_bLoaded = 1;
    CopyStageSettings(stage, settings);
    replay = file->replay;
    replay.Rewind();
    if (file->bHasProgress) progress = std::move(file->progress);
    return 1;
}
