#pragma once
// The MIDI stream player of one song, as the BGM manager uses it. The MIDI reader and player
// are not built yet: a player loads no image, so a MIDI song is a song the manager cannot play
// (it reports that once and goes on silent).

class cMidi {
public:
    explicit cMidi(const char* path);
    cMidi(const cMidi&) = delete;
    cMidi& operator=(const cMidi&) = delete;

    // False when the file could not be loaded.
    bool HasImage() const { return false; }
    // Starts or resumes; the first two arguments are not used.
    void Play(int, int, int loop);
    // pause 0 stops and rewinds, 1 pauses.
    void Stop(int pause);
};
