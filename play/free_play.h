#pragma once
// The progress resets that start a game. Free play of one stage file: the progress record
// starts anew, the stage is loaded (into the stage record and its backup) and the lives are
// set; the window thread (a chosen file), the start-up (a stage named on the command line) and
// the stage's fade-out (the next free-play stage) call it. A new story, from the title.

// 1 on success; 0 when the stage cannot be loaded (the loader has said why; the reset stays).
// addExtension: the path is a stage name whose highest-numbered version is taken. A damaged
// stage file closes the program; a damaged replay file only declines (its box has said why).
int StartFreePlay(const char* path, int addExtension);

// True when path names a replay file ("rpl4_" extension), which free play also accepts for the
// stage it carries.
bool IsReplayFileName(const char* path);

// A new story: the progress record starts anew on the world map's start cell, with the story's
// lives.
void NewStoryReset();

// The start-up's free play of a stage named on the command line: test play with unlimited
// lives, and the first frame creates the stage-play scene. False when it cannot be loaded (the
// start-up then fails).
bool StartStageFromCommandLine(const char* path);
