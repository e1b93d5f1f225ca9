#pragma once
// The start conditions of a flow: value conditions (cConditionData) and the steps of a
// key-input sequence (cKeyConditionData). Which fields a condition uses depends on its kind;
// the others keep their stored values.
#include <cstdint>

#include "data/data_record.h"
#include "platform/os/windows_types.h"
#include "shell/safe_container.h"

class cConditionData : public cDataRecordOf<cConditionData> {
public:
    void RegisterFields(DWORD version) override;
    // The body, then the upgrades of older files.
    void Read(cDataReader& reader) override;

    // 0 none (never holds), 1 common, 2 stage, 3 chara variable, 4 status, 5 status 2,
    // 6 status 3, 7 distance.
    std::int8_t m_nKind = 0;
    BYTE m_nValueSource = 0;        // kind 4: 0 a status, 1 a variable
    BYTE m_nVariableScope = 0;      // 0 common, 1 stage variable
    BYTE m_nHolder = 0;             // whose value: kinds 4, 5 self/target/system; 6 self/target; 7 hero/target
    BYTE m_nItem = 0;               // status index, status flag or chara test
    std::int16_t m_nVariable = 0;
    BYTE m_nOperandSource = 0;      // 0 constant, 1 random, 2 status, 3 variable
    std::int32_t m_nOperand = 0;    // the run time also stores the operand it computed here
    std::int32_t m_nRandomMin = 0;
    std::int32_t m_nRandomMax = 0;
    BYTE m_nOperandHolder = 0;
    BYTE m_nOperandItem = 0;
    BYTE m_nOperandScope = 0;
    std::int16_t m_nOperandVariable = 0;
    std::int8_t m_nOperator = 0;    // comparisons 0..7; kind 6 holds/not; kind 7 within/outside
    BYTE m_bPercent = 0;            // the operand is a percentage of the maximum
    BYTE m_nArea = 0;               // kind 7: the shape of the distance test, 0..6
};

// One step of a key-input sequence.
class cKeyConditionData : public cDataRecordOf<cKeyConditionData> {
public:
    static constexpr int kKeys = 19;   // 10 direction histories, then 9 button histories

    cKeyConditionData();
    void RegisterFields(DWORD version) override;
    // The fields, then the key list with the count the file gives (bounded by the bytes left;
    // written back as read).

    // Fields cleared and exactly kKeys keys of state 0.
    void Init();
    // The state of key i: 0 ignored, 1 held, 2 released; a key the list lacks is ignored.
    int KeyState(int i) const;

    cSafeVector<BYTE> m_Keys;
    BYTE m_bFacingRelative = 0;     // left and right are meant relative to the facing
    std::int16_t m_nMinFrames = 0;
    std::int16_t m_nMaxFrames = 0;
    BYTE m_bAnyDuration = 0;
    BYTE m_nKeyRule = 0;            // 0 every key, 1 at least one, 2 exactly one
};
