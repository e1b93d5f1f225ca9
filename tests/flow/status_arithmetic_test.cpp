#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include "flow/status_ops.h"

namespace {

TEST(StatusArithmetic, OperationsWrapInTheirWidthBeforeTheClamp)
{
    struct Case { int width; int v; int a; int op; int low; int high; int result; int before; } cases[] = {
        {8, 90, 50, 1, 0, 99, 0, -116},        // 140 wraps to -116 in 8 bits, then clamps to 0
        {8, 90, 5, 1, 0, 99, 95, 95},
        {8, 10, 300, 0, 0, 99, 44, 44},        // the operand is cut to 8 bits first
        {8, -128, -1, 4, -128, 127, -128, -128},  // -128 / -1 wraps back to -128
        {16, 100, 400, 3, 0, 200, 200, 200},      // 40000 is negative in 16 bits: saturated
        {32, 999999, 999999, 3, 0, 999999, 999999, 999999},  // the product wraps negative
        {32, -5, 999999, 3, -999999, 999999, -999999, -4999995},
        {32, INT_MIN, -1, 4, INT_MIN, INT_MAX, INT_MIN, INT_MIN},
        {32, INT_MIN, -1, 5, INT_MIN, INT_MAX, 0, 0},
        {32, 7, 0, 4, -9, 9, 7, 7},            // division by 0 leaves the value
        {32, 7, 0, 5, -9, 9, 7, 7},
        {32, -7, 2, 5, -9, 9, -1, -1},         // remainder takes the sign of v
        {32, 81, 50, 6, 0, 999999, 41, 41},    // 40.5 rounds away from zero
        {32, 5, 3, 9, 0, 999, 5, 5},           // an unknown operation leaves v
    };
    for (const auto& c : cases) {
        int result = 0;
        int before = 0;
        if (c.width == 8) {
            std::int8_t v = static_cast<std::int8_t>(c.v);
            before = ApplyOperation8(v, c.a, c.op, c.low, c.high);
            result = v;
        } else if (c.width == 16) {
            std::int16_t v = static_cast<std::int16_t>(c.v);
            before = ApplyOperation16(v, c.a, c.op, c.low, c.high);
            result = v;
        } else {
            int v = c.v;
            before = ApplyOperation(v, c.a, c.op, c.low, c.high);
            result = v;
        }
        EXPECT_EQ(result, c.result) << c.width << ": " << c.v << " op " << c.op << " " << c.a;
        EXPECT_EQ(before, c.before) << c.width << ": " << c.v << " op " << c.op << " " << c.a;
    }
}

TEST(StatusArithmetic, ComparisonsIncludingMultiplesOfTheMostNegativeValue)
{
    struct Case { int a; int b; int op; bool result; } cases[] = {
        {3, 3, 0, true}, {3, 4, 1, true}, {4, 4, 2, true}, {5, 4, 3, false}, {5, 4, 4, true}, {5, 4, 5, false},
        {7, 0, 6, true}, {7, 0, 7, false}, {-6, 3, 6, true}, {-7, 3, 7, true},
        {INT_MIN, -1, 6, true}, {INT_MIN, 2, 6, true}, {INT_MIN, 3, 6, false}, {INT_MIN, 3, 7, true},
        {1, 1, 8, false}, {1, 1, -1, false},
    };
    for (const auto& c : cases) EXPECT_EQ(CompareByOperator(c.a, c.b, c.op), c.result) << c.a << " " << c.op << " " << c.b;
    EXPECT_TRUE(CompareByOperator8(300, 44, 0));     // both cut to 8 bits
    EXPECT_TRUE(CompareByOperator16(65536 + 5, 5, 0));
}

TEST(StatusArithmetic, PercentRoundsHalfAwayFromZeroOnTheWrappedProduct)
{
    struct Case { int a; int b; int result; } cases[] = {
        {81, 50, 41}, {-81, 50, -41}, {3, 50, 2}, {1, 49, 0}, {200, 150, 300},
        {65536, 65536, 0},             // the product wraps to 0
        {INT_MAX, 2, -0},              // wraps to -2: -0.02 rounds to 0
    };
    for (const auto& c : cases) EXPECT_EQ(PercentRound(c.a, c.b), c.result) << c.a << " " << c.b;
    EXPECT_EQ(PercentRound8(200, 100), -56);  // 200 is -56 as a signed byte
    EXPECT_EQ(PercentRound16(40000, 100), -25536);
}

}  // namespace
