#pragma once
// The square root of 2 and its inverse for diagonal speeds and radii, as the literals the
// movement rules are written with: 1.0 / sqrt(2.0) in double is one unit in the last place
// below the literal, and replays must compute what the game maker's runtime computed.
extern const double g_dSqrt2;
extern const double g_dInvSqrt2;
