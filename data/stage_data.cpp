#include "data/stage_data.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "data/database.h"
#include "shell/format.h"
#include "shell/game_arithmetic.h"

std::atomic<bool> g_bStageReadStop{false};

namespace {

constexpr int kResultSwitches = 5;

// value = min(value, limit), where limit may lie below the int range.
void LimitTo(int& value, std::int64_t limit)
{
    if (value > limit) value = static_cast<int>(std::max<std::int64_t>(limit, INT_MIN));
}

}  // namespace

cStageData::cStageData()
{
    m_PaletteBlocks.resize(1);
    m_PaletteCharas.resize(1);
    m_PaletteItems.resize(1);
    m_Backgrounds.resize(1);
    m_ResultFlags.assign(kResultSwitches, 1);
    m_OutOfRange[3] = cOutOfRangeData(1, 0, 0, 0, 0);
    m_OutOfRange[4] = cOutOfRangeData(1, 10, 10, 10, 10);
}

void cStageData::Reset()
{
    // The members initialise to a new stage; what files do not store is kept.
    std::string path = std::move(m_strPath);
    const int addExtension = m_bAddExtension;
    const int loaded = m_bLoaded;
    *this = cStageData();
    m_strPath = std::move(path);
    m_bAddExtension = addExtension;
    m_bLoaded = loaded;
}

TEMPLATELISTS cStageData::PaletteLists() const
{
    return ListsOf(m_PaletteBlocks, m_PaletteCharas, m_PaletteItems);
}

TEMPLATESOURCES cStageData::Sources() const
{
    return TEMPLATESOURCES{CurrentTemplateSources().common, PaletteLists()};
}

void cStageData::Read(cDataReader& reader)
{
    const DWORD version = reader.Version();
    // Nothing of a stage read before may stay in values an older file lacks.
    Reset();
    {
        // Templates refer to this record's palette, not to the stage it will replace.
        cTemplateSourceScope scope(Sources());
        cDataRecord::Read(reader);
    }
    if (reader.Failed()) return;
    if (m_nWidth <= 0 || m_nHeight <= 0 ||
        static_cast<std::int64_t>(m_nWidth) * m_nHeight > kMaxStageCells) {
        std::string why;
        FormatString(why, "a stage of %d x %d blocks", m_nWidth, m_nHeight);
        reader.Fail(why);
        return;
    }
    if (SubStepsOfLevel(m_nSpeedLevel) > kMaxSubSteps) {
        std::string why;
        FormatString(why, "speed level %d gives more than %d sub-steps a frame", m_nSpeedLevel, kMaxSubSteps);
        reader.Fail(why);
        return;
    }
    std::int32_t mark = 0;
    if (version >= kStageEndMarkCheckedVersion) {
        if (!reader.ReadInt32(mark) || mark != kStageEndMark) {
            reader.Fail("the stage does not end on its end mark");
            return;
        }
    } else if (version >= 173 && reader.Remaining() >= 4) {
        // Read, never checked: a file of this version is read whole without it too.
        reader.ReadInt32(mark);
    }
    ResetFirstTemplates(m_PaletteBlocks, m_PaletteCharas, m_PaletteItems);
    Upgrade(version);
    Normalize();
}

// What files older than this program's version lack or stored differently, in the order the
// format grew. version is the file's.
void cStageData::Upgrade(DWORD version)
{
    if (version < 155) {
        m_nHeroBox2FlyW = m_nHeroBox2W;
        m_nHeroBox2FlyH = m_nHeroBox2H;
        m_nCharaBox2FlyW = m_nCharaBox2W;
        m_nCharaBox2FlyH = m_nCharaBox2H;
        m_nHeroBox2Align = m_nHeroBox2FlyAlign = 0;
        m_nCharaBox2Align = m_nCharaBox2FlyAlign = 0;
    }
    if (version < 166) m_bBgmLoop = 1;
    if (version < 181) {
        m_ResultFlags.resize(kResultSwitches, 0);
        m_ResultFlags[3] = m_ResultFlags[4] = 0;
    } else if (m_ResultFlags.size() < kResultSwitches) {
        // Every result value needs its switch; a longer list is kept as the file gave it.
        m_ResultFlags.resize(kResultSwitches, 0);
    }
    if (version < 183) m_bPlaySwitch = 1;
    if (version < 184) m_bClearAutoAdvance = 0;
    if (version < 199) m_bBgmKeep = 0;
    if (version < 200) {
        m_nHeroBodyW = 16;
        m_nHeroBodyH = 24;
        m_nHeroBodyFlyW = 16;
        m_nHeroBodyFlyH = 16;
        m_nHeroBodyAlign = 1;
        m_nHeroBodyFlyAlign = 0;
        m_nHeroBodyShow = 0;
        m_nHeroBodyColor = 5;
        m_nCharaBodyW = 16;
        m_nCharaBodyH = 30;
        m_nCharaBodyFlyW = 16;
        m_nCharaBodyFlyH = 30;
        m_nCharaBodyAlign = 1;
        m_nCharaBodyFlyAlign = 1;
    }
    if (version < 225) m_bStartSignSmall = 0;
}

void cStageData::Write(cDataWriter& writer)
{
    Normalize();
    WriteBody(writer);
}

void cStageData::WriteWithSettings(cDataWriter& writer, const cStageData& settings) const
{
    // A stage in play is saved mid-attempt: only the copy written is normalised.
    cStageData objects(*this);
    objects.Normalize();
    cStageData combined(settings);
    objects.SwapObjects(combined);
    combined.WriteBody(writer);
}

void cStageData::SwapObjects(cStageData& other)
{
    std::swap(other.m_PaletteBlocks, m_PaletteBlocks);
    std::swap(other.m_PaletteCharas, m_PaletteCharas);
    std::swap(other.m_PaletteItems, m_PaletteItems);
    std::swap(other.m_Blocks, m_Blocks);
    std::swap(other.m_Charas, m_Charas);
    std::swap(other.m_Items, m_Items);
}

void cStageData::WriteBody(cDataWriter& writer)
{
    cTemplateSourceScope scope(Sources());
    cDataRecord::Write(writer);
    writer.WriteInt32(kStageEndMark);
}

void cStageData::Normalize()
{
    // Negative limits stay: a stage narrower than the view relies on them.
    LimitTo(m_nScrollLeft, std::int64_t{m_nWidth} - 20);
    LimitTo(m_nScrollRight, std::int64_t{m_nWidth} - 1);
    LimitTo(m_nScrollTop, std::int64_t{m_nHeight} - 15);
    LimitTo(m_nScrollBottom, std::int64_t{m_nHeight} - 1);
    SetSpeedLevel(m_nSpeedLevel);
    if (static_cast<DWORD>(m_nBgm) >= g_Database.m_Bgms.size()) m_nBgm = 0;

    const TEMPLATESOURCES sources = Sources();
    NormalizePaletteLists(m_PaletteBlocks, m_PaletteCharas, m_PaletteItems, sources);
    CheckTemplateLists(m_Blocks, m_Charas, m_Items, sources);
}

void cStageData::SetSpeedLevel(int level)
{
    m_nSpeedLevel = level;
    const bool fixedLimit = level >= 11 && level <= 19;
    const int steps = SubStepsOfLevel(level);
    m_nSubSteps = steps;
    m_dSubSteps = steps;
    m_nSubSteps6 = WrapMul(6, steps);
    m_dSubStepsSquared = m_dSubSteps * m_dSubSteps;
    m_dSpeedLimit = fixedLimit ? 60.0 : 6.0 * m_dSubSteps;
    m_nSubSteps8 = WrapMul(8, steps);
    m_dSpeedLimitPerStep = m_dSpeedLimit / m_dSubSteps;
    m_dGravityPerStep = m_dGravity / m_dSubStepsSquared;
}

int cStageData::SubStepsOfLevel(int level)
{
    return (level >= 11 && level <= 19) ? level - 10 : std::max(level, 1);
}

int cStageData::FindHero() const
{
    for (std::size_t i = 0; i < m_Charas.size(); ++i) {
        const cCharaData& chara = m_Charas[i];
        if (chara.m_nImageNumber != 0 && chara.m_nOperator == 0) return static_cast<int>(i);
    }
    return -1;
}
