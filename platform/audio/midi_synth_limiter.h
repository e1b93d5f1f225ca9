#pragma once
// The peak limiter on the synthesiser's output. A General MIDI song peaks up to 20 dB above its
// mean level, so a gain that makes it as loud as mastered Ogg music would clip its loudest
// chords and drum hits: the limiter lowers the gain just before such a peak and lets it back up
// over a tenth of a second, so that no sample passes kLimiterCeiling. Its output runs
// kLimiterLookAhead frames behind its input. No allocation: it runs in the mixer's callback.

namespace plat {

constexpr float kLimiterCeiling = 0.891f;   // -1 dBFS
constexpr int kLimiterLookAhead = 32;       // 0.7 ms at 48 kHz

class cPeakLimiter {
public:
    cPeakLimiter() { Reset(); }
    // The release time is set for this rate.
    void SetRate(int rate);
    // Gain back to 1 and the delay emptied (silence).
    void Reset();
    // Limits `frames` stereo frames in place.
    void Process(float* stereo, int frames);

private:
    static constexpr int kWindow = kLimiterLookAhead + 1;
    float m_Delay[2 * kLimiterLookAhead];
    int m_nDelayAt = 0;
    // The gains each of the last kWindow frames needs, and the held gains whose mean is applied.
    float m_Need[kWindow];
    float m_Held[kWindow];
    int m_nWindowAt = 0;
    double m_dHeldSum = kWindow;
    float m_fHeld = 1.0f;
    float m_fRelease = 0.0f;
};

}  // namespace plat
