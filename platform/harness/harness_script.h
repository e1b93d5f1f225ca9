#pragma once
// The harness script named by QUILLBRAMWOOD_SCRIPT: what a test run of the executable does
// frame by frame. One command a line; blank lines and text after '#' are ignored; frames are
// counted from 1 (the first frame the game manager runs).
//
//   clock virtual          time advances 1000 / frame rate ms at the start of every frame
//   eclog on|off           switches the error-check log "EC_Game.txt"
//   box yes|no|ok          the next message box that cannot be shown gets this answer
//   dialog TEXT            the next dialog takes TEXT (UTF-8) as its answer
//   keys FRAME [KEY ...]   from frame FRAME on exactly these keys are held (none: all up)
//   close FRAME            the program is asked to close (WM_CLOSE) after frame FRAME,
//                          the last frame that runs (a stage's loop frames count as frames)
//   dump FRAME FILE        the back buffer of frame FRAME is saved to FILE (PNG)
//   trace FILE             one line per frame of the stage's state is written to FILE
//
// A KEY is a name: A..Z, 0..9, F1..F12, LEFT, UP,
// RIGHT, DOWN, SPACE, RETURN (ENTER), ESCAPE (ESC), SHIFT, CONTROL (CTRL), ALT, TAB, BACK,
// DELETE; or a virtual-key number of two or more digits (decimal, or hex as 0x1B).
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/os/windows_types.h"

namespace plat {

class cHarnessScript {
public:
    // Reads a script; on failure error names the line and what is wrong, and nothing is kept.
    bool Parse(const std::string& text, std::string& error);
    bool Load(const std::string& pathUtf8, std::string& error);

    bool VirtualClock() const { return m_bVirtualClock; }
    std::optional<bool> EcLog() const { return m_EcLog; }
    int CloseFrame() const { return m_nCloseFrame; }   // 0: never
    // The keys held from this frame on, when the script changes them at this frame.
    const std::vector<int>* KeysFrom(int frame) const;
    std::vector<std::string> DumpsAt(int frame) const;
    const std::string& TraceFile() const { return m_strTrace; }   // empty: no trace

    // Answers are consumed in script order by any thread. 0 / false when none is left.
    int TakeBoxAnswer();
    bool TakeDialogAnswer(std::string& answerUtf8);

private:
    bool m_bVirtualClock = false;
    std::optional<bool> m_EcLog;
    int m_nCloseFrame = 0;
    std::map<int, std::vector<int>> m_Keys;
    std::multimap<int, std::string> m_Dumps;
    std::string m_strTrace;
    std::mutex m_Mutex;
    std::deque<int> m_BoxAnswers;
    std::deque<std::string> m_DialogAnswers;
};

// The virtual-key number of a key name or number of the script; 0 when it names none.
int HarnessKeyFromName(const std::string& name);

// The script of this run (null when none); installing it also makes it the answer source of
// message boxes that cannot be shown.
void SetActiveHarness(cHarnessScript* script);
cHarnessScript* ActiveHarness();

}  // namespace plat
