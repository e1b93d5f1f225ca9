#include "data/system_data_dump.h"

namespace {

void DumpStatusItem(const cStatusItemData& item, cDataDump& dump)
{
    dump.Int("m_bShow", item.m_bShow);
    dump.Int("m_bIcon", item.m_bIcon);
    dump.Text("m_strLabel", item.m_strLabel);
    dump.Int("m_bGaugeNumber", item.m_bGaugeNumber);
    dump.Int("m_nDigits", item.m_nDigits);
    dump.Int("m_nLowLevel", item.m_nLowLevel);
    dump.Int("m_bLowPercent", item.m_bLowPercent);
}

void DumpMenuItem(const cMenuItemData& item, cDataDump& dump)
{
    dump.Int("m_bEnabled", item.m_bEnabled);
    dump.Text("m_strLabel", item.m_strLabel);
}

void DumpModeResult(const cModeResultData& result, cDataDump& dump)
{
    dump.Int("m_bEnabled", result.m_bEnabled);
    dump.Values("m_ValueFlags", result.m_ValueFlags);
}

void DumpBootOption(const cBootOptionData& option, cDataDump& dump)
{
    dump.Int("m_nKind", option.m_nKind);
    dump.Text("m_strKey", option.m_strKey);
    dump.Int("m_nValue", option.m_nValue);
    dump.Text("m_strValue", option.m_strValue);
}

}  // namespace

void DumpSystemData(const cSystemData& data, cDataDump& dump)
{
    dump.Text("m_strTitle", data.m_strTitle);
    dump.Values("m_CarryFlags", data.m_CarryFlags);
    dump.Values("m_DeathClearFlags", data.m_DeathClearFlags);
    dump.Int("m_bExtraLifeByScore", data.m_bExtraLifeByScore);
    dump.Int("m_nExtraLifeScore", data.m_nExtraLifeScore);
    dump.Int("m_bPauseHidesObjects", data.m_bPauseHidesObjects);
    dump.Int("m_bUseLetterImages", data.m_bUseLetterImages);
    dump.Int("m_nFontIndex", data.m_nFontIndex);
    dump.Int("m_bCenterChars", data.m_bCenterChars);
    dump.Int("m_bRecordReplay", data.m_bRecordReplay);
    dump.Int("m_bKeepMarkedFlows", data.m_bKeepMarkedFlows);
    dump.Records("m_StatusItems", data.m_StatusItems, DumpStatusItem);
    dump.Int("m_bMenuPictures", data.m_bMenuPictures);
    dump.Records("m_TitleMenu", data.m_TitleMenu, DumpMenuItem);
    dump.Records("m_StoryMenu", data.m_StoryMenu, DumpMenuItem);
    dump.Records("m_OptionMenu", data.m_OptionMenu, DumpMenuItem);
    dump.Strings("m_RankingModeNames", data.m_RankingModeNames);
    dump.Int("m_bStoryKeepLives", data.m_bStoryKeepLives);
    dump.Int("m_bStoryContinue", data.m_bStoryContinue);
    dump.Int("m_bMapShowLives", data.m_bMapShowLives);
    dump.Int("m_nChallengeStages", data.m_nChallengeStages);
    dump.Int("m_bChallengeAllOpen", data.m_bChallengeAllOpen);
    dump.Values("m_StartLives", data.m_StartLives);
    dump.Values("m_UnlimitedLives", data.m_UnlimitedLives);
    dump.Records("m_ModeResults", data.m_ModeResults, DumpModeResult);
    dump.Int("m_bMapShowScore", data.m_bMapShowScore);
    dump.Int("m_bMenuShowTotal", data.m_bMenuShowTotal);
    dump.Int("m_bRetryRestoreStory", data.m_bRetryRestoreStory);
    dump.Int("m_bPauseRetryStory", data.m_bPauseRetryStory);
    dump.Int("m_bSelectShowHighScore", data.m_bSelectShowHighScore);
    dump.Int("m_bSelectShowTotal", data.m_bSelectShowTotal);
    dump.Int("m_bRetryRestoreChallenge", data.m_bRetryRestoreChallenge);
    dump.Int("m_bPauseRetryChallenge", data.m_bPauseRetryChallenge);
    dump.Int("m_bRetryRestoreFree", data.m_bRetryRestoreFree);
    dump.Int("m_bRetryRestoreTest", data.m_bRetryRestoreTest);
    dump.Int("m_bFullColor", data.m_bFullColor);
    dump.Int("m_byTransR", data.m_byTransR);
    dump.Int("m_byTransG", data.m_byTransG);
    dump.Int("m_byTransB", data.m_byTransB);
    dump.Strings("m_SoundFiles", data.m_SoundFiles);
    dump.Values("m_ScreenBgm", data.m_ScreenBgm);
    dump.Values("m_ScreenBgmLoop", data.m_ScreenBgmLoop);
    dump.Strings("m_Texts", data.m_Texts);
    dump.Records("m_BootOptions", data.m_BootOptions, DumpBootOption);
    dump.Int("m_bScrollFollow", data.m_bScrollFollow);
    dump.Int("m_bScaleByHeight", data.m_bScaleByHeight);
    dump.Int("m_bHitCheckSwitch", data.m_bHitCheckSwitch);
    dump.Int("m_bPaletteChangeD3D", data.m_bPaletteChangeD3D);
    dump.Int("m_nColorAnimStep", data.m_nColorAnimStep);
    dump.Int("m_bColorAnim", data.m_bColorAnim);
    dump.Int("m_bRunMarkedTriggers", data.m_bRunMarkedTriggers);
    dump.Int("m_bShotSwitch", data.m_bShotSwitch);
    dump.Int("m_bSummonSwitch", data.m_bSummonSwitch);
    dump.Int("m_bConditionSwitch", data.m_bConditionSwitch);
    dump.Int("m_bLandingSwitch", data.m_bLandingSwitch);
    dump.Int("m_nAutoDepthD3D", data.m_nAutoDepthD3D);
    dump.Int("m_nAutoDepthDD", data.m_nAutoDepthDD);
}
