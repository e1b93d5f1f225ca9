#pragma once
// A chara's flow at run time: its place in the chara's flow list, its command entries with
// their counters and movement state, the schedule of command animations and its run flags.
// A flow runs one step per sub-step of the stage frame; each step runs the entries it has
// reached through the command table.
#include <cstdint>
#include <deque>

#include "data/command_data.h"
#include "data/condition_data.h"
#include "data/flow_data.h"
#include "shell/safe_container.h"

class cChara;

// One scheduled command animation.
struct FLOWANIME {
    int nStartStep = 0;            // compared with the flow's step count
    std::int16_t nAnime = 0;       // Anime database entry
    std::int16_t nSkip = 0;        // frames to skip
    std::int16_t nPlay = 0;        // frames to play
    std::int16_t nCommandFrames = 0;
    int bHold = 1;
};

// A point a homing move has seen its target at, in screen pixels.
struct MOVEPOINT {
    double dX = 0;
    double dY = 0;
};

// One command of a running flow, with the working state of the command that runs it.
class cFlowCommandEntry {
public:
    // Ready to run: remaining = duration, done cleared, movement state and step counter
    // cleared.
    void Reset();
    // Runs the command for one step on `chara`; true when the entry has run its last step.
    bool Execute(cChara& chara);

    cCommandData* m_lpCommand = nullptr;   // in the chara's definition copy, not owned
    int m_bDone = 0;
    int m_nDuration = 0;                   // steps
    int m_nRemaining = 0;                  // steps; 0 not started
    std::uint8_t m_nDirectionChoice = 0;
    int m_nTargetX = 0;                    // dots
    int m_nTargetY = 0;
    double m_dSpeed = 0;                   // dots per step
    int m_nAngle = 0;                      // degrees 0..359
    int m_nRadius = 0;                     // radius or count
    int m_nStartAngle = 0;
    int m_nEndAngle = 0;
    cSafeVector<int> m_Work;               // working records of the command
    double m_dVX = 0;                      // movement state
    double m_dVY = 0;
    int m_nFacingRequest = 0;              // 0 keep, 1 face left, 2 face right
    int m_bStarted = 0;
    double m_dAccumulator1 = 0;
    double m_dAccumulator2 = 0;
    double m_dMaxInertia = 0;              // dots per step
    int m_nLastFacing = 0;
    int m_nStepCounter = 0;                // steps the command has counted in this run
    std::deque<MOVEPOINT> m_Points;        // where a homing move's target was, oldest first
};

class cRunningFlow;

// The animations the flow's commands name, each timed so that its lead-in (the frames before
// its first locked frame) ends as its command starts; a lead-in longer than the time before
// the command starts with the flow, its first frames skipped.
void BuildAnimeSchedule(cRunningFlow& flow, int subSteps);

class cRunningFlow {
public:
    // Starts or restarts the flow from its first entry. A flow of the stage-start trigger runs
    // its parallel entries of kind 16 and above once, then stops.
    void Start(cChara& chara);
    // One step of the flow: true when it has finished.
    bool Step(cChara& chara);
    // Ends the flow, marking its group ended on the chara; false when it was not running.
    bool Stop(cChara& chara);
    // Stops the flow for good: it stays marked running, so it neither steps nor starts again.
    void StopForever(cChara& chara);
    void Pause() { m_bPaused = 1; }
    void Resume() { m_bPaused = 0; }
    int Trigger() const { return m_lpFlow ? m_lpFlow->m_nTrigger : 0; }
    int Group() const { return m_lpFlow ? m_lpFlow->GroupFlagIndex() : 0; }

    int m_nIndex = 0;                      // position in the chara's flow list
    int m_nSerial = 0;                     // owner number of the animations it starts
    cFlowData* m_lpFlow = nullptr;         // in the chara's definition copy, not owned
    int m_bConditionsHeld = 0;
    cSafeVector<cKeyConditionData*> m_KeyConditions;   // the flow record's, not owned
    int m_bKeyMatched = 0;
    cSafeVector<cFlowCommandEntry> m_Entries;
    cSafeVector<FLOWANIME> m_AnimeSchedule;
    int m_bRunning = 0;
    int m_bPaused = 0;
    int m_bStoppedForever = 0;
    int m_bDeleted = 0;
    int m_nCurrent = 0;                    // the entry up to which the flow has advanced
    int m_nSteps = 0;                      // steps since the flow started
    int m_nStartKey = 0;
    int m_bTriedThisFrame = 0;
    int m_bStartedThisFrame = 0;
    int m_bMessageChain = 0;
    int m_bAbort = 0;

private:
    // Every entry's remaining counter to 0, and the flow's group marked ended on the chara.
    void EndEntries(cChara& chara);
};
