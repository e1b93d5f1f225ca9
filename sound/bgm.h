#pragma once
// The BGM manager: five slots, one per screen with music (0 title, 1 world map and story menu,
// 2 stage select, 3 options, 4 stage), each holding an Ogg or a MIDI file, played on a channel.
// One lock covers the whole manager: the options scene re-initialises it on the game thread
// while the close sequence stops it on the window thread.
#include <memory>
#include <mutex>
#include <string>

#include "platform/audio/ogg_player.h"
#include "platform/os/windows_types.h"
#include "shell/safe_container.h"
#include "sound/midi.h"

constexpr int kBgmSlots = 5;
constexpr int kMidiNameSize = 264;

// The Ogg channels: one Ogg player per channel and the channel playing now (-1 none).
class cOgg {
public:
    int Init();                       // 1: the Ogg player is part of the program
    int CreateChannels(int n);
    int Play(int channel, const char* path, int loop);
    void Stop();
    int Release();

    cSafeVector<std::unique_ptr<plat::cOggPlayer>> m_Players;
    int m_nChannels = 0;
    int m_nCurChannel = -1;
    std::string m_strError;           // why the last Play failed
};

// The MIDI players, one per channel (null when none), owned.
class cMidiChannels {
public:
    void StopAll(int pause);
    int Play(int channel, const char* path, int loop);
    void DeleteAll();

    cSafeVector<std::unique_ptr<cMidi>> m_Players;
    cSafeVector<int> m_ChannelCounts;  // each the channel count (passed to cMidi::Play)
};

class cBgm {
public:
    cBgm() = default;
    ~cBgm();
    cBgm(const cBgm&) = delete;
    cBgm& operator=(const cBgm&) = delete;

    // 1 on success. A manager that is already initialised is first released.
    int Init(int channels, char (*oggNames)[MAX_PATH], char (*midiNames)[kMidiNameSize], int slots);
    int SetChannelCount(int n);
    // 1 when the name ends in "ogg", "OGG", "mid" or "MID"; 1 (and nothing) before Init.
    int SetSlotFile(int slot, const char* file);
    // 1 when the slot plays (or is already the current one and force is 0), 0 on failure.
    int Play(int channel, int slot, int loop, int midiStopMode, int force);
    void Stop();
    void UnInit();
    // 1 while the manager is started, under its lock: the options scene asks on the game thread.
    int IsStarted();
    // The slot taken last (a stop keeps it), -1 for none, -2 when the manager is not started.
    int CurrentSlot();

    int m_bInit = 0;
    cOgg m_Vox;
    char (*m_lpOggNames)[MAX_PATH] = nullptr;
    cMidiChannels m_MidiChannels;
    char (*m_lpMidiNames)[kMidiNameSize] = nullptr;
    int m_nCurSlot = -1;
    cSafeVector<int> m_SlotKind;      // 0 unknown (both names), 1 Ogg, 2 MIDI
    cSafeVector<int> m_ChannelKind;   // 0 nothing, 1 Ogg, 2 MIDI

private:
    void UnInitLocked();
    int CheckedSlot(int slot);

    std::recursive_mutex m_Mutex;
};

// The slot file names handed to cBgm::Init; they start with each slot's default file.
extern char g_BgmOggNames[kBgmSlots][MAX_PATH];
extern char g_BgmMidiNames[kBgmSlots][kMidiNameSize];

extern cBgm g_Bgm;
