// The demo's sound effects: short WAVE files, each a square wave sliding in pitch.
#include <cstdint>

#include "tools/demo-game/demo_content.h"
#include "tools/demo-game/demo_pitch.h"
#include "tools/demo-game/little_endian.h"

namespace {

// A WAVE file, 8 bits mono: a square wave from key to key + slide over samples, fading out.
std::string SquareWave(int key, int slide, int samples)
{
    std::string data;
    int phase = 0, level = 1;
    for (int i = 0; i < samples; ++i) {
        const int half = HalfPeriod(key + slide * i / samples);
        if (++phase >= half) phase = 0, level = -level;
        const int amplitude = 60 * (samples - i) / samples;
        data += static_cast<char>(128 + level * amplitude);
    }
    std::string file = "RIFF";
    PutU32(file, static_cast<std::uint32_t>(36 + data.size()));
    file += "WAVEfmt ";
    PutU32(file, 16);
    PutU16(file, 1);      // PCM
    PutU16(file, 1);      // mono
    PutU32(file, kDemoSampleRate);
    PutU32(file, kDemoSampleRate);  // bytes a second
    PutU16(file, 1);      // block align
    PutU16(file, 8);
    file += "data";
    PutU32(file, static_cast<std::uint32_t>(data.size()));
    return file + data;
}

}  // namespace

void AddDemoSoundEffects(DEMOGAME& game)
{
    game.files.push_back({"wave\\Cursor.wav", SquareWave(84, 0, 1500)});
    game.files.push_back({"wave\\Decide.wav", SquareWave(76, 12, 3000)});
    game.files.push_back({"wave\\Jump.wav", SquareWave(67, 19, 3500)});
    game.files.push_back({"wave\\Coin.wav", SquareWave(88, 5, 4000)});
    game.files.push_back({"wave\\Hit.wav", SquareWave(48, -12, 3000)});
}
