#pragma once
// Coordinate arithmetic of the effect blits: sums that saturate at the ends of int instead of
// overflowing, so that extreme arguments draw nothing rather than wrap around.
#include <algorithm>
#include <climits>
#include <cmath>

inline int Sat(long long v) { return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX)); }
inline int SatAdd(int a, int b) { return Sat(static_cast<long long>(a) + b); }
inline int SatSub(int a, int b) { return Sat(static_cast<long long>(a) - b); }

// A double offset truncated toward zero, saturated; NaN is no offset.
inline int TruncSat(double v)
{
    if (std::isnan(v)) return 0;
    if (v >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (v <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(v);
}
