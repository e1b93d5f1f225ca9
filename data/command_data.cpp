#include "data/command_data.h"

#include "data/command_info.h"
#include "data/database.h"
#include "data/flow_data.h"

namespace {

// A part's deep copy: an empty source empties the destination, otherwise the destination gets
// a new part with the defaults that the source is assigned to.
template <class T>
void CopyPart(std::shared_ptr<T>& destination, const std::shared_ptr<T>& source)
{
    if (!source) {
        destination.reset();
        return;
    }
    T::Create(destination);
    *destination = *source;
}

// Whether an index into a list of count entries is out of range; negative ones are, as in an
// unsigned compare.
bool OutOfRange(int index, std::size_t count)
{
    return static_cast<unsigned>(index) >= count;
}

}  // namespace

cCommandData::cCommandData() = default;

cCommandData::cCommandData(const cCommandData& other) : cDataRecordOf<cCommandData>(other)
{
    *this = other;
}

cCommandData& cCommandData::operator=(const cCommandData& other)
{
    if (this == &other) return *this;
    cDataRecord::operator=(other);
    m_bItemAction = other.m_bItemAction;
    m_nKind = other.m_nKind;
    m_Params = other.m_Params;
    m_strCode = other.m_strCode;
    CopyPart(m_pMove, other.m_pMove);
    CopyPart(m_pShot, other.m_pShot);
    m_nTime = other.m_nTime;
    m_nTimePerFactor = other.m_nTimePerFactor;
    m_bParallel = other.m_bParallel;
    m_nSound = other.m_nSound;
    m_bSoundOnScreenOnly = other.m_bSoundOnScreenOnly;
    m_nAnime = other.m_nAnime;
    m_Flows = other.m_Flows;
    return *this;
}

cCommandData::~cCommandData() = default;

void cCommandData::RegisterFields(DWORD)
{
    ClearTables();
    AddField1(&m_bItemAction, 1, "bItemAction");
    AddField1(&m_nKind, 1, "nKind");
    AddField2(&m_nTime, 1, "nTime");
    AddField2(&m_nTimePerFactor, 1, "nTimePerFactor");
    AddField1(&m_bParallel, 1, "bParallel");
    AddField2(&m_nSound, 1, "nSound");
    AddField1(&m_bSoundOnScreenOnly, 1, "bSoundOnScreenOnly");
    AddField2(&m_nAnime, 1, "nAnime");
    AddString(&m_strCode, "strCode");
    AddOptionalRecord(&m_pMove, "pMove");
    AddOptionalRecord(&m_pShot, "pShot");
    AddRecordList(&m_Flows, "Flows");
    AddValueList(&m_Params, "Params");
}

void cCommandData::Clear()
{
    cDataRecord::Clear();
    m_pMove.reset();
    m_pShot.reset();
    m_bSoundOnScreenOnly = 1;
}

void cCommandData::Read(cDataReader& reader)
{
    cDataRecord::Read(reader);
    if (reader.Failed()) return;
    const std::size_t paramsHeld = m_Params.capacity();
    if (reader.Version() < kDataVersion) Upgrade(reader.Version());
    if (!KeepTestPlayFlows()) RemoveTestPlayFlows(m_Flows);
    Validate();
    // The fix-ups and the checks size the parameters to the kind's count.
    ChargeGrowth(reader, m_Params, paramsHeld);
}

void cCommandData::Write(cDataWriter& writer)
{
    Validate();
    cDataRecord::Write(writer);
}

void cCommandData::Validate()
{
    if (OutOfRange(m_nAnime, g_Database.Count(DATABASE_ANIME))) m_nAnime = 0;
    if (OutOfRange(m_nSound, g_Database.Count(DATABASE_SOUND))) m_nSound = 0;

    // A kind outside its table is kept as read, parameters and all; it is never run.
    if (const COMMANDINFO* info = FindCommandInfo(m_bItemAction, m_nKind)) {
        m_Params.resize(static_cast<std::size_t>(info->count), 0);
        // The first real entry where a reference is out of range, or "none" when the
        // database has no real entry.
        auto firstEntry = [](int file) { return g_Database.Count(file) >= 2 ? 1 : 0; };
        auto checkFirstParam = [this](int file, int replacement) {
            if (OutOfRange(m_Params[0], g_Database.Count(file))) m_Params[0] = replacement;
        };
        switch (CommandKindOf(m_bItemAction, m_nKind)) {
        case COMMAND_SWORD:
            if (!m_bItemAction && m_pShot) {
                if (OutOfRange(m_pShot->m_nTrajectory, g_Database.Count(DATABASE_SWORDTYPE))) m_pShot->m_nTrajectory = 0;
                if (!g_Database.m_SwordTypes.empty()) {
                    // 16-bit sum of the frame durations, held at 9999 once it gets there.
                    std::int16_t time = 0;
                    for (const cSwordFrameData& frame : g_Database.m_SwordTypes.At(m_pShot->m_nTrajectory).m_Frames) {
                        time = static_cast<std::int16_t>(time + frame.m_nDuration);
                        if (time >= 9999) time = 9999;
                    }
                    m_nTime = time;
                }
            }
            break;
        case COMMAND_CHANGE_ANIMESET: checkFirstParam(DATABASE_ANIMESET, 0); break;
        case COMMAND_ANIME: checkFirstParam(DATABASE_ANIME, firstEntry(DATABASE_ANIME)); break;
        case COMMAND_EFFECT: checkFirstParam(DATABASE_EFFECT, firstEntry(DATABASE_EFFECT)); break;
        case COMMAND_CHARA_EFFECT: checkFirstParam(DATABASE_CHARAEFFECT, firstEntry(DATABASE_CHARAEFFECT)); break;
        case COMMAND_SCREEN_EFFECT: checkFirstParam(DATABASE_SCREFFECT, firstEntry(DATABASE_SCREFFECT)); break;
        case COMMAND_PICTURE: checkFirstParam(DATABASE_PICTURE, firstEntry(DATABASE_PICTURE)); break;
        case COMMAND_SOUND: checkFirstParam(DATABASE_SOUND, firstEntry(DATABASE_SOUND)); break;
        case COMMAND_BGM: checkFirstParam(DATABASE_BGM, firstEntry(DATABASE_BGM)); break;
        default: break;
        }
    }
    for (cFlowData& flow : m_Flows) flow.Validate();
}

void cCommandData::CheckTemplateRefs(const PALETTECOUNTS& common, const PALETTECOUNTS& stage)
{
    if (!m_bItemAction && m_pShot) {
        cEdShot& shot = *m_pShot;
        if (m_nKind == COMMAND_SHOT || m_nKind == COMMAND_SWORD) {
            if ((shot.m_nItemSource == 1 && OutOfRange(shot.m_nItemIndex, common.items)) ||
                (shot.m_nItemSource == 2 && OutOfRange(shot.m_nItemIndex, stage.items))) {
                shot.m_nItemSource = 0;
                shot.m_nItemIndex = 0;
            }
        }
        std::size_t PALETTECOUNTS::*summoned = nullptr;
        if (m_nKind == COMMAND_BLOCK_SUMMON) summoned = &PALETTECOUNTS::blocks;
        if (m_nKind == COMMAND_CHARA_SUMMON) summoned = &PALETTECOUNTS::charas;
        if (m_nKind == COMMAND_ITEM_SUMMON) summoned = &PALETTECOUNTS::items;
        if (summoned && (shot.m_nSummonPalette == 0 || shot.m_nSummonPalette == 1)) {
            const PALETTECOUNTS& palette = shot.m_nSummonPalette == 0 ? common : stage;
            if (OutOfRange(shot.m_nSummonIndex, palette.*summoned)) shot.m_nSummonIndex = 1;
        }
    }
    if (CommandKindOf(m_bItemAction, m_nKind) == COMMAND_GET_ITEM && m_Params.size() >= 2 &&
        (m_Params[0] == 0 || m_Params[0] == 1)) {
        const PALETTECOUNTS& palette = m_Params[0] == 0 ? common : stage;
        if (OutOfRange(m_Params[1], palette.items)) m_Params[1] = 1;
    }
    for (cFlowData& flow : m_Flows) flow.CheckTemplateRefs(common, stage);
}
