#pragma once
// The game-wide settings of "data\System.dat": title and font, menus, status bar, texts, the
// rules of each play mode, built-in sounds, the BGM of each front-end screen, the System.ini
// defaults and the switches that change how stages behave. Every subsystem reads the members
// of g_SystemData directly; lists keep the lengths the file gave them.
#include <string>

#include "data/data_record.h"
#include "data/game_modes.h"
#include "data/system_elements.h"
#include "shell/safe_container.h"

class cSystemData : public cDataRecordOf<cSystemData> {
public:
    cSystemData();

    void RegisterFields(DWORD version) override;
    void Read(cDataReader& reader) override;
    void Write(cDataWriter& writer) override;

    void SetDefaults();
    // Every screen BGM number not below the BGM database's record count (compared unsigned,
    // so negative numbers too) becomes 0: no BGM.
    void ClampScreenBgm();
    // 0 when play mode `mode` has its results off, else the number of its result values on.
    int CountModeFlags(int mode);

    std::string m_strTitle;
    cSafeVector<BYTE> m_CarryFlags;          // per hero status: carried over to the next stage
    cSafeVector<BYTE> m_DeathClearFlags;     // carry-over entries cleared when player 1 loses a life
    int m_bExtraLifeByScore = 0;
    int m_nExtraLifeScore = 0;
    int m_bPauseHidesObjects = 0;
    int m_bUseLetterImages = 0;
    int m_nFontIndex = 0;                    // into g_FontFaceNames
    int m_bCenterChars = 0;
    int m_bRecordReplay = 0;
    int m_bKeepMarkedFlows = 0;
    cSafeVector<cStatusItemData> m_StatusItems;
    int m_bMenuPictures = 0;
    cSafeVector<cMenuItemData> m_TitleMenu;
    cSafeVector<cMenuItemData> m_StoryMenu;
    cSafeVector<cMenuItemData> m_OptionMenu;
    cSafeVector<std::string> m_RankingModeNames;
    int m_bStoryKeepLives = 0;
    int m_bStoryContinue = 0;
    int m_bMapShowLives = 0;
    int m_nChallengeStages = 0;
    int m_bChallengeAllOpen = 0;
    cSafeVector<int> m_StartLives;           // by PLAYMODE
    cSafeVector<int> m_UnlimitedLives;       // by PLAYMODE
    cSafeVector<cModeResultData> m_ModeResults;  // by PLAYMODE
    int m_bMapShowScore = 0;
    int m_bMenuShowTotal = 0;
    int m_bRetryRestoreStory = 0;
    int m_bPauseRetryStory = 0;
    int m_bSelectShowHighScore = 0;
    int m_bSelectShowTotal = 0;
    int m_bRetryRestoreChallenge = 0;
    int m_bPauseRetryChallenge = 0;
    int m_bRetryRestoreFree = 0;
    int m_bRetryRestoreTest = 0;
    int m_bFullColor = 0;                    // 0: 256 colours with a palette, 1: full colour
    BYTE m_byTransR = 0;                     // transparent colour in full-colour mode
    BYTE m_byTransG = 0;
    BYTE m_byTransB = 0;
    cSafeVector<std::string> m_SoundFiles;   // the 17 built-in sound effects
    cSafeVector<int> m_ScreenBgm;            // BGM number per front-end screen, 0 = none
    cSafeVector<BYTE> m_ScreenBgmLoop;
    cSafeVector<std::string> m_Texts;        // front-end, pause and result screens
    cSafeVector<cBootOptionData> m_BootOptions;  // System.ini keys with their defaults
    int m_bScrollFollow = 0;
    int m_bScaleByHeight = 0;
    int m_bHitCheckSwitch = 0;
    int m_bPaletteChangeD3D = 0;
    int m_nColorAnimStep = 0;
    int m_bColorAnim = 0;
    int m_bRunMarkedTriggers = 0;
    int m_bShotSwitch = 0;
    int m_bSummonSwitch = 0;
    int m_bConditionSwitch = 0;
    int m_bLandingSwitch = 0;
    int m_nAutoDepthD3D = 0;                 // 0 = 32-bit, 1 = 16-bit
    int m_nAutoDepthDD = 0;                  // 0 = 32-bit, 1 = 16-bit, 2 = 8-bit

private:
    void Upgrade(DWORD version);
};

extern cSystemData g_SystemData;
