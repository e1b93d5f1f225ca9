#pragma once
// A block template: an entry of a palette, or a block placed in a stage (with its grid
// position). Its picture, collision, effect and contained item, its appearance conditions, and
// the groups of properties it takes from another template.
#include <cstdint>
#include <string>

#include "data/condition_data.h"
#include "data/data_record.h"
#include "data/template_sources.h"
#include "platform/os/windows_types.h"
#include "shell/safe_container.h"

struct DDSURFACEDATA;

class cBlockData : public cDataRecordOf<cBlockData> {
public:
    static constexpr int kGroups = 11;

    cBlockData();

    void RegisterFields(DWORD version) override;
    // The body, position, flags and conditions, the upgrades of older files, then Inherit and
    // Validate against the sources of the read.
    void Read(cDataReader& reader) override;
    // Validate, then the body and the tail.
    void Write(cDataWriter& writer) override;

    // Fields and name cleared, the flags one 0 per group, the non-zero defaults. The position
    // and the conditions are kept.
    bool Reset();
    void Validate();
    void Validate(const TEMPLATESOURCES& sources);
    // The contained item lies inside the item list of its palette, else source and index 0.
    void CheckItemReference();
    void CheckItemReference(const TEMPLATESOURCES& sources);
    void Inherit(const TEMPLATESOURCES& sources);
    // Copies property group `group` (0 to kGroups - 1) of another template.
    void CopyGroup(int group, const cBlockData& from);
    BYTE InheritFlag(int group) const;

    // The collision mode for an object on `layer`: 0 when the block's conditions fail or the
    // layer passes through it.
    int GetHitMode(int layer);
    void Draw(DDSURFACEDATA* target, int x, int y);

    std::int16_t m_nColumn = 0;          // grid position of a placed block (0 in palettes)
    std::int16_t m_nRow = 0;
    BYTE m_nInheritSource = 0;           // TEMPLATESOURCE
    std::int16_t m_nInheritIndex = 0;    // 0: no inheritance
    cSafeVector<BYTE> m_InheritFlags;    // one per group, as many as the file gives
    std::string m_strName;
    cSafeVector<cConditionData> m_Conditions;
    BYTE m_nConditionMode = 0;
    BYTE m_bCheckOnce = 0;
    std::int16_t m_nImageNumber = 0;     // 0: the block has no image
    BYTE m_nImageKind = 0;
    std::int16_t m_nImageFrame = 0;
    BYTE m_nDrawPass = 0;                // 0 behind the objects, 1 in front
    BYTE m_bHidden = 0;
    BYTE m_bMark = 0;
    std::int16_t m_nMarkTile = 0;
    BYTE m_nHitMode = 1;                 // 0 passes, 1 solid, 2 deadly to the hero
    std::int8_t m_nPassLayer = -1;       // -1 none, else the layer that passes through
    BYTE m_nEffect = 0;
    std::int32_t m_nEffectValue = 0;
    BYTE m_nItemSource = 0;              // TEMPLATESOURCE of the contained item
    std::int16_t m_nItemIndex = 0;
    BYTE m_bFixed = 0;                   // a block summon leaves the cell unchanged
};

// The test of a block's appearance conditions during play; the stage-play scene sets it for
// as long as it lives. Until it does, conditions count as holding.
using BLOCKCONDITIONTEST = bool (*)(cBlockData& block);
void SetBlockConditionTest(BLOCKCONDITIONTEST test);
// Whether the block is present: no conditions, or the stage's test holds.
bool BlockConditionsHold(cBlockData& block);

// Draws a block's 32 x 32 picture at (x, y) from the sheets of the running stage; registered
// at start-up. Until it is, a block draws only its mark.
using BLOCKPICTURE = void (*)(cBlockData& block, DDSURFACEDATA* target, int x, int y);
BLOCKPICTURE SetBlockPicture(BLOCKPICTURE draw);   // returns the hook it replaces

// Where mark tile `tile` lies in the mark picture: 15 tiles of 32 dots to a column.
void MarkTileSource(int tile, int& x, int& y);
