#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include "objects/chara_hp.h"

namespace {

// The 32-bit result of value * 50 / maximum, worked out in 64 bits.
int WrappedLength(std::int64_t value, std::int64_t maximum)
{
    const auto product = static_cast<std::int32_t>(static_cast<std::uint32_t>(value * 50));
    return static_cast<int>(product / maximum);
}

}  // namespace

TEST(CharaHp, AddHpClampsReportsDeathAndStartsTheGauge)
{
    struct Case {
        const char* name;
        int hp, maxHp, invincible, delta, force, show;
        int expectedHp, result, timer, length;
        double change;
    } cases[] = {
        {"loss", 100, 100, 0, -10, 0, 1, 90, 0, 120, 45, -5.0},
        {"heal cut to the room left", 90, 100, 0, 30, 0, 1, 100, 0, 120, 50, 5.0},
        {"loss beyond HP", 20, 100, 0, -50, 0, 1, 0, 1, 0, 0, 0},
        {"invincible ignores a loss", 100, 100, 1, -50, 0, 1, 100, 0, 0, 0, 0},
        {"invincible 2 ignores a loss", 100, 100, 2, -50, 0, 1, 100, 0, 0, 0, 0},
        {"forced loss applies", 100, 100, 1, -50, 1, 1, 50, 0, 120, 25, -25.0},
        {"invincible heals", 50, 100, 1, 10, 0, 1, 60, 0, 120, 30, 5.0},
        {"zero on an invincible chara", 100, 100, 1, 0, 0, 1, 100, 0, 0, 0, 0},
        {"zero starts no gauge", 100, 100, 0, 0, 0, 1, 100, 0, 0, 0, 0},
        {"no gauge asked", 100, 100, 0, -10, 0, 0, 90, 0, 0, 0, 0},
        {"HP above the maximum comes down", 150, 100, 0, 10, 0, 1, 100, 0, 120, 50, -25.0},
        {"sum past INT_MAX wraps, then clamps", INT_MAX, INT_MAX, 0, INT_MIN, 1, 1, 0, 1, 0, 0, 0},
        {"a loss of INT_MIN from 10 wraps negative", 10, 100, 0, INT_MIN, 0, 1, 0, 1, 0, 0, 0},
        {"maximum 10^8", 100000000, 100000000, 0, -1, 0, 1, 99999999, 0, 120,
         WrappedLength(99999999, 100000000), -1 * 50.0 / 100000000},
        {"negative maximum", 5, -10, 0, 3, 0, 1, 0, 1, 0, 0, 0},
    };
    for (const auto& c : cases) {
        int hp = c.hp;
        GAUGE gauge;
        const int result = AddHpPoints({hp, gauge, c.maxHp}, c.invincible, c.delta, c.force, c.show);
        EXPECT_EQ(hp, c.expectedHp) << c.name;
        EXPECT_EQ(result, c.result) << c.name;
        EXPECT_EQ(gauge.nTimer, c.timer) << c.name;
        EXPECT_EQ(gauge.nLength, c.length) << c.name;
        EXPECT_EQ(gauge.dChange, c.change) << c.name;
        EXPECT_EQ(gauge.dStep, c.change * 0.016666666666666666) << c.name;
    }
}

TEST(CharaHp, AddSpClampsInThePartOrderAndReportsNoMaximum)
{
    struct Case { const char* name; int sp, maxSp, delta, show; int expectedSp, result, timer, length; } cases[] = {
        {"loss", 40, 100, -10, 1, 30, 0, 120, 15},
        {"gain cut", 95, 100, 10, 1, 100, 0, 120, 50},
        {"loss to zero is not reported", 5, 100, -10, 1, 0, 0, 120, 0},
        {"no maximum", 0, 0, 10, 1, 0, 1, 0, 0},
        // Clamped to 0 first, then to the maximum: a negative maximum wins.
        {"negative maximum", 5, -10, -3, 1, -10, 1, 0, 0},
        {"negative maximum, gain", 5, -10, 20, 1, -10, 1, 0, 0},
        {"no gauge asked", 40, 100, -10, 0, 30, 0, 0, 0},
    };
    for (const auto& c : cases) {
        int sp = c.sp;
        GAUGE gauge;
        EXPECT_EQ(AddSpPoints({sp, gauge, c.maxSp}, c.delta, c.show), c.result) << c.name;
        EXPECT_EQ(sp, c.expectedSp) << c.name;
        EXPECT_EQ(gauge.nTimer, c.timer) << c.name;
        EXPECT_EQ(gauge.nLength, c.length) << c.name;
    }
}

TEST(CharaHp, AGaugeNeedsAChangeAndAPositiveMaximum)
{
    int value = 10;
    GAUGE gauge;
    ShowGauge({value, gauge, 0}, 5);
    ShowGauge({value, gauge, -3}, 5);
    ShowGauge({value, gauge, 100}, 0);
    EXPECT_EQ(gauge.nTimer, 0);
    ShowGauge({value, gauge, 40}, -4);
    EXPECT_EQ(gauge.nTimer, 120);
    EXPECT_EQ(gauge.nLength, 12);     // 10 * 50 / 40, truncated
    EXPECT_EQ(gauge.dChange, -5.0);
}
