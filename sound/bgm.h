#pragma once
// The BGM manager: one Ogg or MIDI file per slot, played on a channel. The players are not
// built yet: every operation says so once and does nothing.

class cBgm {
public:
    cBgm() = default;
    ~cBgm();
    cBgm(const cBgm&) = delete;
    cBgm& operator=(const cBgm&) = delete;

    bool Init(int channels, const char* defaultOgg, const char* defaultMidi, int slots);
    bool SetSlotFile(int slot, const char* file);
    bool Play(int channel, int slot, int loop, int midiStopMode, int forced);
    void Stop();
    void UnInit();

    int m_bInitialised = 0;
    int m_nCurrentSlot = -1;
};

extern cBgm g_Bgm;
