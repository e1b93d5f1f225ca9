#pragma once
// The speed settings of the stage being played, as the objects' movement rules take them.
#include "objects/chara_movement.h"

STAGESPEED StageSpeed();
