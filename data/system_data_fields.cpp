#include "data/system_data.h"

// The scalar part of the System record, in file order, each from the version that brought it in.
void cSystemData::RegisterFields(DWORD version)
{
    ClearTables();
    AddString(&m_strTitle);
    if (version >= 185) AddField4(&m_bExtraLifeByScore, 1);
    AddField4(&m_nExtraLifeScore, 1);
    AddField4(&m_bPauseHidesObjects, 1);
    AddField4(&m_bUseLetterImages, 1);
    if (version >= 205) AddField4(&m_nFontIndex, 1);
    if (version >= 170) AddField4(&m_bCenterChars, 1);
    if (version >= 113) AddField4(&m_bKeepMarkedFlows, 1);
    if (version >= 184) AddField4(&m_bRecordReplay, 1);
    if (version >= 157) AddField4(&m_bMenuPictures, 1);
    AddField4(&m_bStoryKeepLives, 1);
    if (version >= 191) AddField4(&m_bStoryContinue, 1);
    if (version >= 191) AddField4(&m_bMapShowLives, 1);
    AddField4(&m_nChallengeStages, 1);
    AddField4(&m_bChallengeAllOpen, 1);
    if (version >= 167) {
        AddField4(&m_bMapShowScore, 1);
        AddField4(&m_bMenuShowTotal, 1);
        if (version >= 188) AddField4(&m_bRetryRestoreStory, 1);
        if (version >= 224) AddField4(&m_bPauseRetryStory, 1);
        AddField4(&m_bSelectShowHighScore, 1);
        AddField4(&m_bSelectShowTotal, 1);
        if (version >= 188) AddField4(&m_bRetryRestoreChallenge, 1);
        if (version >= 224) AddField4(&m_bPauseRetryChallenge, 1);
        if (version >= 188) AddField4(&m_bRetryRestoreFree, 1);
        if (version >= 192) AddField4(&m_bRetryRestoreTest, 1);
    }
    if (version >= 187) AddField4(&m_bFullColor, 1);
    if (version >= 187) AddField1(&m_byTransR, 1);
    if (version >= 187) AddField1(&m_byTransG, 1);
    if (version >= 187) AddField1(&m_byTransB, 1);
    if (version >= 214) AddField4(&m_bScrollFollow, 1);
    if (version >= 221 && version < 260) AddField4(&g_nDiscardField, 1);
    if (version >= 261) AddField4(&m_bScaleByHeight, 1);
    if (version >= 272) AddField4(&m_bHitCheckSwitch, 1);
    if (version >= 287) AddField4(&m_bPaletteChangeD3D, 1);
    if (version >= 515) AddField4(&m_nColorAnimStep, 1);
    if (version >= 289) AddField4(&m_bColorAnim, 1);
    if (version >= 525) AddField4(&m_bRunMarkedTriggers, 1);
    if (version >= 555) AddField4(&m_bShotSwitch, 1);
    if (version >= 637) AddField4(&m_bSummonSwitch, 1);
    if (version >= 669) AddField4(&m_bConditionSwitch, 1);
    if (version >= 677) AddField4(&m_bLandingSwitch, 1);
    if (version >= 670) AddField4(&m_nAutoDepthD3D, 1);
    if (version >= 670) AddField4(&m_nAutoDepthDD, 1);
}
