#pragma once
// The clear of a stage: the next stage a flow asked for, the tally's results, their places in
// the ranking tables and the name they enter under, and the steps of the clear sequence that
// the play frame and the clear display call.
#include <string>

#include "shell/safe_container.h"

class cPlayScene;

class cStageClear {
public:
    // The places and results keep five entries each, kept from one stage to the next.
    void SizeResults();

    // The next-stage request of the stage-clear command (0 none).
    int m_nNextStage = 0;
    // 1 when the clear placed this result in the ranking tables.
    int m_bRankingReady = 0;
    // The result's place in each of the five ranking tables, -1 not ranked.
    cSafeVector<int> m_RankPos;
    // The total score and the four counters of the clear.
    cSafeVector<int> m_Results;
    // The ranking name that the name-entry dialog edits (at most 3 characters).
    std::string m_strRankingName;
    int m_bRankingEntered = 0;
    // The clear of this set-up has begun: a clear reported during the set-up and again by the
    // first play frame's result tallies once. Cleared by the set-up.
    int m_bClearBegun = 0;
};

// The largest number of extra lives a tally shows one by one; more change only the count.
constexpr int kMaxShownExtraLives = 99;
// The lives extra lives can reach.
constexpr int kMaxLives = 99;

// Begins the clear of the stage: the tally, then whether and where the result ranks. Once per
// set-up; a second call does nothing.
void BeginStageClear(cPlayScene& scene);
// Adds the stage's figures to the run totals and grants the extra lives the score earned.
void TallyStageResult(cPlayScene& scene);
// The next file of the stage's numbered series, part `part`: true with its name in out, or
// false with out empty (no series, no request, a key that names no base, no such file).
bool MakeNextStagePath(const cPlayScene& scene, std::string& out, int part);
// True when no next part of the series exists.
bool IsLastStage(const cPlayScene& scene, int part);
// The ranking-name entry of a clear: at most once per clear.
void EnterRankingName(cPlayScene& scene);
// Stores what the next stage takes over, updates the progress for the game mode and gives the
// scene that follows the clear (a next part of a series is loaded and gives SCENE_PLAY).
int AfterClear(cPlayScene& scene);
// The clear display's hint to enter the ranking name, and its result panel.
void DrawClearHint();
void DrawClearResults(cPlayScene& scene);
