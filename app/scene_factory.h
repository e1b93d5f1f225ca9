#pragma once
// The maker of every scene type, registered with the game manager at start-up.
#include "play/scene.h"

cScene* MakeScene(int type);
