// The peak limiter behind the synthesiser's gain: peaks held under its ceiling, quiet music
// passed as it is, and the gain back once a loud passage has gone.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/audio/midi_synth_limiter.h"

namespace {

constexpr int kLimiterTestRate = 48000;

// Stereo sine of the given amplitude, the right channel a quarter turn behind the left.
std::vector<float> LimiterSine(float amplitude, double hertz, int frames)
{
    std::vector<float> out(static_cast<std::size_t>(frames) * 2);
    for (int i = 0; i < frames; ++i) {
        const double phase = 2 * M_PI * hertz * i / kLimiterTestRate;
        out[2 * i] = static_cast<float>(amplitude * std::sin(phase));
        out[2 * i + 1] = static_cast<float>(amplitude * std::cos(phase));
    }
    return out;
}

float LimiterPeak(const std::vector<float>& stereo, std::size_t from = 0)
{
    float peak = 0;
    for (std::size_t i = 2 * from; i < stereo.size(); ++i) peak = std::max(peak, std::fabs(stereo[i]));
    return peak;
}

// Blocks of uneven sizes, as the mixer asks for them, so that the state carries across calls.
void LimitInBlocks(plat::cPeakLimiter& limiter, std::vector<float>& stereo)
{
    const int frames = static_cast<int>(stereo.size() / 2);
    for (int at = 0, block = 1; at < frames; at += block, block = block % 700 + 37)
        limiter.Process(stereo.data() + 2 * at, std::min(block, frames - at));
}

TEST(PeakLimiter, NoSampleOfALoudPassagePassesTheCeiling)
{
    struct {
        float amplitude;
        double hertz;
    } const cases[] = {{1.0f, 440}, {4.0f, 55}, {4.0f, 5000}, {20.0f, 11000}};
    for (const auto& c : cases) {
        plat::cPeakLimiter limiter;
        limiter.SetRate(kLimiterTestRate);
        std::vector<float> stereo = LimiterSine(0.05f, c.hertz, 2000);
        const std::vector<float> loud = LimiterSine(c.amplitude, c.hertz, 20000);
        stereo.insert(stereo.end(), loud.begin(), loud.end());
        LimitInBlocks(limiter, stereo);
        EXPECT_LE(LimiterPeak(stereo), plat::kLimiterCeiling * 1.0001f) << c.amplitude << " at " << c.hertz << " Hz";
        EXPECT_GT(LimiterPeak(stereo, 4000), 0.8f * plat::kLimiterCeiling) << "the loud passage is not silenced";
    }
}

TEST(PeakLimiter, QuietMusicPassesUnchangedOnlyLaterAndLoudMusicLetsGoAgain)
{
    plat::cPeakLimiter limiter;
    limiter.SetRate(kLimiterTestRate);
    const std::vector<float> quiet = LimiterSine(0.5f, 440, 4800);
    std::vector<float> out = quiet;
    LimitInBlocks(limiter, out);
    for (int i = 0; i < plat::kLimiterLookAhead; ++i) ASSERT_EQ(out[2 * i], 0.0f) << i;
    for (std::size_t i = 2 * plat::kLimiterLookAhead; i < out.size(); ++i)
        ASSERT_EQ(out[i], quiet[i - 2 * plat::kLimiterLookAhead]) << i;

    // Half a second after a loud burst the quiet music is back at its own level.
    std::vector<float> burst = LimiterSine(8.0f, 440, 4800);
    LimitInBlocks(limiter, burst);
    std::vector<float> after = LimiterSine(0.5f, 440, kLimiterTestRate);
    LimitInBlocks(limiter, after);
    EXPECT_NEAR(LimiterPeak(after, kLimiterTestRate / 2), 0.5f, 0.01f);
    EXPECT_LE(LimiterPeak(after), plat::kLimiterCeiling * 1.0001f) << "the burst's tail in the delay";

    // A reset forgets the burst and the delay at once.
    std::vector<float> loud = LimiterSine(8.0f, 440, 4800);
    LimitInBlocks(limiter, loud);
    limiter.Reset();
    std::vector<float> fresh = quiet;
    LimitInBlocks(limiter, fresh);
    EXPECT_EQ(fresh, out);
}

}  // namespace
