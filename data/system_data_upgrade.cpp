#include "data/list_fixups.h"
#include "data/system_data.h"

namespace {

cMenuItemData MenuItem(const char* label)
{
    cMenuItemData item;
    item.m_bEnabled = 1;
    item.m_strLabel = label;
    return item;
}

cBootOptionData IntOption(const char* key, int value)
{
    cBootOptionData option;
    option.SetInt(key, value);
    return option;
}

}  // namespace

// What files older than this program's version lack or stored differently, mended in the
// order the format grew. version is the file's.
void cSystemData::Upgrade(DWORD version)
{
    if (version < 113) m_bKeepMarkedFlows = 0;
    if (version < 157) m_bMenuPictures = 0;
    if (version < 167) {
        m_bMapShowScore = 1;
        m_bMenuShowTotal = 1;
        m_bSelectShowHighScore = 1;
        m_bSelectShowTotal = 1;
    }
    if (version < 168) InsertFixed<BYTE>(m_CarryFlags, 25, 16, 1);
    if (version < 169) {
        InsertFixed(m_StoryMenu, 4, 1, MenuItem("オートセーブ"));
        InsertFixed<std::string>(m_Texts, 28, 12, "保存先が不明です！一度は「セーブ」して下さい！");
        InsertFixed<std::string>(m_Texts, 28, 12, "オートセーブＯＦＦ");
        InsertFixed<std::string>(m_Texts, 28, 12, "オートセーブＯＮ");
    }
    if (version < 170) m_bCenterChars = 0;
    if (version < 181) {
        for (int mode = 0; mode < kPlayModes; ++mode) {
            cSafeVector<BYTE>& flags = m_ModeResults.At(mode).m_ValueFlags;
            flags.resize(5);
            flags[3] = 0;
            flags[4] = 0;
        }
        InsertFixed<std::string>(m_Texts, 28, 8, "残りHP");
        InsertFixed<std::string>(m_Texts, 28, 9, "残りSP");
    }
    if (version < 184) m_bRecordReplay = 1;
    if (version < 185) m_bExtraLifeByScore = 1;
    if (version < 187) {
        m_bFullColor = 0;
        m_byTransR = 0;
        m_byTransG = 177;
        m_byTransB = 0;
    }
    if (version < 188) {
        m_bRetryRestoreStory = 1;
        m_bRetryRestoreChallenge = 1;
        m_bRetryRestoreFree = 1;
    }
    if (version < 191) {
        m_UnlimitedLives.assign({0, 0, 0, 1});
        m_bStoryContinue = 0;
        m_bMapShowLives = 0;
    }
    if (version < 192) m_bRetryRestoreTest = 1;
    if (version < 193) {
        InsertFixed<std::string>(m_Texts, 28, 22, "リトライ");
        InsertFixed<std::string>(m_Texts, 28, 23, "マップへ戻る");
    }
    if (version < 201) InsertFixed<BYTE>(m_CarryFlags, 25, 14, 0);
    if (version < 202) m_ScreenBgmLoop.assign(4, 1);
    if (version < 205) m_nFontIndex = 60;
    if (version < 210) InsertFixed<BYTE>(m_CarryFlags, 25, 9, 0);
    if (version < 214) m_bScrollFollow = 1;
    if (version < 224) {
        m_bPauseRetryStory = 0;
        m_bPauseRetryChallenge = 0;
    }
    if (version < 261) m_bScaleByHeight = 1;
    if (version < 272) m_bHitCheckSwitch = 0;
    if (version < 286) {
        InsertFixed(m_BootOptions, 10, 0, IntOption("Direct3D", 1));
        cBootOptionData& vsync = m_BootOptions[3];
        if (vsync.m_nValue >= 3) vsync.m_nValue = 2;
    }
    if (version < 287) m_bPaletteChangeD3D = 0;
    if (version < 289) m_bColorAnim = m_bFullColor == 0 ? 1 : 0;
    if (version < 501) m_DeathClearFlags.assign(25, 0);
    if (version < 515) m_nColorAnimStep = 16;
    if (version < 525) m_bRunMarkedTriggers = 1;
    if (version < 555) m_bShotSwitch = 1;
    if (version < 567) InsertFixed(m_BootOptions, 10, 4, IntOption("DD_VideoStretch", 0));
    if (version < 568) {
        InsertFixed(m_BootOptions, 10, 4, IntOption("D3D_FontCache", 0));
        InsertFixed(m_BootOptions, 10, 5, IntOption("DD_FontCache", 1));
    }
    if (version < 587) {
        m_StatusItems.resize(5);
        for (int item = 2; item <= 3; ++item) {
            m_StatusItems[item].m_nLowLevel = 33;
            m_StatusItems[item].m_bLowPercent = 1;
        }
    }
    if (version < 637) m_bSummonSwitch = version <= 616 ? 1 : 0;
    if (version < 669) m_bConditionSwitch = 1;
    if (version < 670) {
        m_nAutoDepthD3D = 0;
        m_nAutoDepthDD = 2;
    }
    if (version < 672) {
        m_BootOptions.resize(10);
        m_BootOptions[9] = IntOption("English", 0);
    }
    if (version < 677) m_bLandingSwitch = 1;
}
