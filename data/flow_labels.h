#pragma once
// The vocabulary of the flow records: the names of the values of their enumerated fields and
// of several command parameters. The value of a field is the index of its label; every table
// ends with one extra empty label. Nothing reads them at run time: they name the stored values.
#include <string>
#include <vector>

// Tables of the flow records.
extern const char* const g_ConditionKindLabels[9];        // cConditionData m_nKind 0..7
extern const char* const g_ConditionRuleLabels[3];        // cFlowData m_nConditionRule
extern const char* const g_DistanceReferenceLabels[3];    // m_nHolder of the distance condition
extern const char* const g_DistanceAreaLabels[8];         // m_nArea
extern const char* const g_DistanceSideLabels[3];         // m_nOperator of the distance condition
extern const char* const g_CharaTestHolderLabels[3];      // m_nHolder of status condition 3
extern const char* const g_HolderLabels[4];               // m_nHolder of status conditions 1, 2; m_nOperandHolder
extern const char* const g_HeroHolderLabels[3];           // a two-value holder choice
extern const char* const g_HeroSystemHolderLabels[4];     // a three-value holder choice
extern const char* const g_TestedValueLabels[3];          // m_nValueSource
extern const char* const g_OperandSourceLabels[5];        // m_nOperandSource
extern const char* const g_VariableScopeLabels[3];        // m_nVariableScope, m_nOperandScope
extern const char* const g_CharaTestLabels[5];            // m_nItem of status condition 3
extern const char* const g_KeyRuleLabels[4];              // cKeyConditionData m_nKeyRule
extern const char* const g_KeyStateLabels[4];             // the entries of m_Keys
extern const char* const g_GroupLabels[28];               // cFlowData m_nGroup 0..26: "-", "A".."Z"
extern const char* const g_SmallLetterLabels[28];         // "-", "a".."z"
extern const char* const g_TriggerLabels[21];             // FLOWTRIGGER, cFlowData m_nTrigger

// Tables of command parameters.
extern const char* const g_FlowOperationLabels[7];        // FLOWOPERATION
extern const char* const g_FlowOperationTargetLabels[4];
extern const char* const g_CalculationModeLabels[4];
extern const char* const g_ClearDestinationLabels[4];
extern const char* const g_NextFacingLabels[4];
extern const char* const g_MessagePositionLabels[10];
extern const char* const g_MessageDurationLabels[4];
extern const char* const g_TargetChoiceLabels[5];
extern const char* const g_SearchRangeLabels[4];
extern const char* const g_PaletteChoiceLabels[3];        // 0 common palette, 1 stage palette
extern const char* const g_CommonPaletteOnlyLabels[2];
extern const char* const g_PicturePositionLabels[6];
extern const char* const g_PictureDurationLabels[4];
extern const char* const g_AnimeRunModeLabels[4];
extern const char* const g_VisibilityLabels[4];
extern const char* const g_OneOptionLabels[2];            // the options of the flag "消滅"

// A chara status or system value with the ranges a value and an operand take.
struct STATUSDESC {
    const char* label;
    int valueMin;
    int valueMax;
    int operandMin;
    int operandMax;
    int reserved;          // 0 in every row
    int bSwitch1;
    int bSwitch2;
};
extern const STATUSDESC g_CharaStatusDescs[16];           // status numbers 0..14, then an empty row
extern const STATUSDESC g_SystemValueDescs[6];            // the holder "システム": 0..4, then an empty row

// A chara flag that status condition 2 tests, with the names of its values.
struct FLAGDESC {
    std::string label;
    int minimum = 0;
    int maximum = 0;
    int defaultValue = 0;
    std::vector<std::string> options;   // copied from a label table, without its closing label
};
extern const std::vector<FLAGDESC> g_CharaFlagDescs;      // flags 0..6
extern const std::vector<FLAGDESC> g_EmptyFlagDescs;      // two empty entries

// The labels of a table before its closing empty label.
std::vector<std::string> LabelsBeforeEnd(const char* const* table);
