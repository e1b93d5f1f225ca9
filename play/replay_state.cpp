#include "play/replay_state.h"

#include "shell/not_built_yet.h"

void cReplayState::Record(cInput&) { LogNotBuiltYet("replay recording"); }

void cReplayState::Play(cInput&) { LogNotBuiltYet("replay playback"); }

void cReplayState::ReloadStage(std::string) { LogNotBuiltYet("replay reload"); }

bool CheckReplaySaveKeys()
{
    LogNotBuiltYet("replay save keys");
    return false;
}

int RequestReplayLoad()
{
    LogNotBuiltYet("replay loading");
    return 0;
}
