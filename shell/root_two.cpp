#include "shell/root_two.h"

const double g_dSqrt2 = 1.4142135623730951;
const double g_dInvSqrt2 = 0.7071067811865476;
