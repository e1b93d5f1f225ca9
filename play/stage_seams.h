#pragma once
// What the stage's states call of the clear sequence, which are not built
// yet: each says so once and does nothing.
class cPlayScene;

// The ranking-name entry of a clear.
void EnterRankingName(cPlayScene& scene);
// The scene that follows a clear.
int AfterClear(cPlayScene& scene);
// Begins the clear of the stage (tally, ranking tables).
void BeginStageClear(cPlayScene& scene);
// The clear display's hint to enter the ranking name, and its result panel.
void DrawClearHint();
void DrawClearResults(cPlayScene& scene);
