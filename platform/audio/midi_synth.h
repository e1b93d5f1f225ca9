#pragma once
// Where the MIDI stream sends its events: a synthesiser that the mixer renders, or a recording
// sink in tests. Every call comes with the audio device locked; Render is called from the
// mixer's callback and must not allocate or wait.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace plat {

class cMidiSink {
public:
    virtual ~cMidiSink() = default;
    // A channel message packed as the stream packs it: status in bits 0-7, the data bytes in
    // bits 8-15 and 16-23.
    virtual void ShortMessage(std::uint32_t message) = 0;
    // A system-exclusive message, F0 (or F7) first.
    virtual void LongMessage(const std::uint8_t* bytes, std::size_t size) = 0;
    // Adds `frames` stereo frames at `rate` to out.
    virtual void Render(float* out, int frames, int rate) = 0;
    // Every sound and every controller back to its start (the synthesiser's system reset).
    virtual void Reset() = 0;
    // Every voice ends at once, and so do the tails of the effects (reverb, chorus).
    virtual void SoundOff() = 0;
};

// The FluidSynth synthesiser with the TimGM6mb sound font, made once at the first rate asked
// for and shared by every stream (made again only for another rate); null with the reason in
// *error when the library or the sound font cannot be used.
std::shared_ptr<cMidiSink> AcquireMidiSynth(int rate, std::string* error);

// The sound font the synthesiser loads.
constexpr const char* kMidiSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

// Tests: streams opened from now on send their events to this sink instead of the synthesiser
// (null goes back to the synthesiser).
void UseMidiSink(std::shared_ptr<cMidiSink> sink);
std::shared_ptr<cMidiSink> MidiSinkForNewStreams(int rate, std::string* error);

}  // namespace plat
