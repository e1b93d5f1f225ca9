// The game layer's 32-bit arithmetic: wrapping integers and the double-to-int conversion.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "shell/game_arithmetic.h"

TEST(GameArithmetic, IntegersWrapAsThirtyTwoBitWords)
{
    constexpr int kMin = std::numeric_limits<int>::min();
    constexpr int kMax = std::numeric_limits<int>::max();
    EXPECT_EQ(WrapAdd(kMax, 1), kMin);
    EXPECT_EQ(WrapSub(kMin, 1), kMax);
    EXPECT_EQ(WrapMul(0x40000000, 4), 0);
    EXPECT_EQ(WrapMul(kMax, 6), -6);
    EXPECT_EQ(WrapMul(-7, 6), -42);
    EXPECT_EQ(WrapDiv(kMin, -1), kMin);
    EXPECT_EQ(WrapMod(kMin, -1), 0);
    EXPECT_EQ(WrapDiv(-7, 2), -3);
    EXPECT_EQ(WrapMod(-7, 2), -1);
}

TEST(GameArithmetic, TruncToIntTruncatesAndGivesIntMinForNaNAndOutOfRange)
{
    constexpr int kMin = std::numeric_limits<int>::min();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case { double value; int expected; } cases[] = {
        {2.9, 2}, {-2.9, -2}, {0.0, 0}, {-0.5, 0},
        {2147483647.9, 2147483647}, {-2147483648.9, kMin},
        {2147483648.0, kMin}, {-2147483649.0, kMin},
        {inf, kMin}, {-inf, kMin}, {std::nan(""), kMin}, {1e300, kMin},
    };
    for (const Case& c : cases) EXPECT_EQ(TruncToInt(c.value), c.expected) << c.value;
}

TEST(GameArithmetic, DegreesBecomeRadiansAsTimesPiThenOverOneEighty)
{
    // The other usual forms round differently for some whole angles; the game keeps one.
    int differsFromFactor = 0;
    for (int degrees = -720; degrees <= 720; ++degrees) {
        const volatile double x = degrees;
        const volatile double pi = 3.141592653589793;
        const double product = x * pi;
        EXPECT_EQ(DegToRad(degrees), product / 180) << degrees;
        const volatile double factor = pi / 180;
        if (DegToRad(degrees) != x * factor) ++differsFromFactor;
    }
    EXPECT_GT(differsFromFactor, 0);
    EXPECT_EQ(WrapAbs(-5), 5);
    EXPECT_EQ(WrapAbs(INT32_MIN), INT32_MIN);
}
