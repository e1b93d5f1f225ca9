#pragma once
// Our MIDI stream, in place of the multimedia MIDI stream: buffers of packed events (delta, stream
// id, event, parameters) are queued with midiStreamOut and played by the mixer, each event placed
// on the exact sample its delta gives under the time division and the tempo events. The events
// go to a sink (the FluidSynth synthesiser, or a recording sink in tests) inside the mixer's
// callback; one stream at a time plays on a synthesiser.
//
// The callback function: for MOM_POSITIONCB and MOM_DONE dwParam1 is the header, with dwOffset
// set to the event that caused it, and dwParam2 the stream's stop count when the event played
// (see MidiStreamStopCount). A position callback is first called in the mixer, at the sample of
// its event, so that a refill or a restart there is sample-exact; there (MidiCallbackInMixer()
// is true) it must not wait, and returning FALSE sends it on to the stream's own thread, where
// it is called again. Every other callback comes on the stream's thread. Either way it may call
// the stream's functions (but not close the stream).
#include <atomic>
#include <chrono>
#include <cstdint>

#include "platform/os/windows_types.h"

using DWORD_PTR = std::uintptr_t;
using MMRESULT = UINT;
constexpr MMRESULT MMSYSERR_NOERROR = 0;
constexpr MMRESULT MMSYSERR_ERROR = 1;
constexpr MMRESULT MMSYSERR_BADDEVICEID = 2;
constexpr MMRESULT MMSYSERR_ALLOCATED = 4;
constexpr MMRESULT MMSYSERR_NODRIVER = 6;
constexpr MMRESULT MMSYSERR_INVALHANDLE = 5;
constexpr MMRESULT MMSYSERR_NOMEM = 7;
constexpr MMRESULT MMSYSERR_INVALFLAG = 10;
constexpr MMRESULT MMSYSERR_INVALPARAM = 11;
constexpr MMRESULT MIDIERR_UNPREPARED = 64;
constexpr MMRESULT MIDIERR_STILLPLAYING = 65;

constexpr UINT MIDI_MAPPER = static_cast<UINT>(-1);
constexpr DWORD CALLBACK_NULL = 0x00000000;
constexpr DWORD CALLBACK_FUNCTION = 0x00030000;

constexpr UINT MOM_OPEN = 0x3C7;
constexpr UINT MOM_CLOSE = 0x3C8;
constexpr UINT MOM_DONE = 0x3C9;
constexpr UINT MOM_POSITIONCB = 0x3CA;

// Event field of a stream event: the type in the top byte, flags above it.
constexpr DWORD MEVT_F_SHORT = 0x00000000;
constexpr DWORD MEVT_F_LONG = 0x80000000;
constexpr DWORD MEVT_F_CALLBACK = 0x40000000;
constexpr BYTE MEVT_SHORTMSG = 0x00;
constexpr BYTE MEVT_TEMPO = 0x01;
constexpr BYTE MEVT_NOP = 0x02;
constexpr BYTE MEVT_LONGMSG = 0x80;
// The type without the callback flag (MEVT_LONGMSG keeps its top bit).
constexpr BYTE MevtEventType(DWORD event) { return static_cast<BYTE>((event >> 24) & 0xBF); }
constexpr DWORD MevtEventParm(DWORD event) { return event & 0x00FFFFFF; }

constexpr DWORD MHDR_DONE = 0x00000001;
constexpr DWORD MHDR_PREPARED = 0x00000002;
constexpr DWORD MHDR_INQUEUE = 0x00000004;

constexpr DWORD MIDIPROP_SET = 0x80000000;
constexpr DWORD MIDIPROP_GET = 0x40000000;
constexpr DWORD MIDIPROP_TIMEDIV = 0x00000001;
constexpr DWORD MIDIPROP_TEMPO = 0x00000002;

// Microseconds per quarter note until a tempo event says otherwise.
constexpr DWORD kMidiDefaultTempo = 500000;

struct MIDIEVENT {
    DWORD dwDeltaTime;
    DWORD dwStreamID;
    DWORD dwEvent;
    DWORD dwParms[1];
};

// A buffer of stream events. dwFlags is atomic here: the mixer's thread marks a buffer done.
struct MIDIHDR {
    char* lpData;
    DWORD dwBufferLength;
    DWORD dwBytesRecorded;
    DWORD_PTR dwUser;
    std::atomic<DWORD> dwFlags;
    MIDIHDR* lpNext;
    DWORD_PTR reserved;
    DWORD dwOffset;
};

struct MIDIPROPTIMEDIV {
    DWORD cbStruct;
    DWORD dwTimeDiv;
};
struct MIDIPROPTEMPO {
    DWORD cbStruct;
    DWORD dwTempo;
};

namespace plat {
class cMidiStream;
}
using HMIDISTRM = plat::cMidiStream*;
// TRUE when the message has been handled (always, on the stream's thread).
using MIDICALLBACK = BOOL (*)(HMIDISTRM stream, UINT msg, DWORD_PTR instance, DWORD_PTR param1, DWORD_PTR param2);

// One stream on the MIDI mapper; its events play on the audio device. MMSYSERR_NODRIVER when
// there is no audio device or no synthesiser (the reason in MidiStreamOpenError()).
MMRESULT midiStreamOpen(HMIDISTRM* stream, UINT* deviceId, DWORD streams, DWORD_PTR callback, DWORD_PTR instance,
                        DWORD flags);
// Waits for a callback in progress and ends the stream's thread; the buffers are handed back.
MMRESULT midiStreamClose(HMIDISTRM stream);
MMRESULT midiStreamProperty(HMIDISTRM stream, BYTE* property, DWORD flags);
MMRESULT midiOutPrepareHeader(HMIDISTRM stream, MIDIHDR* header, UINT size);
MMRESULT midiOutUnprepareHeader(HMIDISTRM stream, MIDIHDR* header, UINT size);
MMRESULT midiStreamOut(HMIDISTRM stream, MIDIHDR* header, UINT size);
MMRESULT midiStreamRestart(HMIDISTRM stream);
// Holds the position; every sounding note is released.
MMRESULT midiStreamPause(HMIDISTRM stream);
// Hands back every queued buffer, silences every note and sets the tempo back to 500,000 us.
MMRESULT midiStreamStop(HMIDISTRM stream);
// As midiStreamStop, and every controller and program back to its start.
MMRESULT midiOutReset(HMIDISTRM stream);
MMRESULT midiOutGetErrorTextA(MMRESULT error, char* text, UINT size);

namespace plat {
// True while a callback runs in the mixer.
bool MidiCallbackInMixer();
// Why the last midiStreamOpen failed.
const char* MidiStreamOpenError();
// How many times the stream has been stopped or reset: a callback whose dwParam2 differs tells of
// an event from before the last stop.
DWORD MidiStreamStopCount(HMIDISTRM stream);
// Tests: waits (at most `bound`) until every callback of events played so far has returned;
// true when so.
bool MidiStreamWaitCallbacks(HMIDISTRM stream, std::chrono::milliseconds bound);
}  // namespace plat
