#include "play/modal_loop.h"

#include "shell/not_built_yet.h"

void RunModalLoop(cPlayScene&) { LogNotBuiltYet("modal loops"); }
