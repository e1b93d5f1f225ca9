#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "platform/audio/wave_reader.h"
#include "tools/lib/wave_fuzz.h"
#include "tests/sound/wave_builder.h"

namespace {

using qbtest::cWaveSpec;

bool Read(const std::string& bytes, plat::cWaveData& wave, std::string& error)
{
    return plat::ReadWave(reinterpret_cast<const BYTE*>(bytes.data()), bytes.size(), wave, &error);
}

TEST(WaveReader, ReadsPcmInTheCommonLayouts)
{
    struct Case { const char* name; cWaveSpec form; } cases[] = {
        {"8-bit mono 22050", {22050, 8, 1, 441, 0.5, 1001}},
        {"16-bit stereo 44100", {44100, 16, 2, 441, 0.5, 1000}},
        {"LIST chunk of odd size first", {11025, 8, 1, 441, 0.5, 999, 16, true}},
        {"18-byte format chunk", {48000, 16, 1, 441, 0.5, 100, 18}},
        {"40-byte format chunk", {32000, 16, 2, 441, 0.5, 100, 40}},
    };
    for (const Case& c : cases) {
        const std::string samples = qbtest::SineSamples(c.form);
        plat::cWaveData wave;
        std::string error;
        ASSERT_TRUE(Read(qbtest::WaveFile(c.form, samples), wave, error)) << c.name << ": " << error;
        EXPECT_EQ(wave.format.nChannels, c.form.channels) << c.name;
        EXPECT_EQ(wave.format.wBitsPerSample, c.form.bits) << c.name;
        EXPECT_EQ(wave.format.nSamplesPerSec, static_cast<DWORD>(c.form.rate)) << c.name;
        EXPECT_EQ(wave.format.cbSize, 0) << c.name;
        EXPECT_EQ(std::string(wave.samples.begin(), wave.samples.end()), samples) << c.name;
    }
}

TEST(WaveReader, RefusesWhatItCannotPlayAndSaysWhy)
{
    cWaveSpec base{22050, 16, 1, 441, 0.5, 100};
    struct Case { const char* name; std::string bytes; } cases[] = {
        {"empty", ""},
        {"not RIFF", "RIFX" + qbtest::SineWave(base).substr(4)},
        {"not WAVE", qbtest::SineWave(base).replace(8, 4, "AVI ")},
        {"format tag 3 (float)", qbtest::SineWave({22050, 16, 1, 441, 0.5, 100, 16, false, 3})},
        {"no channels", qbtest::SineWave({22050, 16, 0, 441, 0.5, 100})},
        {"three channels", qbtest::SineWave({22050, 16, 3, 441, 0.5, 100})},
        {"12 bits", qbtest::SineWave({22050, 12, 1, 441, 0.5, 100, 16, false, 1, 2})},
        {"block alignment 4 for 16-bit mono", qbtest::SineWave({22050, 16, 1, 441, 0.5, 100, 16, false, 1, 4})},
        {"block alignment 0", qbtest::SineWave({22050, 8, 1, 441, 0.5, 100, 16, false, 1, 0})},
        {"rate 0", qbtest::SineWave({0, 8, 1, 441, 0.5, 0})},
        {"format chunk of 14 bytes", qbtest::SineWave({22050, 16, 1, 441, 0.5, 100, 14})},
        {"no data chunk", qbtest::SineWave(base).substr(0, 36)},
        {"no format chunk", qbtest::WaveFile(base, "").replace(12, 4, "junk")},
        {"empty data", qbtest::WaveFile(base, "")},
    };
    for (const Case& c : cases) {
        plat::cWaveData wave;
        std::string error;
        EXPECT_FALSE(Read(c.bytes, wave, error)) << c.name;
        EXPECT_FALSE(error.empty()) << c.name;
        EXPECT_TRUE(wave.samples.empty()) << c.name;
    }
}

TEST(WaveReader, CutsSampleDataAtTheEndOfTheFileToWholeBlocks)
{
    cWaveSpec form{22050, 16, 2, 441, 0.5, 100};
    std::string file = qbtest::SineWave(form);
    const std::size_t dataStart = file.find("data") + 8;
    file.resize(dataStart + 401);  // 100 frames of 4 bytes and one stray byte
    plat::cWaveData wave;
    std::string error;
    ASSERT_TRUE(Read(file, wave, error)) << error;
    EXPECT_EQ(wave.samples.size(), 400u);
}

// Every prefix of a valid file and seeded mutations of it: no crash, no read outside the
// input (under the sanitizer build), a reason for each refusal (the fuzz entry checks it).
TEST(WaveReader, SurvivesEveryPrefixAndMutations)
{
    cWaveSpec form{22050, 16, 2, 441, 0.5, 64, 18, true};
    const std::string file = qbtest::SineWave(form);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(file.data());
    for (std::size_t n = 0; n <= file.size(); ++n) FuzzWave(bytes, n);

    std::mt19937 random(19);
    const std::uint32_t specials[] = {0, 1, 0xFFFFFFFFu, 0x7FFFFFFFu, 0x80000000u, 17};
    for (int round = 0; round < 4000; ++round) {
        std::string mutated = file;
        if (round % 2 == 0) {
            // A word somewhere (a size, a count, a format field) set to an edge value.
            const std::size_t at = random() % (mutated.size() - 3);
            const std::uint32_t v = specials[random() % std::size(specials)];
            for (int i = 0; i < 4; ++i) mutated[at + i] = static_cast<char>(v >> (8 * i));
        } else {
            for (int flips = 1 + random() % 8; flips > 0; --flips)
                mutated[random() % mutated.size()] ^= static_cast<char>(1 << (random() % 8));
        }
        FuzzWave(reinterpret_cast<const std::uint8_t*>(mutated.data()), mutated.size());
    }
}

}  // namespace
