#pragma once
// The MIDI stream player of one song: the image of a cMidiFile converted a buffer at a time into
// stream events, in two buffers that are queued in turn. The last event of each buffer asks for a
// callback, on which the other buffer is filled and queued; the end mark stops the song and, with
// the loop flag, plays it again (a song of no length loops as silence). The BGM manager makes
// one player per song on the window thread; the stream's callbacks come in the mixer (when the
// player is free) or on the stream's own thread. One mutex keeps them apart.
#include <mutex>
#include <string>
#include <vector>

#include "platform/audio/midi_stream.h"
#include "sound/midi_file.h"

class cMidi : public cMidiFile {
public:
    static constexpr int kBufferCount = 2;
    static constexpr int kBufferSize = 24000;
    // The end mark as the stream carries it: a short event with a callback, bytes FF 2F 00.
    static constexpr DWORD kEndMark = MEVT_F_CALLBACK | 0x00002FFF;

    explicit cMidi(const char* path);
    ~cMidi() override;

    // Starts or resumes; the first two arguments are not used.
    void Play(int, int, int loop);
    // pause 0 stops and rewinds, 1 pauses while playing.
    void Stop(int pause);

    // 0 stopped, 1 playing, 2 paused.
    int State();
    HMIDISTRM Stream() const { return m_hStream; }
    // The text of a multimedia error code, in a buffer of the caller's own.
    static std::string ErrorText(MMRESULT code);

    // Converts the image from `position` into the header's buffer; returns the image bytes consumed.
    DWORD FillBuffer(DWORD position, MIDIHDR& header);

private:
    void Open();
    void QueueBuffer();
    void PlayLocked(int loop);
    void StopLocked(int pause);
    void Check(const char* what, MMRESULT result);
    void OnPosition(const MIDIHDR& header, DWORD stopCount);
    static BOOL Callback(HMIDISTRM stream, UINT msg, DWORD_PTR instance, DWORD_PTR param1, DWORD_PTR param2);
    DWORD ImageEnd() const { return static_cast<DWORD>(m_Image.size()); }

    int m_nNextBuffer = 0;
    HMIDISTRM m_hStream = nullptr;
    MIDIHDR m_Headers[kBufferCount] = {};
    std::vector<char> m_Blocks[kBufferCount];
    DWORD m_dwReadPosition = kMidiImageFirstEvent;
    int m_nState = 0;
    int m_nLoop = 0;
    // Ticks of events that wrote nothing (meta events, a system-exclusive message too long for
    // any buffer), added to the next event written, also across buffers.
    std::uint64_t m_nCarriedDelta = 0;
    // Ticks of the song filled into buffers since its first event: its whole length once the
    // end mark has been filled.
    std::uint64_t m_nFilledTicks = 0;
    bool m_bClosing = false;
    std::mutex m_Mutex;
};
