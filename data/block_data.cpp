#include "data/block_data.h"

#include "data/stage_geometry.h"
#include "data/template_common.h"
#include "graphics/blit.h"
#include "graphics/standard_surfaces.h"
#include "shell/not_built_yet.h"

namespace {

BLOCKCONDITIONTEST s_pBlockConditionTest = nullptr;
BLOCKPICTURE s_pBlockPicture = nullptr;

constexpr int kMarkTilesPerColumn = 15;

}  // namespace

void SetBlockConditionTest(BLOCKCONDITIONTEST test)
{
    s_pBlockConditionTest = test;
}

BLOCKPICTURE SetBlockPicture(BLOCKPICTURE draw)
{
    const BLOCKPICTURE previous = s_pBlockPicture;
    s_pBlockPicture = draw;
    return previous;
}

void MarkTileSource(int tile, int& x, int& y)
{
    x = (tile / kMarkTilesPerColumn) * kCell;
    y = (tile % kMarkTilesPerColumn) * kCell;
}

cBlockData::cBlockData()
{
    Reset();
}

bool cBlockData::Reset()
{
    Clear();
    ResetInheritFlags(m_InheritFlags, kGroups);
    m_nHitMode = 1;
    m_nPassLayer = -1;
    return true;
}

void cBlockData::Read(cDataReader& reader)
{
    cDataRecord::Read(reader);
    if (reader.Failed()) return;
    if (reader.Version() < kShotImageShiftVersion) ShiftShotImage(m_nImageKind, m_nImageNumber);
    const TEMPLATESOURCES sources = CurrentTemplateSources();
    Inherit(sources);
    Validate(sources);
}

void cBlockData::Write(cDataWriter& writer)
{
    Validate();
    cDataRecord::Write(writer);
}

void cBlockData::Validate()
{
    Validate(CurrentTemplateSources());
}

void cBlockData::Validate(const TEMPLATESOURCES& sources)
{
    CheckInheritReference(*this, CountsOf(sources.common).blocks, CountsOf(sources.stage).blocks);
    if (m_nImageNumber == 0) {
        m_nHitMode = 0;
        m_bFixed = 0;
    }
}

void cBlockData::CheckItemReference()
{
    CheckItemReference(CurrentTemplateSources());
}

void cBlockData::CheckItemReference(const TEMPLATESOURCES& sources)
{
    if (ReferenceOutside(m_nItemSource, m_nItemIndex, CountsOf(sources.common).items, CountsOf(sources.stage).items)) {
        m_nItemSource = TEMPLATESOURCE_NONE;
        m_nItemIndex = 0;
    }
}

void cBlockData::Inherit(const TEMPLATESOURCES& sources)
{
    InheritGroups(*this, sources, &TEMPLATELISTS::blocks, kGroups);
}

BYTE cBlockData::InheritFlag(int group) const
{
    return InheritFlagAt(m_InheritFlags, group);
}

void cBlockData::CopyGroup(int group, const cBlockData& from)
{
    switch (group) {
    case 0: m_strName = from.m_strName; break;
    case 1:
        m_Conditions = from.m_Conditions;
        m_nConditionMode = from.m_nConditionMode;
        m_bCheckOnce = from.m_bCheckOnce;
        break;
    case 2:
        m_nImageKind = from.m_nImageKind;
        m_nImageNumber = from.m_nImageNumber;
        m_nImageFrame = from.m_nImageFrame;
        break;
    case 3: m_nDrawPass = from.m_nDrawPass; break;
    case 4: m_bHidden = from.m_bHidden; break;
    case 5:
        m_bMark = from.m_bMark;
        m_nMarkTile = from.m_nMarkTile;
        break;
    case 6: m_nHitMode = from.m_nHitMode; break;
    case 7: m_nPassLayer = from.m_nPassLayer; break;
    case 8:
        m_nEffect = from.m_nEffect;
        m_nEffectValue = from.m_nEffectValue;
        break;
    case 9:
        m_nItemSource = from.m_nItemSource;
        m_nItemIndex = from.m_nItemIndex;
        break;
    case 10: m_bFixed = from.m_bFixed; break;
    default: break;
    }
}

bool BlockConditionsHold(cBlockData& block)
{
    if (block.m_Conditions.empty()) return true;
    // Outside stage play nothing can be tested: the block counts as present.
    if (!s_pBlockConditionTest) return true;
    return s_pBlockConditionTest(block);
}

int cBlockData::GetHitMode(int layer)
{
    if (!BlockConditionsHold(*this)) return 0;
    if (m_nPassLayer == layer) return 0;
    return m_nHitMode;
}

void cBlockData::Draw(DDSURFACEDATA* target, int x, int y)
{
    if (s_pBlockPicture) s_pBlockPicture(*this, target, x, y);
    else LogNotBuiltYet("block pictures");
    if (m_bMark != 1) return;
    int sx = 0;
    int sy = 0;
    MarkTileSource(m_nMarkTile, sx, sy);
    DDBltFast(target, x, y, kCell, kCell, &g_StdSurface[kMarkSheet], sx, sy, DDBLTFAST_SRCCOLORKEY);
}
