#pragma once
// One stage of a game: its settings, its own palette of block, chara and item templates, the
// blocks, charas and items placed in it, its background layers and its texts. g_StageData is
// the stage being played; g_StageBackup keeps a copy of its settings for stage play to restore.
#include <atomic>
#include <cstdint>
#include <string>

#include "data/data_record.h"
#include "data/stage_elements.h"
#include "data/template_lists.h"
#include "shell/safe_container.h"

// The word that ends every stage file from version 173 on.
constexpr std::int32_t kStageEndMark = 123456789;
// From this version a stage file whose read does not end on the end mark is damaged.
constexpr DWORD kStageEndMarkCheckedVersion = 174;
// The largest grid a stage may have (width x height blocks).
constexpr std::int64_t kMaxStageCells = std::int64_t{1} << 24;
// The most sub-steps per frame a stage may derive from its speed level. Levels from 20 up take
// the level itself, while the editor's levels give at most 10; play sizes a table and runs
// every object that many times a frame, so a damaged level must not reach it.
constexpr int kMaxSubSteps = 1000;

class cStageData : public cDataRecordOf<cStageData> {
public:
    cStageData();

    void RegisterFields(DWORD version) override;
    // The whole body, with the fix-ups of older files, then Normalize. A width or height
    // below 1, a grid of more than kMaxStageCells, a speed level that derives more than
    // kMaxSubSteps sub-steps, or (from version 174) a read that does not end on the end mark
    // fails the read as damaged.
    void Read(cDataReader& reader) override;
    // Normalize, the body, then the end mark.
    void Write(cDataWriter& writer) override;
    // A whole body whose settings (fields, text, result switches, rules, backgrounds, texts)
    // are those of settings and whose palette and placed objects are this record's,
    // normalised in a copy: this record stays as it is.
    void WriteWithSettings(cDataWriter& writer, const cStageData& settings) const;

    // Everything as a new stage has it: no placed objects, one default template per palette
    // list, one background, five result switches on, the default rules and boxes.
    void Reset();
    // Keeps the scroll limits inside the stage, derives the speed values, drops an unknown BGM,
    // pads the palette lists to two entries and checks every template against this record's
    // palette and the common palette.
    void Normalize();
    // Stores the level and derives the sub-steps and speed limits from it. A level below 1
    // derives as level 1 and is kept as it is.
    void SetSpeedLevel(int level);
    // The sub-steps per frame that a speed level derives.
    static int SubStepsOfLevel(int level);
    // The first placed chara the player operates that has an image; -1 when there is none.
    int FindHero() const;
    bool HasHero() const { return FindHero() >= 0; }
    // The frame rate play paces at: a stored rate of 0 or less stands for 60.
    int PaceFrameRate() const { return m_nFrameRate > 0 ? m_nFrameRate : 60; }
    // The palette lists as template references see them.
    TEMPLATELISTS PaletteLists() const;

    std::string m_strText;                        // stored, no use during play
    cSafeVector<cBlockData> m_Blocks;             // placed blocks (position in the block)
    cSafeVector<cCharaData> m_Charas;             // placed charas
    cSafeVector<cItemData> m_Items;               // placed items
    cSafeVector<cBlockData> m_PaletteBlocks;      // the stage palette; entry 0 is empty
    cSafeVector<cCharaData> m_PaletteCharas;
    cSafeVector<cItemData> m_PaletteItems;
    cSafeVector<cBackgroundData> m_Backgrounds;
    cSafeVector<cStageTextData> m_Texts;

    int m_nWidth = 0;                 // in blocks
    int m_nReserved1 = 0;             // stored, no use during play
    int m_nReserved2 = 0;
    int m_nHeight = 0;                // in blocks
    int m_bScrollLeft = 0;            // scroll limit switches
    int m_bScrollRight = 0;
    int m_bScrollTop = 0;
    int m_bScrollBottom = 0;
    int m_nScrollLeft = 0;            // limit columns and rows
    int m_nScrollRight = 0;
    int m_nScrollTop = 0;
    int m_nScrollBottom = 0;
    int m_nFrameRate = 60;
    int m_bTimeLimit = 0;
    int m_nTimeLimit = 200;
    int m_nTimeWarning = 20;
    int m_bAutoScrollX = 0;
    int m_bAutoScrollY = 0;
    int m_nAutoScrollSpeedX = 0;      // tenths of a dot per frame
    int m_nAutoScrollSpeedY = 0;
    double m_dGravity = 0.4;          // dots per frame per frame
    int m_nSpeedLevel = 10;           // 1 to 19 from the editor
    int m_nContactLevel = 0;          // 0: as the speed level
    int m_nBgm = 0;                   // entry of the Bgm database
    int m_bBgmLoop = 0;
    int m_bBgmKeep = 0;               // keep a playing stage BGM on a restart
    int m_bLayered = 1;               // objects on 8 layers
    int m_bTakeOverStatus = 0;
    int m_bCarryStatus = 0;
    int m_bPlaySwitch = 1;
    int m_bClearAutoAdvance = 0;
    int m_bStartSign = 0;             // the 128x32 start sign
    int m_bStartSignSmall = 1;        // the 80x32 start sign
    int m_bClearSign = 1;
    int m_bGameOverSign = 1;
    cSafeVector<std::int32_t> m_ResultFlags;  // per result value: tallied for this stage
    // Rules 1 to 3 for three kinds of stage objects, 4 and 5 for shots.
    cOutOfRangeData m_OutOfRange[5];
    int m_nHeroBodyW = 16;            // hero boxes in dots: body, box 2 (against charas),
    int m_nHeroBodyH = 24;            // box 3 (against shots), box 4
    int m_nHeroBodyFlyW = 16;
    int m_nHeroBodyFlyH = 16;
    int m_nHeroBox2W = 16;
    int m_nHeroBox2H = 24;
    int m_nHeroBox2FlyW = 16;
    int m_nHeroBox2FlyH = 16;
    int m_nHeroBox3W = 12;
    int m_nHeroBox3H = 8;
    int m_nHeroBox4W = 16;
    int m_nHeroBox4H = 16;
    int m_nHeroBodyAlign = 1;         // 0 centre, 1 bottom
    int m_nHeroBodyFlyAlign = 0;
    int m_nHeroBox2Align = 1;
    int m_nHeroBox2FlyAlign = 0;
    int m_nHeroBodyShow = 0;          // 0 hidden, 1 shown, 2 frame only
    int m_nHeroBox2Show = 0;
    int m_nHeroBox3Show = 0;
    int m_nHeroBox4Show = 0;
    int m_nHeroBodyColor = 0;         // index into the colour list
    int m_nHeroBox2Color = 0;
    int m_nHeroBox3Color = 0;
    int m_nHeroBox4Color = 0;
    int m_nCharaBodyW = 16;           // the same boxes for the other charas
    int m_nCharaBodyH = 24;
    int m_nCharaBodyFlyW = 16;
    int m_nCharaBodyFlyH = 16;
    int m_nCharaBox2W = 12;
    int m_nCharaBox2H = 24;
    int m_nCharaBox2FlyW = 12;
    int m_nCharaBox2FlyH = 16;
    int m_nCharaBox3W = 30;
    int m_nCharaBox3H = 30;
    int m_nCharaBodyAlign = 1;
    int m_nCharaBodyFlyAlign = 0;
    int m_nCharaBox2Align = 1;
    int m_nCharaBox2FlyAlign = 0;
    int m_nItemBoxW = 28;
    int m_nItemBoxH = 28;
    int m_nShotBox1W = 16;            // shot boxes: the first for the hero's shots, the third
    int m_nShotBox1H = 16;            // for the other charas' shots
    int m_nShotBox2W = 16;
    int m_nShotBox2H = 16;
    int m_nShotBox3W = 16;
    int m_nShotBox3H = 16;
    int m_nShotBox4W = 16;
    int m_nShotBox4H = 16;
    int m_nReserved3 = 1;             // stored, no use during play

    // Not stored in files.
    std::string m_strPath;            // the file of the last load
    int m_bAddExtension = 0;          // as LoadStage was given it
    int m_bLoaded = 0;                // set by the loading thread

    int m_nScrollAxisX = 0;           // added to 640 for the scroll axis
    int m_nScrollAxisY = 0;
    int m_nSubSteps6 = 0;             // derived, not stored: six times the sub-steps
    int m_nSubSteps = 0;              // derived by SetSpeedLevel (stored, recomputed on read)
    double m_dSubSteps = 0;
    double m_dSubStepsSquared = 0;
    double m_dSpeedLimit = 0;         // per frame
    double m_dGravityPerStep = 0;
    double m_dSpeedLimitPerStep = 0;
    int m_nSubSteps8 = 0;
    int m_bOnScreenOnly = 1;          // contacts consider only objects on screen
    int m_nHeroImmunity = 30;         // frames, multiplied by the sub-steps
    int m_nHeroInvincible = 0;
    int m_nCharaImmunity = 30;
    int m_nCharaInvincible = 0;

private:
    void Upgrade(DWORD version);
    // The common palette of the sources in force, and this record's palette as the stage's.
    TEMPLATESOURCES Sources() const;
    // The body and the end mark, as the record stands.
    void WriteBody(cDataWriter& writer);
    // Exchanges the palette and the placed objects with another record.
    void SwapObjects(cStageData& other);
};

extern cStageData g_StageData;
extern cStageData g_StageBackup;

// Set by LoadStage's caller to stop a stage read on the loading thread between two of its
// objects; the read then fails.
extern std::atomic<bool> g_bStageReadStop;
