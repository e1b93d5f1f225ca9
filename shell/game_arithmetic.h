#pragma once
// The game layer's 32-bit arithmetic: replays must play back frame-exactly on every machine,
// so integers wrap as two's complement words and every double becomes an int the same way,
// with no undefined behaviour for any input.
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

// The 32-bit conversion of a double: truncation toward zero; NaN and values outside the int
// range give INT_MIN (the "integer indefinite" value).
constexpr int TruncToInt(double value)
{
    // -2147483649.0 < value < 2147483648.0 is exactly the range that truncates into an int.
    if (!(value > -2147483649.0 && value < 2147483648.0)) return INT32_MIN;
    return static_cast<int>(value);
}
