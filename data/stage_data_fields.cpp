#include "data/stage_data.h"

namespace {

// A placed object: a 4-byte word (written 0, ignored when read), then its template body.
template <class T>
void ReadPlaced(const DATATAIL& entry, cDataReader& reader)
{
    auto& list = record_tail_types::Member<cSafeVector<T>>(entry);
    int count = 0;
    if (!reader.ReadCount(count, 4 + kMinRecordBodyBytes, "placed object count")) return;
    if (!ChargeRecords<T>(reader, static_cast<std::size_t>(count))) return;
    list.clear();
    list.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count && !reader.Failed(); ++i) {
        if (g_bStageReadStop.load(std::memory_order_relaxed)) {
            reader.Fail("the stage load was stopped");
            return;
        }
        std::int32_t ignored = 0;
        reader.ReadInt32(ignored);
        list.emplace_back();
        list.back().Read(reader);
    }
}

template <class T>
void WritePlaced(const DATATAIL& entry, cDataWriter& writer)
{
    auto& list = record_tail_types::Member<cSafeVector<T>>(entry);
    writer.WriteInt32(static_cast<std::int32_t>(list.size()));
    for (T& element : list) {
        writer.WriteInt32(0);
        element.Write(writer);
    }
}

template <class T>
constexpr DATATAILTYPE kPlacedList = {DATAELEMENT_RECORD, DATASHAPE_COUNTED, 0, DATAVALUE_SIGNED,
                                      record_tail_types::ListCount<cSafeVector<T>>, record_tail_types::ListRecord<T>,
                                      ReadPlaced<T>, WritePlaced<T>, nullptr, record_tail_types::RecordListHeap<T>};

}  // namespace

// The stage record in file order: the scalar settings, each from the version that brought it
// in, the text, then the tail.
void cStageData::RegisterFields(DWORD version)
{
    ClearTables();
    AddField4(&m_nWidth, 1, "nWidth");
    AddField4(&m_nReserved1, 1, "nReserved1");
    AddField4(&m_nReserved2, 1, "nReserved2");
    AddField4(&m_nHeight, 1, "nHeight");
    AddField4(&m_bScrollLeft, 1, "bScrollLeft");
    AddField4(&m_bScrollRight, 1, "bScrollRight");
    AddField4(&m_bScrollTop, 1, "bScrollTop");
    AddField4(&m_bScrollBottom, 1, "bScrollBottom");
    AddField4(&m_nScrollLeft, 1, "nScrollLeft");
    AddField4(&m_nScrollRight, 1, "nScrollRight");
    AddField4(&m_nScrollTop, 1, "nScrollTop");
    AddField4(&m_nScrollBottom, 1, "nScrollBottom");
    AddField4(&m_nFrameRate, 1, "nFrameRate");
    AddField4(&m_bTimeLimit, 1, "bTimeLimit");
    AddField4(&m_nTimeLimit, 1, "nTimeLimit");
    AddField4(&m_nTimeWarning, 1, "nTimeWarning");
    AddField4(&m_bAutoScrollX, 1, "bAutoScrollX");
    AddField4(&m_bAutoScrollY, 1, "bAutoScrollY");
    AddField4(&m_nAutoScrollSpeedX, 1, "nAutoScrollSpeedX");
    AddField4(&m_nAutoScrollSpeedY, 1, "nAutoScrollSpeedY");
    AddField8(&m_dGravity, 1, "dGravity");
    AddField4(&m_nSpeedLevel, 1, "nSpeedLevel");
    AddField4(&m_nContactLevel, 1, "nContactLevel");
    AddField4(&m_nBgm, 1, "nBgm");
    if (version >= 166) AddField4(&m_bBgmLoop, 1, "bBgmLoop");
    if (version >= 199) AddField4(&m_bBgmKeep, 1, "bBgmKeep");
    AddField4(&m_bLayered, 1, "bLayered");
    AddField4(&m_bTakeOverStatus, 1, "bTakeOverStatus");
    AddField4(&m_bCarryStatus, 1, "bCarryStatus");
    if (version >= 183) AddField4(&m_bPlaySwitch, 1, "bPlaySwitch");
    if (version >= 184) AddField4(&m_bClearAutoAdvance, 1, "bClearAutoAdvance");
    AddField4(&m_bStartSign, 1, "bStartSign");
    if (version >= 225) AddField4(&m_bStartSignSmall, 1, "bStartSignSmall");
    AddField4(&m_bClearSign, 1, "bClearSign");
    AddField4(&m_bGameOverSign, 1, "bGameOverSign");
    if (version >= 200) {
        AddField4(&m_nHeroBodyW, 1, "nHeroBodyW");
        AddField4(&m_nHeroBodyH, 1, "nHeroBodyH");
        AddField4(&m_nHeroBodyFlyW, 1, "nHeroBodyFlyW");
        AddField4(&m_nHeroBodyFlyH, 1, "nHeroBodyFlyH");
    }
    AddField4(&m_nHeroBox2W, 1, "nHeroBox2W");
    AddField4(&m_nHeroBox2H, 1, "nHeroBox2H");
    if (version >= 155) {
        AddField4(&m_nHeroBox2FlyW, 1, "nHeroBox2FlyW");
        AddField4(&m_nHeroBox2FlyH, 1, "nHeroBox2FlyH");
    }
    AddField4(&m_nHeroBox3W, 1, "nHeroBox3W");
    AddField4(&m_nHeroBox3H, 1, "nHeroBox3H");
    AddField4(&m_nHeroBox4W, 1, "nHeroBox4W");
    AddField4(&m_nHeroBox4H, 1, "nHeroBox4H");
    if (version >= 200) {
        AddField4(&m_nHeroBodyAlign, 1, "nHeroBodyAlign");
        AddField4(&m_nHeroBodyFlyAlign, 1, "nHeroBodyFlyAlign");
    }
    if (version >= 155) {
        AddField4(&m_nHeroBox2Align, 1, "nHeroBox2Align");
        AddField4(&m_nHeroBox2FlyAlign, 1, "nHeroBox2FlyAlign");
    }
    if (version >= 200) AddField4(&m_nHeroBodyShow, 1, "nHeroBodyShow");
    AddField4(&m_nHeroBox2Show, 1, "nHeroBox2Show");
    AddField4(&m_nHeroBox3Show, 1, "nHeroBox3Show");
    AddField4(&m_nHeroBox4Show, 1, "nHeroBox4Show");
    if (version >= 200) AddField4(&m_nHeroBodyColor, 1, "nHeroBodyColor");
    AddField4(&m_nHeroBox2Color, 1, "nHeroBox2Color");
    AddField4(&m_nHeroBox3Color, 1, "nHeroBox3Color");
    AddField4(&m_nHeroBox4Color, 1, "nHeroBox4Color");
    if (version >= 200) {
        AddField4(&m_nCharaBodyW, 1, "nCharaBodyW");
        AddField4(&m_nCharaBodyH, 1, "nCharaBodyH");
        AddField4(&m_nCharaBodyFlyW, 1, "nCharaBodyFlyW");
        AddField4(&m_nCharaBodyFlyH, 1, "nCharaBodyFlyH");
    }
    AddField4(&m_nCharaBox2W, 1, "nCharaBox2W");
    AddField4(&m_nCharaBox2H, 1, "nCharaBox2H");
    if (version >= 155) {
        AddField4(&m_nCharaBox2FlyW, 1, "nCharaBox2FlyW");
        AddField4(&m_nCharaBox2FlyH, 1, "nCharaBox2FlyH");
    }
    AddField4(&m_nCharaBox3W, 1, "nCharaBox3W");
    AddField4(&m_nCharaBox3H, 1, "nCharaBox3H");
    if (version >= 200) {
        AddField4(&m_nCharaBodyAlign, 1, "nCharaBodyAlign");
        AddField4(&m_nCharaBodyFlyAlign, 1, "nCharaBodyFlyAlign");
    }
    if (version >= 155) {
        AddField4(&m_nCharaBox2Align, 1, "nCharaBox2Align");
        AddField4(&m_nCharaBox2FlyAlign, 1, "nCharaBox2FlyAlign");
    }
    AddField4(&m_nItemBoxW, 1, "nItemBoxW");
    AddField4(&m_nItemBoxH, 1, "nItemBoxH");
    AddField4(&m_nShotBox1W, 1, "nShotBox1W");
    AddField4(&m_nShotBox1H, 1, "nShotBox1H");
    AddField4(&m_nShotBox2W, 1, "nShotBox2W");
    AddField4(&m_nShotBox2H, 1, "nShotBox2H");
    AddField4(&m_nShotBox3W, 1, "nShotBox3W");
    AddField4(&m_nShotBox3H, 1, "nShotBox3H");
    AddField4(&m_nShotBox4W, 1, "nShotBox4W");
    AddField4(&m_nShotBox4H, 1, "nShotBox4H");
    AddField4(&m_nReserved3, 1, "nReserved3");
    AddField4(&m_nScrollAxisX, 1, "nScrollAxisX");
    AddField4(&m_nScrollAxisY, 1, "nScrollAxisY");
    AddField4(&m_nSubSteps, 1, "nSubSteps");
    AddField8(&m_dSubSteps, 1, "dSubSteps");
    AddField8(&m_dSubStepsSquared, 1, "dSubStepsSquared");
    AddField8(&m_dSpeedLimit, 1, "dSpeedLimit");
    AddField8(&m_dGravityPerStep, 1, "dGravityPerStep");
    AddField8(&m_dSpeedLimitPerStep, 1, "dSpeedLimitPerStep");
    AddField4(&m_nSubSteps8, 1, "nSubSteps8");
    AddField4(&m_bOnScreenOnly, 1, "bOnScreenOnly");
    AddField4(&m_nHeroImmunity, 1, "nHeroImmunity");
    AddField4(&m_nHeroInvincible, 1, "nHeroInvincible");
    AddField4(&m_nCharaImmunity, 1, "nCharaImmunity");
    AddField4(&m_nCharaInvincible, 1, "nCharaInvincible");
    AddString(&m_strText, "strText");

    AddValueList(&m_ResultFlags, "ResultFlags");
    AddRecord(m_OutOfRange, 5, "OutOfRange");
    AddTail(&m_PaletteBlocks, 0, &record_tail_types::kTemplateList<cBlockData>, "PaletteBlocks");
    AddTail(&m_PaletteCharas, 0, &record_tail_types::kTemplateList<cCharaData>, "PaletteCharas");
    AddTail(&m_PaletteItems, 0, &record_tail_types::kTemplateList<cItemData>, "PaletteItems");
    AddTail(&m_Blocks, 0, &kPlacedList<cBlockData>, "Blocks");
    AddTail(&m_Charas, 0, &kPlacedList<cCharaData>, "Charas");
    AddTail(&m_Items, 0, &kPlacedList<cItemData>, "Items");
    AddRecordList(&m_Backgrounds, "Backgrounds");
    AddRecordList(&m_Texts, "Texts");
}
