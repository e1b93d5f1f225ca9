#include "sound/bgm.h"

#include <cstdio>
#include <cstring>

#include "shell/log.h"
#include "shell/path_utils.h"

char g_BgmOggNames[kBgmSlots][MAX_PATH] = {"bgm\\Title.ogg", "bgm\\WorldMap.ogg", "bgm\\Challenge.ogg",
                                           "bgm\\Option.ogg", "bgm\\Stage.ogg"};
char g_BgmMidiNames[kBgmSlots][kMidiNameSize] = {"bgm\\Title.mid", "bgm\\WorldMap.mid", "bgm\\Challenge.mid",
                                                 "bgm\\Option.mid", "bgm\\Stage.mid"};

namespace {

template <std::size_t N>
void CopyName(char (&slot)[N], const char* name)
{
    std::snprintf(slot, N, "%s", name ? name : "");
}

}  // namespace

// ---- cOgg

int cOgg::Init() { return 1; }

int cOgg::CreateChannels(int n)
{
    Release();
    m_nChannels = n > 0 ? n : 0;
    for (int i = 0; i < m_nChannels; ++i) m_Players.push_back(std::make_unique<plat::cOggPlayer>());
    return 1;
}

int cOgg::Play(int channel, const char* path, int loop)
{
    if (!path || !*path) {
        m_strError = "no file";
        return 0;
    }
    Stop();
    plat::cOggPlayer* player = m_Players.At(channel).get();
    if (!player) {
        m_strError = "no channel";
        return 0;
    }
    player->PrepareLoad();
    if (!player->Load(path)) {
        m_strError = player->LastError();
        m_nCurChannel = -1;
        return 0;
    }
    player->SetLoop(loop ? plat::cOggPlayer::kLoopForever : 0);
    player->Play();
    m_nCurChannel = channel;
    return 1;
}

void cOgg::Stop()
{
    if (m_nCurChannel >= 0) {
        if (plat::cOggPlayer* player = m_Players.At(m_nCurChannel).get()) player->Stop();
    }
    m_nCurChannel = -1;
}

int cOgg::Release()
{
    m_Players.clear();  // each player stops and ends its streaming thread
    m_nChannels = 0;
    m_nCurChannel = -1;
    return 1;
}

// ---- cMidiChannels

void cMidiChannels::StopAll(int pause)
{
    for (auto& player : m_Players) {
        if (player) player->Stop(pause);
    }
}

void cMidiChannels::DeleteAll()
{
    for (auto& player : m_Players) player.reset();
}

int cMidiChannels::Play(int channel, const char* path, int loop)
{
    StopAll(1);
    DeleteAll();
    char ext[MAX_PATH] = {};
    if (!path || !GetExtension(ext, path) || std::strcmp(ext, "mid") != 0) return 0;
    std::unique_ptr<cMidi>& entry = m_Players.At(channel);
    entry = std::make_unique<cMidi>(path);
    if (!entry->HasImage()) return 0;  // the player stays in its entry
    entry->Play(0, m_ChannelCounts.At(channel), loop);
    return 1;
}

// ---- cBgm

cBgm::~cBgm() { UnInit(); }

int cBgm::Init(int channels, char (*oggNames)[MAX_PATH], char (*midiNames)[kMidiNameSize], int slots)
{
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    // A running manager lets go of its players (and stops its song) before it starts again.
    if (m_bInit) UnInitLocked();
    m_bInit = 1;
    m_MidiChannels.m_Players.clear();
    m_MidiChannels.m_ChannelCounts.clear();
    if (!m_Vox.Init()) {
        EcLogString("m_Vox.Init失敗！");
        m_bInit = 0;
        return 0;
    }
    SetChannelCount(channels);
    m_lpOggNames = oggNames;
    m_lpMidiNames = midiNames;
    m_SlotKind.assign(static_cast<std::size_t>(slots > 0 ? slots : 0), 0);
    return 1;
}

int cBgm::SetChannelCount(int n)
{
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    const std::size_t count = static_cast<std::size_t>(n > 0 ? n : 0);
    m_MidiChannels.m_Players.resize(count);
    m_MidiChannels.m_ChannelCounts.resize(count, n);
    m_Vox.CreateChannels(n);
    m_ChannelKind.assign(count, 0);
    return 1;
}

// A slot outside the table is reported by the checked access and slot 0 is used.
int cBgm::CheckedSlot(int slot)
{
    if (static_cast<std::size_t>(slot) < m_SlotKind.size()) return slot;
    m_SlotKind.At(slot);
    return 0;
}

int cBgm::SetSlotFile(int slot, const char* file)
{
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    if (!m_bInit) return 1;
    const int s = CheckedSlot(slot);
    if (m_SlotKind.empty()) return 0;
    char ext[MAX_PATH] = {};
    if (!file || !GetExtension(ext, file)) {
        m_lpOggNames[s][0] = '\0';
        m_lpMidiNames[s][0] = '\0';
        m_SlotKind[static_cast<std::size_t>(s)] = 0;
        return 0;
    }
    if (std::strcmp(ext, "mid") == 0 || std::strcmp(ext, "MID") == 0) {
        char name[MAX_PATH];
        ChangeExtension(name, file, "mid");
        CopyName(m_lpMidiNames[s], name);
        m_SlotKind[static_cast<std::size_t>(s)] = 2;
    } else if (std::strcmp(ext, "ogg") == 0 || std::strcmp(ext, "OGG") == 0) {
        CopyName(m_lpOggNames[s], file);
        m_SlotKind[static_cast<std::size_t>(s)] = 1;
    } else {
        CopyName(m_lpOggNames[s], file);
        CopyName(m_lpMidiNames[s], file);
        m_SlotKind[static_cast<std::size_t>(s)] = 0;
        return 0;
    }
    return 1;
}

int cBgm::Play(int channel, int slot, int loop, int midiStopMode, int force)
{
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    if (!m_bInit) return 0;
    if (slot == m_nCurSlot && !force) return 1;
    m_nCurSlot = slot;
    const int s = CheckedSlot(slot);
    if (m_SlotKind.empty()) return 0;
    const int kind = m_SlotKind[static_cast<std::size_t>(s)];
    const char* oggName = m_lpOggNames[s];
    const char* midiName = m_lpMidiNames[s];
    if ((kind == 0 || kind == 1) && m_Vox.Play(channel, oggName, loop)) {
        m_ChannelKind.At(channel) = 1;
        m_MidiChannels.StopAll(kind == 0 ? midiStopMode : 0);
        return 1;
    }
    if ((kind == 0 || kind == 2) && m_MidiChannels.Play(channel, midiName, loop)) {
        m_ChannelKind.At(channel) = 2;
        m_Vox.Stop();
        return 1;
    }
    // Neither player could take the file: silence, and the next request for the slot tries again.
    if (kind != 2) ReportLog("BGM %s : %s", oggName, m_Vox.m_strError.c_str());
    if (kind != 1) ReportLog("BGM %s : the MIDI player could not load it", midiName);
    m_ChannelKind.At(channel) = 0;
    m_nCurSlot = -1;
    m_Vox.Stop();
    m_MidiChannels.StopAll(0);
    return 0;
}

void cBgm::Stop()
{
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    if (!m_bInit) return;
    m_MidiChannels.StopAll(0);
    m_Vox.Stop();
}

void cBgm::UnInit()
{
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    UnInitLocked();
}

int cBgm::IsStarted()
{
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    return m_bInit;
}

int cBgm::CurrentSlot()
{
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    return m_bInit ? m_nCurSlot : -2;
}

void cBgm::UnInitLocked()
{
    if (!m_bInit) return;
    m_Vox.Release();
    m_MidiChannels.DeleteAll();
    m_MidiChannels.m_Players.clear();
    m_MidiChannels.m_ChannelCounts.clear();
    m_nCurSlot = -1;
    m_bInit = 0;
}
