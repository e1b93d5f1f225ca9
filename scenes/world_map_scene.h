#pragma once
// The world map (scene type 1), the hub of story mode: a walker moves cell by cell over the map
// of "data\WorldMap.dat"; a point shows its first entry whose conditions hold, and stepping
// onto or choosing a stage entry asks whether to play it. Cancel opens the story menu. It shows
// the lives, the entry's name and best value and the ranking of its stage, and saves the
// progress when reached from a stage with automatic saving on.
#include "play/menu_cursor.h"
#include "play/scene.h"

class cWorldPointData;
class cWorldStageData;

class cWorldMapScene : public cScene {
public:
    // Entry kinds.
    static constexpr int kStageEntry = 0;
    static constexpr int kBarrierEntry = 2;

    cWorldMapScene();
    ~cWorldMapScene() override;
    void Run() override;
    void Init() override;
    void FadeIn() override;
    void FadeOut() override;

    void StateMap();
    void StateEnterStage();

    // The first entry of the point whose conditions all hold; null for a null point or none.
    static const cWorldStageData* FindOpenEntry(const cWorldPointData* point);
    static bool IsEntryCleared(const cWorldStageData* entry);
    // Manual, or cleared: the entry waits for the decide key. False for null.
    static bool IsManualEntry(const cWorldStageData* entry);
    static bool IsStageEntry(const cWorldStageData* entry);

    void MoveWalker(CURSORPOS& cursor, int direction);
    void SetScroll();
    // The point and open entry of the walker's cell.
    void FindWalkerEntry();
    void LoadEntryInfo();
    void PrepareEntryPlay();
    void CreateRankingSurface();
    void DrawRankingSurface();
    void DrawScreen(int showInfo);
    void DrawMapSurface();
    void DrawWalker();

    int m_nScrollX = 0;
    int m_nScrollY = 0;
    cWorldPointData* m_pPoint = nullptr;
    const cWorldStageData* m_pEntry = nullptr;
    int m_nFacing = 0;  // 0 down, 1 up, 2 left, 3 right
    CURSORPOS m_PrevCursor{};
    CURSORPOS m_InfoCursor{};
    int m_nBestValue = 0;

private:
    void OpenEntry();
    void DeclineEntry();
    void RankingKeys(int buttons);
    void AutoSave();
    // The map drawn again when the scroll moved since it was drawn last.
    int m_nDrawnScrollX = 0;
    int m_nDrawnScrollY = 0;
    bool m_bMapDrawn = false;
    // The entry question's stage was loaded.
    bool m_bStageLoaded = false;
    // An entry that opens by itself after the fade-in and fails to load is tried once.
    bool m_bAutoOpenFailed = false;
};
