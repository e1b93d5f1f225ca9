#include "platform/audio/midi_synth.h"

#include <fluidsynth.h>

#include <algorithm>
#include <mutex>

#include "platform/audio/audio_device.h"
#include "platform/audio/midi_synth_limiter.h"
#include "platform/os/files.h"

namespace plat {

namespace {

// FluidSynth writes whole blocks; the mixer's requests are cut into blocks of this size.
constexpr int kBlockFrames = kAudioMaxFrames;
// The fade after a stop: about 5 ms.
constexpr int kFadeFrames = 256;
// FluidSynth's own default, 0.2, leaves a General MIDI song about 11 dB and a lone lead voice
// 16 dB below Ogg music mastered near -17 dBFS; this gain (+13.4 dB) brings both within 3 dB of
// it, and the limiter keeps the peaks of dense songs below full scale.
constexpr double kSynthGain = 0.935;

class cFluidSynth : public cMidiSink {
public:
    ~cFluidSynth() override
    {
        if (m_lpSynth) delete_fluid_synth(m_lpSynth);
        if (m_lpSettings) delete_fluid_settings(m_lpSettings);
    }

    bool Open(int rate, std::string* error)
    {
        fluid_set_log_function(FLUID_PANIC, nullptr, nullptr);
        fluid_set_log_function(FLUID_ERR, nullptr, nullptr);
        fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
        fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
        fluid_set_log_function(FLUID_DBG, nullptr, nullptr);
        m_lpSettings = new_fluid_settings();
        if (!m_lpSettings) return Fail(error, "FluidSynth cannot make its settings");
        fluid_settings_setnum(m_lpSettings, "synth.sample-rate", rate);
        // Every call comes with the audio device locked: FluidSynth's own lock is not needed.
        fluid_settings_setint(m_lpSettings, "synth.threadsafe-api", 0);
        fluid_settings_setnum(m_lpSettings, "synth.gain", kSynthGain);
        m_lpSynth = new_fluid_synth(m_lpSettings);
        if (!m_lpSynth) return Fail(error, "FluidSynth cannot make a synthesiser");
        if (!IsRegularNativeFile(kMidiSoundFont) ||
            fluid_synth_sfload(m_lpSynth, kMidiSoundFont, 1) == FLUID_FAILED)
            return Fail(error, std::string("cannot load the sound font ") + kMidiSoundFont + " (timgm6mb-soundfont)");
        m_nRate = rate;
        m_Limiter.SetRate(rate);
        return true;
    }

    int Rate() const { return m_nRate; }

    void ShortMessage(std::uint32_t message) override
    {
        const int status = message & 0xFF, channel = status & 0x0F;
        const int d1 = (message >> 8) & 0x7F, d2 = (message >> 16) & 0x7F;
        switch (status & 0xF0) {
        case 0x80: fluid_synth_noteoff(m_lpSynth, channel, d1); break;
        case 0x90:
            fluid_synth_noteon(m_lpSynth, channel, d1, d2);  // velocity 0 is a note-off
            if (d2 > 0 && m_bMuted) {
                // The limiter's delay still holds what came before the stop.
                m_Limiter.Reset();
                m_bMuted = false;
            }
            break;
        case 0xA0: fluid_synth_key_pressure(m_lpSynth, channel, d1, d2); break;
        case 0xB0: fluid_synth_cc(m_lpSynth, channel, d1, d2); break;
        case 0xC0: fluid_synth_program_change(m_lpSynth, channel, d1); break;
        case 0xD0: fluid_synth_channel_pressure(m_lpSynth, channel, d1); break;
        case 0xE0: fluid_synth_pitch_bend(m_lpSynth, channel, d1 | (d2 << 7)); break;
        default: break;  // system messages mean nothing to the synthesiser
        }
    }

    void LongMessage(const std::uint8_t* bytes, std::size_t size) override
    {
        // FluidSynth takes the message without its F0 and its closing F7.
        if (size < 2 || bytes[0] != 0xF0) return;
        std::size_t length = size - 1;
        if (bytes[size - 1] == 0xF7) --length;
        fluid_synth_sysex(m_lpSynth, reinterpret_cast<const char*>(bytes + 1), static_cast<int>(length), nullptr,
                          nullptr, nullptr, 0);
    }

    void Render(float* out, int frames, int) override
    {
        // Silent after a stop until the next note: nothing to synthesise, so an idle song costs
        // no CPU.
        while (frames > 0 && !(m_bMuted && m_nFadeLeft == 0)) {
            const int n = std::min(frames, kBlockFrames);
            fluid_synth_write_float(m_lpSynth, n, m_Block, 0, 2, m_Block, 1, 2);
            m_Limiter.Process(m_Block, n);
            if (!m_bMuted) {
                for (int i = 0; i < 2 * n; ++i) out[i] += m_Block[i];
            } else {
                for (int i = 0; i < n && m_nFadeLeft > 0; ++i, --m_nFadeLeft) {
                    const float gain = static_cast<float>(m_nFadeLeft) / kFadeFrames;
                    out[2 * i] += m_Block[2 * i] * gain;
                    out[2 * i + 1] += m_Block[2 * i + 1] * gain;
                }
            }
            out += 2 * n;
            frames -= n;
        }
    }

    void Reset() override { fluid_synth_system_reset(m_lpSynth); }

    // The reverb keeps ringing for a second after its voices end, and FluidSynth cannot empty it:
    // the output fades out instead and stays silent until the next note.
    void SoundOff() override
    {
        fluid_synth_all_sounds_off(m_lpSynth, -1);
        m_nFadeLeft = m_bMuted ? 0 : kFadeFrames;
        m_bMuted = true;
    }

private:
    static bool Fail(std::string* error, const std::string& why)
    {
        if (error) *error = why;
        return false;
    }

    fluid_settings_t* m_lpSettings = nullptr;
    fluid_synth_t* m_lpSynth = nullptr;
    int m_nRate = 0;
    bool m_bMuted = false;
    int m_nFadeLeft = 0;
    cPeakLimiter m_Limiter;
    float m_Block[2 * kBlockFrames] = {};
};

std::mutex s_SynthMutex;
std::shared_ptr<cFluidSynth> s_Synth;  // kept for the life of the program: loading the font is slow
std::shared_ptr<cMidiSink> s_TestSink;

}  // namespace

std::shared_ptr<cMidiSink> AcquireMidiSynth(int rate, std::string* error)
{
    std::lock_guard<std::mutex> lock(s_SynthMutex);
    if (s_Synth && s_Synth->Rate() == rate) return s_Synth;
    auto synth = std::make_shared<cFluidSynth>();
    if (!synth->Open(rate, error)) return nullptr;
    s_Synth = synth;
    return synth;
}

void UseMidiSink(std::shared_ptr<cMidiSink> sink)
{
    std::lock_guard<std::mutex> lock(s_SynthMutex);
    s_TestSink = std::move(sink);
}

std::shared_ptr<cMidiSink> MidiSinkForNewStreams(int rate, std::string* error)
{
    {
        std::lock_guard<std::mutex> lock(s_SynthMutex);
        if (s_TestSink) return s_TestSink;
    }
    return AcquireMidiSynth(rate, error);
}

}  // namespace plat
