#pragma once
// A block template: an entry of a palette, or a block placed in a stage (with its grid
// position). Its collision, effect and contained item, beside what every template has
// (data/template_data.h).
#include <cstdint>
#include <string>

#include "data/template_data.h"
#include "platform/os/windows_types.h"

struct DDSURFACEDATA;

class cBlockData : public cTemplateData<cBlockData> {
public:
    static constexpr int kGroups = 11;
    static constexpr int kConditionGroup = 1;
    static constexpr auto kList = &TEMPLATELISTS::blocks;
    static constexpr auto kCount = &PALETTECOUNTS::blocks;

    cBlockData();

    void RegisterFields(DWORD version) override;
    // Fields and name cleared, the flags one 0 per group, the non-zero defaults. The position
    // and the conditions are kept.
    bool Reset();
    // The contained item lies inside the item list of its palette, else source and index 0.
    void CheckItemReference(const TEMPLATESOURCES& sources);

    // The collision mode for an object on `layer`: 0 when the block's conditions fail or the
    // layer passes through it.
    int GetHitMode(int layer);
    void Draw(DDSURFACEDATA* target, int x, int y);

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

private:
    friend class cTemplateData<cBlockData>;
    // Without a picture the block neither collides nor stays fixed.
    void ValidateBody();
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
