#pragma once
// System.dat images built by hand from the file layout, for any version, independently of
// the runtime's writer: the scalar blocks in file order, each only from the version that
// brought it in, the title, then the fifteen tail lists.
#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/byte_builder.h"

namespace qbtest {

struct SystemStatusItem { int m_bShow, m_bIcon, m_nDigits, m_bGaugeNumber, m_nLowLevel, m_bLowPercent; std::string m_strLabel; };
struct SystemMenuItem { int m_bEnabled; std::string m_strLabel; };
struct SystemModeResult { int m_bEnabled; std::vector<std::uint8_t> m_ValueFlags; };
struct SystemBootOption { int m_nKind; int m_nValue; std::string m_strKey; std::string m_strValue; };

// What a fixture stores; the names are those of the record's members.
struct SystemFileValues {
    std::string m_strTitle;
    int m_bExtraLifeByScore = 0, m_nExtraLifeScore = 0, m_bPauseHidesObjects = 0, m_bUseLetterImages = 0;
    int m_nFontIndex = 0, m_bCenterChars = 0, m_bKeepMarkedFlows = 0, m_bRecordReplay = 0, m_bMenuPictures = 0;
    int m_bStoryKeepLives = 0, m_bStoryContinue = 0, m_bMapShowLives = 0, m_nChallengeStages = 0, m_bChallengeAllOpen = 0;
    int m_bMapShowScore = 0, m_bMenuShowTotal = 0, m_bRetryRestoreStory = 0, m_bPauseRetryStory = 0;
    int m_bSelectShowHighScore = 0, m_bSelectShowTotal = 0, m_bRetryRestoreChallenge = 0, m_bPauseRetryChallenge = 0;
    int m_bRetryRestoreFree = 0, m_bRetryRestoreTest = 0, m_bFullColor = 0;
    int m_byTransR = 0, m_byTransG = 0, m_byTransB = 0;
    int m_bScrollFollow = 0, discarded = 0, m_bScaleByHeight = 0, m_bHitCheckSwitch = 0, m_bPaletteChangeD3D = 0;
    int m_nColorAnimStep = 0, m_bColorAnim = 0, m_bRunMarkedTriggers = 0, m_bShotSwitch = 0, m_bSummonSwitch = 0;
    int m_bConditionSwitch = 0, m_bLandingSwitch = 0, m_nAutoDepthD3D = 0, m_nAutoDepthDD = 0;

    std::vector<std::uint8_t> m_CarryFlags, m_DeathClearFlags;
    std::vector<SystemStatusItem> m_StatusItems;
    std::vector<std::int32_t> m_StartLives, m_UnlimitedLives;
    std::vector<SystemModeResult> m_ModeResults;
    std::vector<std::string> m_Texts, m_SoundFiles;
    std::vector<std::int32_t> m_ScreenBgm;
    std::vector<std::uint8_t> m_ScreenBgmLoop;
    std::vector<SystemMenuItem> m_TitleMenu, m_StoryMenu, m_OptionMenu;
    std::vector<std::string> m_RankingModeNames;
    std::vector<SystemBootOption> m_BootOptions;
};

// A System.dat image, with the offsets of every count and string length word in it.
struct SystemFileImage {
    std::string bytes;
    std::vector<std::size_t> countOffsets;
};

class cSystemFileBuilder {
public:
    SystemFileImage Build(const SystemFileValues& v, std::uint32_t version)
    {
        m_Image = {};
        m_Bytes = cByteBuilder();
        m_Bytes.U32(version);
        Body(v, version);
        Tail(v, version);
        m_Image.bytes = m_Bytes.Str();
        return m_Image;
    }

private:
    void Count(std::size_t n) { m_Image.countOffsets.push_back(m_Bytes.Size()); m_Bytes.I32(static_cast<std::int32_t>(n)); }
    void String(const std::string& text)
    {
        Count(text.size() + 1);
        if (!text.empty()) m_Bytes.Bytes(text).U8(0);
    }

    void Body(const SystemFileValues& v, std::uint32_t ver)
    {
        cByteBuilder blocks;
        std::size_t n = 0;
        auto f4 = [&](bool stored, int value) { if (stored) { blocks.I32(value); ++n; } };
        auto f1 = [&](bool stored, int value) { if (stored) { blocks.U8(static_cast<std::uint8_t>(value)); ++n; } };
        f4(ver >= 185, v.m_bExtraLifeByScore);
        f4(true, v.m_nExtraLifeScore);
        f4(true, v.m_bPauseHidesObjects);
        f4(true, v.m_bUseLetterImages);
        f4(ver >= 205, v.m_nFontIndex);
        f4(ver >= 170, v.m_bCenterChars);
        f4(ver >= 113, v.m_bKeepMarkedFlows);
        f4(ver >= 184, v.m_bRecordReplay);
        f4(ver >= 157, v.m_bMenuPictures);
        f4(true, v.m_bStoryKeepLives);
        f4(ver >= 191, v.m_bStoryContinue);
        f4(ver >= 191, v.m_bMapShowLives);
        f4(true, v.m_nChallengeStages);
        f4(true, v.m_bChallengeAllOpen);
        f4(ver >= 167, v.m_bMapShowScore);
        f4(ver >= 167, v.m_bMenuShowTotal);
        f4(ver >= 188, v.m_bRetryRestoreStory);
        f4(ver >= 224, v.m_bPauseRetryStory);
        f4(ver >= 167, v.m_bSelectShowHighScore);
        f4(ver >= 167, v.m_bSelectShowTotal);
        f4(ver >= 188, v.m_bRetryRestoreChallenge);
        f4(ver >= 224, v.m_bPauseRetryChallenge);
        f4(ver >= 188, v.m_bRetryRestoreFree);
        f4(ver >= 192, v.m_bRetryRestoreTest);
        f4(ver >= 187, v.m_bFullColor);
        f1(ver >= 187, v.m_byTransR);
        f1(ver >= 187, v.m_byTransG);
        f1(ver >= 187, v.m_byTransB);
        f4(ver >= 214, v.m_bScrollFollow);
        f4(ver >= 221 && ver <= 259, v.discarded);
        f4(ver >= 261, v.m_bScaleByHeight);
        f4(ver >= 272, v.m_bHitCheckSwitch);
        f4(ver >= 287, v.m_bPaletteChangeD3D);
        f4(ver >= 515, v.m_nColorAnimStep);
        f4(ver >= 289, v.m_bColorAnim);
        f4(ver >= 525, v.m_bRunMarkedTriggers);
        f4(ver >= 555, v.m_bShotSwitch);
        f4(ver >= 637, v.m_bSummonSwitch);
        f4(ver >= 669, v.m_bConditionSwitch);
        f4(ver >= 677, v.m_bLandingSwitch);
        f4(ver >= 670, v.m_nAutoDepthD3D);
        f4(ver >= 670, v.m_nAutoDepthDD);
        Count(n);
        m_Bytes.Bytes(blocks.Str());
        Count(1);
        String(v.m_strTitle);
    }

    template <class T>
    void Values(const std::vector<T>& list)
    {
        Count(list.size());
        for (T value : list) {
            if constexpr (sizeof(T) == 1) m_Bytes.U8(static_cast<std::uint8_t>(value));
            else m_Bytes.I32(static_cast<std::int32_t>(value));
        }
    }
    void Strings(const std::vector<std::string>& list)
    {
        Count(list.size());
        for (const std::string& text : list) String(text);
    }
    void Menu(const std::vector<SystemMenuItem>& menu)
    {
        Count(menu.size());
        for (const SystemMenuItem& item : menu) {
            Count(1);
            m_Bytes.I32(item.m_bEnabled);
            Count(1);
            String(item.m_strLabel);
        }
    }

    void Tail(const SystemFileValues& v, std::uint32_t ver)
    {
        Values(v.m_CarryFlags);
        if (ver >= 501) Values(v.m_DeathClearFlags);
        Count(v.m_StatusItems.size());
        for (const SystemStatusItem& item : v.m_StatusItems) {
            Count(ver >= 587 ? 6 : ver >= 204 ? 4 : 3);
            m_Bytes.I32(item.m_bShow).I32(item.m_bIcon).I32(item.m_nDigits);
            if (ver >= 204) m_Bytes.I32(item.m_bGaugeNumber);
            if (ver >= 587) m_Bytes.I32(item.m_nLowLevel).I32(item.m_bLowPercent);
            Count(1);
            String(item.m_strLabel);
        }
        Values(v.m_StartLives);
        if (ver >= 191) Values(v.m_UnlimitedLives);
        if (ver >= 186) {
            Count(v.m_ModeResults.size());
            for (const SystemModeResult& result : v.m_ModeResults) {
                Count(1);
                m_Bytes.I32(result.m_bEnabled);
                Count(0);
                Values(result.m_ValueFlags);
            }
        }
        Strings(v.m_Texts);
        Strings(v.m_SoundFiles);
        Values(v.m_ScreenBgm);
        if (ver >= 202) Values(v.m_ScreenBgmLoop);
        Menu(v.m_TitleMenu);
        Menu(v.m_StoryMenu);
        Menu(v.m_OptionMenu);
        if (ver >= 674) Strings(v.m_RankingModeNames);
        Count(v.m_BootOptions.size());
        for (const SystemBootOption& option : v.m_BootOptions) {
            Count(2);
            m_Bytes.I32(option.m_nKind).I32(option.m_nValue);
            Count(2);
            String(option.m_strKey);
            String(option.m_strValue);
        }
    }

    cByteBuilder m_Bytes;
    SystemFileImage m_Image;
};

inline SystemFileImage BuildSystemFile(const SystemFileValues& values, std::uint32_t version)
{
    return cSystemFileBuilder().Build(values, version);
}

// The record's defaults, as the System data's tables give them.
inline SystemFileValues DefaultSystemValues()
{
    SystemFileValues v;
    v.m_nExtraLifeScore = 100;
    v.m_bPauseHidesObjects = 1;
    v.m_nFontIndex = 60;
    v.m_bRecordReplay = 1;
    v.m_bMenuPictures = 1;
    v.m_bStoryKeepLives = 1;
    v.m_bStoryContinue = 1;
    v.m_bMapShowLives = 1;
    v.m_nChallengeStages = 40;
    v.m_bChallengeAllOpen = 1;
    v.m_bMapShowScore = 1;
    v.m_bMenuShowTotal = 1;
    v.m_bRetryRestoreStory = 1;
    v.m_bPauseRetryStory = 1;
    v.m_bSelectShowHighScore = 1;
    v.m_bSelectShowTotal = 1;
    v.m_bRetryRestoreChallenge = 1;
    v.m_bPauseRetryChallenge = 1;
    v.m_bRetryRestoreFree = 1;
    v.m_nColorAnimStep = 16;
    v.m_nAutoDepthDD = 2;
    v.m_CarryFlags = {1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 1, 1, 0, 1, 1, 1, 0, 0, 0};
    v.m_DeathClearFlags.assign(25, 0);
    v.m_DeathClearFlags[11] = v.m_DeathClearFlags[12] = 1;
    v.m_StatusItems = {
        {1, 1, 4, 0, 0, 0, "スコア"}, {1, 1, 3, 0, 0, 0, "スコア"}, {1, 1, 0, 0, 0, 0, "HP"},
        {1, 1, 0, 0, 0, 0, "SP"}, {1, 1, 2, 0, 0, 0, "人"},
    };
    v.m_StartLives = {5, 5, 5, 99};
    v.m_UnlimitedLives = {1, 1, 1, 1};
    v.m_ModeResults = {{1, {1, 1, 1, 1, 1}}, {1, {1, 1, 1, 1, 1}}, {1, {1, 1, 1, 1, 1}}, {0, {0, 0, 0, 0, 0}}};
    v.m_Texts = {
        "ワールド", "ステージ", "スコア", "ハイスコア", "トータルスコア", "スコア", "残り時間",
        "クリア時間", "残りHP", "残りSP", "ステージに挑む", "やっぱりやめる", "セーブする",
        "やっぱりやめる", "オートセーブＯＮ", "オートセーブＯＦＦ",
        "保存先が不明です！一度は「セーブ」して下さい！", "タイトルへ戻る", "やっぱりやめる",
        "しゅうりょう", "つづける", "リトライ", "リトライ", "マップへ戻る",
        "Vキーでジャンルの切り替え", "スペースキーでタイトルへ戻る", "スペースキーで終了",
        "F3キーでランキングへ登録",
    };
    v.m_SoundFiles.assign(17, "");
    v.m_ScreenBgm = {0, 0, 0, 0};
    v.m_ScreenBgmLoop = {1, 1, 1, 1};
    for (const char* label : {"はじめから", "つづきから", "チャレンジ", "フリー", "リプレイ", "オプション", "しゅうりょう"})
        v.m_TitleMenu.push_back({1, label});
    for (const char* label : {"セーブ", "オートセーブ", "もどる", "タイトルへ"}) v.m_StoryMenu.push_back({1, label});
    for (const char* label : {"BGM", "SE", "ランキング登録", "ランキング登録名", "もどる", ""}) v.m_OptionMenu.push_back({1, label});
    v.m_RankingModeNames = {"手動登録（登録名入力）", "手動登録（登録名固定）", "自動登録（登録名入力）", "自動登録（登録名固定）"};
    v.m_BootOptions = {
        {0, 2, "Direct3D", ""}, {0, 0, "WindowMode", ""}, {0, 0, "Bpp", ""}, {0, 2, "VSync", ""},
        {0, 0, "D3D_FontCache", ""}, {0, 1, "DD_FontCache", ""}, {0, 0, "DD_VideoStretch", ""},
        {0, 1, "ShowFps", ""}, {1, 0, "FreeStage", ""}, {0, 0, "English", ""},
    };
    return v;
}

// Every scalar, string and list element a value of its own (screen BGM numbers 11 to 14, so
// the BGM record count must be above 14 for them to stay).
inline SystemFileValues DistinctSystemValues()
{
    SystemFileValues v;
    int next = 1000;
    for (int* field : {&v.m_bExtraLifeByScore, &v.m_nExtraLifeScore, &v.m_bPauseHidesObjects, &v.m_bUseLetterImages,
                       &v.m_nFontIndex, &v.m_bCenterChars, &v.m_bKeepMarkedFlows, &v.m_bRecordReplay,
                       &v.m_bMenuPictures, &v.m_bStoryKeepLives, &v.m_bStoryContinue, &v.m_bMapShowLives,
                       &v.m_nChallengeStages, &v.m_bChallengeAllOpen, &v.m_bMapShowScore, &v.m_bMenuShowTotal,
                       &v.m_bRetryRestoreStory, &v.m_bPauseRetryStory, &v.m_bSelectShowHighScore,
                       &v.m_bSelectShowTotal, &v.m_bRetryRestoreChallenge, &v.m_bPauseRetryChallenge,
                       &v.m_bRetryRestoreFree, &v.m_bRetryRestoreTest, &v.m_bFullColor, &v.m_bScrollFollow,
                       &v.discarded, &v.m_bScaleByHeight, &v.m_bHitCheckSwitch, &v.m_bPaletteChangeD3D,
                       &v.m_nColorAnimStep, &v.m_bColorAnim, &v.m_bRunMarkedTriggers, &v.m_bShotSwitch,
                       &v.m_bSummonSwitch, &v.m_bConditionSwitch, &v.m_bLandingSwitch, &v.m_nAutoDepthD3D,
                       &v.m_nAutoDepthDD})
        *field = next++;
    v.m_byTransR = 0xA1;
    v.m_byTransG = 0xA2;
    v.m_byTransB = 0xA3;
    v.m_strTitle = "ゲーム題名 Title";
    std::uint8_t flag = 0x20;
    for (int i = 0; i < 25; ++i) v.m_CarryFlags.push_back(flag++);
    for (int i = 0; i < 25; ++i) v.m_DeathClearFlags.push_back(flag++);
    for (int i = 0; i < 5; ++i)
        v.m_StatusItems.push_back({2000 + i, 2010 + i, 2020 + i, 2030 + i, 2040 + i, 2050 + i, "状態" + std::to_string(i)});
    v.m_StartLives = {3001, 3002, 3003, 3004};
    v.m_UnlimitedLives = {3011, 3012, 3013, 3014};
    for (int i = 0; i < 4; ++i) {
        SystemModeResult result{3020 + i, {}};
        for (int k = 0; k < 5; ++k) result.m_ValueFlags.push_back(flag++);
        v.m_ModeResults.push_back(result);
    }
    for (int i = 0; i < 28; ++i) v.m_Texts.push_back("文" + std::to_string(i));
    for (int i = 0; i < 17; ++i) v.m_SoundFiles.push_back("wave\\音" + std::to_string(i) + ".wav");
    v.m_ScreenBgm = {11, 12, 13, 14};
    v.m_ScreenBgmLoop = {flag, static_cast<std::uint8_t>(flag + 1), static_cast<std::uint8_t>(flag + 2), static_cast<std::uint8_t>(flag + 3)};
    for (int i = 0; i < 7; ++i) v.m_TitleMenu.push_back({4000 + i, "題" + std::to_string(i)});
    for (int i = 0; i < 4; ++i) v.m_StoryMenu.push_back({4100 + i, "話" + std::to_string(i)});
    for (int i = 0; i < 6; ++i) v.m_OptionMenu.push_back({4200 + i, "設" + std::to_string(i)});
    for (int i = 0; i < 4; ++i) v.m_RankingModeNames.push_back("登録" + std::to_string(i));
    for (int i = 0; i < 10; ++i)
        v.m_BootOptions.push_back({5000 + i, 5100 + i, "Key" + std::to_string(i), "値" + std::to_string(i)});
    return v;
}

}  // namespace qbtest
