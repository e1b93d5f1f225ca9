#pragma once
// The base of the block, chara and item templates. What every template stores: the inheritance
// header (source, index and one flag per property group), the name, the appearance conditions,
// the picture and the grid position of a placed template; the head and tail of their field
// tables; and their reading, writing and inheriting. A stored member names its property group
// where it is registered, so inheriting a group copies exactly the members registered with it.
//
// T, the template class, gives: kGroups; kConditionGroup (the group of the conditions); kList
// and kCount (its list in TEMPLATELISTS and its count in PALETTECOUNTS); RegisterFields;
// ValidateBody(), its own checks; and, where its files had older layouts,
// Upgrade(version), the fix-ups after a read.
#include <cstdint>
#include <string>

#include "data/condition_data.h"
#include "data/data_record.h"
#include "data/template_common.h"
#include "data/template_sources.h"
#include "platform/os/windows_types.h"
#include "shell/safe_container.h"

template <class T>
class cTemplateData : public cDataRecordOf<T> {
public:
    // The body, position, flags, conditions and the class's own lists; the upgrades of older
    // files; then Inherit and Validate against the sources of the read.
    void Read(cDataReader& reader) override
    {
        cDataRecord::Read(reader);
        if (reader.Failed()) return;
        const std::size_t flagsHeld = m_InheritFlags.capacity();
        Self().Upgrade(reader.Version());
        // Older layouts get flags for the groups added since.
        if (!ChargeGrowth(reader, m_InheritFlags, flagsHeld)) return;
        if (reader.Version() < kShotImageShiftVersion) ShiftShotImage(m_nImageKind, m_nImageNumber);
        const TEMPLATESOURCES sources = CurrentTemplateSources();
        Self().Inherit(sources);
        Validate(sources);
    }
    // Validate, then the body and the tail.
    void Write(cDataWriter& writer) override
    {
        Validate();
        cDataRecord::Write(writer);
    }

    void Validate() { Validate(CurrentTemplateSources()); }
    // The inheritance reference inside its list, then the class's own checks.
    void Validate(const TEMPLATESOURCES& sources)
    {
        CheckInheritReference(*this, CountsOf(sources.common).*T::kCount, CountsOf(sources.stage).*T::kCount);
        Self().ValidateBody();
    }
    void Inherit(const TEMPLATESOURCES& sources) { InheritGroups(Self(), sources, T::kList, T::kGroups); }
    // Copies property group `group` (0 to kGroups - 1) of another template.
    void CopyGroup(int group, const T& from) { cDataRecord::CopyGroup(group, from); }
    BYTE InheritFlag(int group) const { return InheritFlagAt(m_InheritFlags, group); }

    std::int16_t m_nColumn = 0;          // grid position of a placed template (0 in palettes)
    std::int16_t m_nRow = 0;
    BYTE m_nInheritSource = 0;           // TEMPLATESOURCE
    std::int16_t m_nInheritIndex = 0;    // 0: no inheritance
    cSafeVector<BYTE> m_InheritFlags;    // one per group, as many as the file gives
    std::string m_strName;
    cSafeVector<cConditionData> m_Conditions;
    BYTE m_nConditionMode = 0;
    BYTE m_bCheckOnce = 0;
    std::int16_t m_nImageNumber = 0;
    BYTE m_nImageKind = 0;
    std::int16_t m_nImageFrame = 0;

protected:
    // No fix-ups: the class's files never had another layout.
    void Upgrade(DWORD) {}

    // The template references of every element of list (flows, actions) inside the two
    // palettes.
    template <class L>
    static void CheckListReferences(L& list, const TEMPLATESOURCES& sources)
    {
        const PALETTECOUNTS common = CountsOf(sources.common);
        const PALETTECOUNTS stage = CountsOf(sources.stage);
        for (auto& element : list) element.CheckTemplateRefs(common, stage);
    }

    // Fields and name cleared, the flags one 0 per group. The position and the lists are kept.
    void ResetTemplate()
    {
        this->Clear();
        ResetInheritFlags(m_InheritFlags, T::kGroups);
    }

    // The head of the field table: the inheritance reference, the name (group 0) and the
    // condition settings.
    void RegisterHead()
    {
        this->ClearTables();
        this->AddField1(&m_nInheritSource, 1, "nInheritSource");
        this->AddField2(&m_nInheritIndex, 1, "nInheritIndex");
        this->AddString(&m_strName, "strName", 0);
        this->AddField1(&m_nConditionMode, 1, "nConditionMode", T::kConditionGroup);
        this->AddField1(&m_bCheckOnce, 1, "bCheckOnce", T::kConditionGroup);
    }
    // The picture: number, kind and frame.
    void RegisterImage(int group)
    {
        this->AddField2(&m_nImageNumber, 1, "nImageNumber", group);
        this->AddField1(&m_nImageKind, 1, "nImageKind", group);
        this->AddField2(&m_nImageFrame, 1, "nImageFrame", group);
    }
    // The tail's start: the grid position.
    void RegisterPosition()
    {
        this->AddTailValues(&m_nColumn, 1, "nColumn");
        this->AddTailValues(&m_nRow, 1, "nRow");
    }
    // Then the inheritance flags and the conditions.
    void RegisterInheritance()
    {
        this->AddValueList(&m_InheritFlags, "InheritFlags");
        this->AddRecordList(&m_Conditions, "Conditions", T::kConditionGroup);
    }

private:
    T& Self() { return static_cast<T&>(*this); }
};
