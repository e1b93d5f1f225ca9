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
};

// Begins the clear of the stage (tally, ranking tables).
void BeginStageClear(cPlayScene& scene);
// The ranking-name entry of a clear.
void EnterRankingName(cPlayScene& scene);
// The scene that follows a clear.
int AfterClear(cPlayScene& scene);
// The clear display's hint to enter the ranking name, and its result panel.
void DrawClearHint();
void DrawClearResults(cPlayScene& scene);
