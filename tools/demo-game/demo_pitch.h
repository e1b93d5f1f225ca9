#pragma once
// The sample rate of the demo's sounds and the pitch of its square waves, in integers so that
// the samples are the same on every machine.

inline constexpr int kDemoSampleRate = 22050;

// Samples of the half period of a note's square wave (integer pitch table, no libm).
inline int HalfPeriod(int key)
{
    // Equal-tempered frequencies of one octave from C5 (MIDI 72), in hundredths of a hertz.
    static const int kOctave[12] = {52325, 55437, 58733, 62225, 65926, 69846, 73999, 78399, 83061, 88000, 93233, 98777};
    const int octave = key / 12 - 6;
    long long hundredths = kOctave[key % 12];
    for (int i = 0; i < octave; ++i) hundredths *= 2;
    for (int i = 0; i > octave; --i) hundredths /= 2;
    return static_cast<int>(kDemoSampleRate * 100LL / (2 * hundredths));
}
