// The MIDI stream by itself, driven through its multimedia calls and rendered by hand: a
// callback in the mixer that stops the stream and queues its buffer again on every pass, as a
// looping player does at its end mark.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "platform/audio/midi_stream.h"
#include "tests/sound/audio_test_support.h"
#include "tests/sound/midi_recording_sink.h"

namespace {

// One buffer of one event: a short message that asks for a callback, after `delta` ticks.
struct cRestartingSong {
    explicit cRestartingSong(DWORD delta)
    {
        const DWORD field = MEVT_F_CALLBACK | 0x00002FFF;  // FF: never sent to the sink
        std::memcpy(bytes, &delta, sizeof delta);
        std::memcpy(bytes + 8, &field, sizeof field);
        header.lpData = bytes;
        header.dwBufferLength = header.dwBytesRecorded = sizeof bytes;
    }
    char bytes[12] = {};
    MIDIHDR header = {};
    int passes = 0;
    // A stream that never lets go would restart for ever: the song stops restarting here, so
    // that the fault fails the test instead of hanging it.
    static constexpr int kMaxPasses = 10000;
};

BOOL RestartTheSong(HMIDISTRM stream, UINT msg, DWORD_PTR instance, DWORD_PTR, DWORD_PTR)
{
    if (msg != MOM_POSITIONCB) return TRUE;
    auto* song = reinterpret_cast<cRestartingSong*>(instance);
    if (++song->passes >= cRestartingSong::kMaxPasses) return TRUE;
    midiStreamStop(stream);
    midiStreamOut(stream, &song->header, sizeof song->header);
    midiStreamRestart(stream);
    return TRUE;
}

TEST(MidiStream, ACallbackThatRestartsTheStreamRestartsItAtMostOncePerBlock)
{
    struct Case {
        const char* what;
        DWORD division;
        DWORD delta;
    } cases[] = {
        {"no length", 96, 0},
        {"one tick, shorter than a sample", 0x7FFF, 1},
        {"one tick, a quarter of a block", 96, 1},
    };
    constexpr int kBlocks = 8;
    for (const auto& c : cases) {
        qbtest::cHeadlessAudio audio(48000);
        plat::UseMidiSink(std::make_shared<qbtest::cRecordingSink>());
        cRestartingSong song(c.delta);
        HMIDISTRM stream = nullptr;
        ASSERT_EQ(midiStreamOpen(&stream, nullptr, 1, reinterpret_cast<DWORD_PTR>(&RestartTheSong),
                                 reinterpret_cast<DWORD_PTR>(&song), CALLBACK_FUNCTION),
                  MMSYSERR_NOERROR);
        MIDIPROPTIMEDIV division{sizeof division, c.division};
        EXPECT_EQ(midiStreamProperty(stream, reinterpret_cast<BYTE*>(&division), MIDIPROP_SET | MIDIPROP_TIMEDIV),
                  MMSYSERR_NOERROR);
        midiOutPrepareHeader(stream, &song.header, sizeof song.header);
        midiStreamOut(stream, &song.header, sizeof song.header);
        midiStreamRestart(stream);
        std::vector<int> passes, once;
        for (int block = 1; block <= kBlocks; ++block) {
            qbtest::Render(plat::kAudioMaxFrames);
            passes.push_back(song.passes);
            once.push_back(block);
        }
        EXPECT_EQ(passes, once) << c.what;
        midiOutReset(stream);
        midiOutUnprepareHeader(stream, &song.header, sizeof song.header);
        EXPECT_EQ(midiStreamClose(stream), MMSYSERR_NOERROR);
        plat::UseMidiSink(nullptr);
    }
}

}  // namespace
