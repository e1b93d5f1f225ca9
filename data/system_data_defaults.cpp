#include "data/system_data.h"

namespace {

const BYTE kCarryFlags[25] = {1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 1, 1, 0, 1, 1, 1, 0, 0, 0};

struct STATUSITEMDEFAULT { const char* label; int digits; };
const STATUSITEMDEFAULT kStatusItems[5] = {
    {"スコア", 4}, {"スコア", 3}, {"HP", 0}, {"SP", 0}, {"人", 2},
};

const char* const kTitleMenu[kGameModes] = {"はじめから", "つづきから", "チャレンジ", "フリー", "リプレイ", "オプション", "しゅうりょう"};
const char* const kStoryMenu[4] = {"セーブ", "オートセーブ", "もどる", "タイトルへ"};
const char* const kOptionMenu[6] = {"BGM", "SE", "ランキング登録", "ランキング登録名", "もどる", ""};
const char* const kRankingModeNames[4] = {
    "手動登録（登録名入力）", "手動登録（登録名固定）", "自動登録（登録名入力）", "自動登録（登録名固定）",
};

const char* const kTexts[28] = {
    "ワールド", "ステージ", "スコア", "ハイスコア", "トータルスコア",
    "スコア", "残り時間", "クリア時間", "残りHP", "残りSP",
    "ステージに挑む", "やっぱりやめる", "セーブする", "やっぱりやめる",
    "オートセーブＯＮ", "オートセーブＯＦＦ", "保存先が不明です！一度は「セーブ」して下さい！",
    "タイトルへ戻る", "やっぱりやめる", "しゅうりょう", "つづける", "リトライ", "リトライ",
    "マップへ戻る", "Vキーでジャンルの切り替え", "スペースキーでタイトルへ戻る",
    "スペースキーで終了", "F3キーでランキングへ登録",
};

struct BOOTOPTIONDEFAULT { const char* key; int value; };
const BOOTOPTIONDEFAULT kBootOptions[10] = {
    {"Direct3D", 2}, {"WindowMode", 0}, {"Bpp", 0}, {"VSync", 2}, {"D3D_FontCache", 0},
    {"DD_FontCache", 1}, {"DD_VideoStretch", 0}, {"ShowFps", 1}, {"FreeStage", 0}, {"English", 0},
};
constexpr int kFreeStageOption = 8;  // the one string option

void SetMenu(cSafeVector<cMenuItemData>& menu, const char* const* labels, std::size_t n)
{
    menu.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        menu[i].m_bEnabled = 1;
        menu[i].m_strLabel = labels[i];
    }
}

}  // namespace

void cSystemData::SetDefaults()
{
    Clear();
    m_nExtraLifeScore = 100;
    m_bPauseHidesObjects = 1;
    m_bUseLetterImages = 0;
    m_nFontIndex = 60;
    m_bRecordReplay = 1;
    m_bMenuPictures = 1;
    m_bRetryRestoreStory = 1;
    m_bPauseRetryStory = 1;
    m_bRetryRestoreChallenge = 1;
    m_bPauseRetryChallenge = 1;
    m_bRetryRestoreFree = 1;
    m_nColorAnimStep = 16;

    m_CarryFlags.assign(std::begin(kCarryFlags), std::end(kCarryFlags));
    m_DeathClearFlags.assign(25, 0);
    m_DeathClearFlags[11] = 1;
    m_DeathClearFlags[12] = 1;

    m_StatusItems.resize(5);
    for (int i = 0; i < 5; ++i) {
        m_StatusItems[i].m_bShow = 1;
        m_StatusItems[i].m_bIcon = 1;
        m_StatusItems[i].m_strLabel = kStatusItems[i].label;
        m_StatusItems[i].m_nDigits = kStatusItems[i].digits;
    }

    m_ModeResults.resize(kPlayModes);
    for (int mode = 0; mode < kPlayModes; ++mode) {
        const BYTE on = mode != PLAYMODE_REPLAY ? 1 : 0;
        m_ModeResults[mode].m_bEnabled = on;
        m_ModeResults[mode].m_ValueFlags.assign(5, on);
    }

    SetMenu(m_TitleMenu, kTitleMenu, kGameModes);
    SetMenu(m_StoryMenu, kStoryMenu, 4);
    SetMenu(m_OptionMenu, kOptionMenu, 6);
    m_RankingModeNames.assign(std::begin(kRankingModeNames), std::end(kRankingModeNames));

    m_bStoryKeepLives = 1;
    m_bStoryContinue = 1;
    m_bMapShowLives = 1;
    m_nChallengeStages = 40;
    m_bChallengeAllOpen = 1;
    m_StartLives.assign({5, 5, 5, 99});
    m_UnlimitedLives.assign({1, 1, 1, 1});
    m_bMapShowScore = 1;
    m_bMenuShowTotal = 1;
    m_bSelectShowHighScore = 1;
    m_bSelectShowTotal = 1;
    m_Texts.assign(std::begin(kTexts), std::end(kTexts));
    m_SoundFiles.assign(17, std::string());
    m_ScreenBgm.assign(4, 0);
    m_ScreenBgmLoop.assign(4, 1);

    m_BootOptions.resize(10);
    for (int i = 0; i < 10; ++i) {
        if (i == kFreeStageOption) m_BootOptions[i].SetString(kBootOptions[i].key, "");
        else m_BootOptions[i].SetInt(kBootOptions[i].key, kBootOptions[i].value);
    }

    m_nAutoDepthD3D = 0;
    m_nAutoDepthDD = 2;
}
