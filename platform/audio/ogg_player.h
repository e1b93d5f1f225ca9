#pragma once
// One Ogg channel of the BGM: a player over cOggDecoder with the operations the BGM manager
// calls (load, play, stop, prepare a load, loop count; destroying it is the last). Decoding
// runs ahead on the player's own streaming thread into a ring that the mixer drains; at the
// end of the stream it goes on from the first sample in the same ring, so a loop has no gap.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/audio/audio_device.h"
#include "platform/audio/audio_ring.h"
#include "platform/audio/ogg_decoder.h"

namespace plat {

class cOggPlayer : public cAudioSource {
public:
    static constexpr int kLoopForever = 2147483647;

    cOggPlayer();
    ~cOggPlayer() override;
    cOggPlayer(const cOggPlayer&) = delete;
    cOggPlayer& operator=(const cOggPlayer&) = delete;

    // Loads a file by program path; false with LastError() when it cannot be played (also
    // when there is no audio device).
    bool Load(const char* path);
    // Plays the loaded file from its start.
    void Play();
    // Stops at once: the next rendered frame is silent.
    void Stop();
    // Called before each load: stops and lets go of the loaded file.
    void PrepareLoad();
    // How many times the song starts again at its end: kLoopForever, or 0 to play once.
    void SetLoop(int count);

    bool IsPlaying() const { return m_bActive.load(); }
    const std::string& LastError() const { return m_strError; }
    // Waits (at most `bound`) until `frames` frames are decoded ahead, the stream has ended or
    // nothing plays; true when so. For callers that render by hand.
    bool WaitBuffered(std::size_t frames, std::chrono::milliseconds bound);

    void MixInto(float* out, int frames, int rate) override;

private:
    enum class eDecode { Idle, Running };
    void StreamThread();
    // Decodes one chunk into the ring; false when the stream has ended. Called by the
    // streaming thread, or by a control call while that thread is idle.
    bool DecodeChunk();
    void StopLocked(std::unique_lock<std::mutex>& lock);
    bool PullFrame();

    std::shared_ptr<cAudioDevice> m_Device;
    cOggDecoder m_Decoder;
    cAudioRing m_Ring;
    std::string m_strError;

    // Control and streaming thread.
    std::mutex m_Mutex;
    std::condition_variable m_Cv;
    eDecode m_eDecode = eDecode::Idle;
    bool m_bBusy = false;                 // the streaming thread decodes outside the mutex
    bool m_bQuit = false;
    int m_nLoop = 0;                      // loop count set by SetLoop
    int m_nLoopsLeft = 0;
    bool m_bPassHadFrames = false;        // a pass that decodes nothing does not loop again
    std::atomic<bool> m_bEnded{false};    // the last frame of the song is in the ring

    // The mixer's state, changed with the device locked.
    std::atomic<bool> m_bActive{false};
    int m_nRate = 0;
    float m_Current[2] = {};
    float m_Next[2] = {};
    std::uint64_t m_nFrac = 0;            // 32.32 fixed point between current and next
    int m_nPastEnd = 0;

    std::thread m_Thread;                 // last: starts once everything above exists
};

}  // namespace plat
