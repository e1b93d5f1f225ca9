#pragma once
// Finding a stage's file and reading it into g_StageData on thStageLoad while the caller's
// thread keeps serving its messages.
#include "data/stage_data.h"

// The settings of a stage (its fields, backgrounds, texts, rules and result switches) into
// output, without a palette or placed objects.
void CopyStageSettings(const cStageData& source, cStageData& output);

// Reads the stage name (with addExtension: its highest-numbered "stg4_NNN" file, else name
// itself) into g_StageData and copies its settings into output when output is given. True on
// success. False silently when no numbered file exists; false after a message box when the
// file cannot be read, is damaged or has no hero (the last two also close the program unless
// closeOnBadFile is false: a menu that offers the stage only declines it). A WM_QUIT that
// arrives meanwhile stops the read and is posted again. g_StageData changes only when the file
// was read whole.
bool LoadStage(const char* name, int addExtension, cStageData* output, bool closeOnBadFile = true);

// False (after its message box and WM_CLOSE) when a stage file of version 174 or later does
// not end its read on the end mark: a damaged or cut file. A file that cannot be opened, or an
// older one, passes.
bool CheckStageFileEnd(const char* path);

// The body of thStageLoad: reads the file of g_StageData's path and takes it when it was read
// whole and the load was not stopped. 1 when it was taken.
unsigned StageLoadThreadProc(void* arg);
