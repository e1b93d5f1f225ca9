#pragma once
// The game layer's 32-bit arithmetic: replays must play back frame-exactly on every machine,
// so integers wrap as two's complement words and every double becomes an int the same way,
// with no undefined behaviour for any input.
#include <cmath>
#include <cstdint>

// a + b, a - b and a * b, wrapped to 32 bits.
constexpr int WrapAdd(int a, int b)
{
    return static_cast<int>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
constexpr int WrapSub(int a, int b)
{
    return static_cast<int>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}
constexpr int WrapMul(int a, int b)
{
    return static_cast<int>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}
// a / b and a % b as the 32-bit division does, except that INT_MIN / -1 gives INT_MIN and
// INT_MIN % -1 gives 0 instead of trapping. b must not be 0.
constexpr int WrapDiv(int a, int b)
{
    return (b == -1) ? WrapSub(0, a) : a / b;
}
constexpr int WrapMod(int a, int b)
{
    return (b == -1) ? 0 : a % b;
}

// The length of each of `parts` bands covering `extent`: the ceiling of extent / parts. A part
// count below 1 gives 0 (no bands) instead of dividing by zero or giving a negative band.
constexpr int BandLength(int extent, int parts)
{
    if (parts <= 0) return 0;
    const int band = WrapDiv(extent, parts);
    return WrapMod(extent, parts) != 0 ? WrapAdd(band, 1) : band;
}

// The 32-bit conversion of a double: truncation toward zero; NaN and values outside the int
// range give INT_MIN (the "integer indefinite" value).
constexpr int TruncToInt(double value)
{
    // -2147483649.0 < value < 2147483648.0 is exactly the range that truncates into an int.
    if (!(value > -2147483649.0 && value < 2147483648.0)) return INT32_MIN;
    return static_cast<int>(value);
}

// The magnitude of a, wrapped: INT_MIN stays INT_MIN, as the 32-bit negation does.
constexpr int WrapAbs(int a)
{
    return (a < 0) ? WrapSub(0, a) : a;
}

// The one way the game turns degrees into radians: (x * pi) / 180, in that order, so that
// every angle rounds alike wherever it is converted.
constexpr double kGamePi = 3.141592653589793;
constexpr double DegToRad(double degrees)
{
    return (degrees * kGamePi) / 180.0;
}

// The mathematical functions of the game layer, in one place so that every caller uses the
// same implementation (and so the same last bit).
inline double GameSin(double radians) { return std::sin(radians); }
inline double GameCos(double radians) { return std::cos(radians); }
inline double GameSqrt(double value) { return std::sqrt(value); }
inline double GameAtan2(double y, double x) { return std::atan2(y, x); }
// The magnitude of a double, as the movement rules write it (a comparison, not fabs's bit clear).
constexpr double Magnitude(double v) { return (v < 0) ? -v : v; }

// One frame's share of a second at 60 frames a second, as the literal the rules are written with.
constexpr double kOneSixtieth = 0.016666666666666666;
