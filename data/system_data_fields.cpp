#include "data/system_data.h"

// The System record in file order: the title, the scalar fields, then the lists of the tail,
// each from the version that brought it in. A list the file lacks keeps what it held.
void cSystemData::RegisterFields(DWORD version)
{
    ClearTables();
    AddString(&m_strTitle, "strTitle");
    if (version >= 185) AddField4(&m_bExtraLifeByScore, 1, "bExtraLifeByScore");
    AddField4(&m_nExtraLifeScore, 1, "nExtraLifeScore");
    AddField4(&m_bPauseHidesObjects, 1, "bPauseHidesObjects");
    AddField4(&m_bUseLetterImages, 1, "bUseLetterImages");
    if (version >= 205) AddField4(&m_nFontIndex, 1, "nFontIndex");
    if (version >= 170) AddField4(&m_bCenterChars, 1, "bCenterChars");
    if (version >= 113) AddField4(&m_bKeepMarkedFlows, 1, "bKeepMarkedFlows");
    if (version >= 184) AddField4(&m_bRecordReplay, 1, "bRecordReplay");
    if (version >= 157) AddField4(&m_bMenuPictures, 1, "bMenuPictures");
    AddField4(&m_bStoryKeepLives, 1, "bStoryKeepLives");
    if (version >= 191) AddField4(&m_bStoryContinue, 1, "bStoryContinue");
    if (version >= 191) AddField4(&m_bMapShowLives, 1, "bMapShowLives");
    AddField4(&m_nChallengeStages, 1, "nChallengeStages");
    AddField4(&m_bChallengeAllOpen, 1, "bChallengeAllOpen");
    if (version >= 167) {
        AddField4(&m_bMapShowScore, 1, "bMapShowScore");
        AddField4(&m_bMenuShowTotal, 1, "bMenuShowTotal");
        if (version >= 188) AddField4(&m_bRetryRestoreStory, 1, "bRetryRestoreStory");
        if (version >= 224) AddField4(&m_bPauseRetryStory, 1, "bPauseRetryStory");
        AddField4(&m_bSelectShowHighScore, 1, "bSelectShowHighScore");
        AddField4(&m_bSelectShowTotal, 1, "bSelectShowTotal");
        if (version >= 188) AddField4(&m_bRetryRestoreChallenge, 1, "bRetryRestoreChallenge");
        if (version >= 224) AddField4(&m_bPauseRetryChallenge, 1, "bPauseRetryChallenge");
        if (version >= 188) AddField4(&m_bRetryRestoreFree, 1, "bRetryRestoreFree");
        if (version >= 192) AddField4(&m_bRetryRestoreTest, 1, "bRetryRestoreTest");
    }
    if (version >= 187) AddField4(&m_bFullColor, 1, "bFullColor");
    if (version >= 187) AddField1(&m_byTransR, 1, "byTransR");
    if (version >= 187) AddField1(&m_byTransG, 1, "byTransG");
    if (version >= 187) AddField1(&m_byTransB, 1, "byTransB");
    if (version >= 214) AddField4(&m_bScrollFollow, 1, "bScrollFollow");
    if (version >= 221 && version < 260) AddField4(&g_nDiscardField, 1, "discarded");
    if (version >= 261) AddField4(&m_bScaleByHeight, 1, "bScaleByHeight");
    if (version >= 272) AddField4(&m_bHitCheckSwitch, 1, "bHitCheckSwitch");
    if (version >= 287) AddField4(&m_bPaletteChangeD3D, 1, "bPaletteChangeD3D");
    if (version >= 515) AddField4(&m_nColorAnimStep, 1, "nColorAnimStep");
    if (version >= 289) AddField4(&m_bColorAnim, 1, "bColorAnim");
    if (version >= 525) AddField4(&m_bRunMarkedTriggers, 1, "bRunMarkedTriggers");
    if (version >= 555) AddField4(&m_bShotSwitch, 1, "bShotSwitch");
    if (version >= 637) AddField4(&m_bSummonSwitch, 1, "bSummonSwitch");
    if (version >= 669) AddField4(&m_bConditionSwitch, 1, "bConditionSwitch");
    if (version >= 677) AddField4(&m_bLandingSwitch, 1, "bLandingSwitch");
    if (version >= 670) AddField4(&m_nAutoDepthD3D, 1, "nAutoDepthD3D");
    if (version >= 670) AddField4(&m_nAutoDepthDD, 1, "nAutoDepthDD");

    AddValueList(&m_CarryFlags, "CarryFlags");
    if (version >= 501) AddValueList(&m_DeathClearFlags, "DeathClearFlags");
    AddRecordList(&m_StatusItems, "StatusItems");
    AddValueList(&m_StartLives, "StartLives");
    if (version >= 191) AddValueList(&m_UnlimitedLives, "UnlimitedLives");
    if (version >= 186) AddRecordList(&m_ModeResults, "ModeResults");
    AddStringList(&m_Texts, "Texts");
    AddStringList(&m_SoundFiles, "SoundFiles");
    AddValueList(&m_ScreenBgm, "ScreenBgm");
    if (version >= 202) AddValueList(&m_ScreenBgmLoop, "ScreenBgmLoop");
    AddRecordList(&m_TitleMenu, "TitleMenu");
    AddRecordList(&m_StoryMenu, "StoryMenu");
    AddRecordList(&m_OptionMenu, "OptionMenu");
    if (version >= 674) AddStringList(&m_RankingModeNames, "RankingModeNames");
    AddRecordList(&m_BootOptions, "BootOptions");
}
