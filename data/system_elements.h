#pragma once
// The element records kept in the lists of the System record.
#include <string>

#include "data/data_record.h"
#include "shell/safe_container.h"

// One item of the status bar at the top of the stage screen.
class cStatusItemData : public cDataRecordOf<cStatusItemData> {
public:
    cStatusItemData();
    void RegisterFields(DWORD version) override;
    void Read(cDataReader& reader) override;

    int m_bShow = 0;
    int m_bIcon = 0;           // an icon from the status picture instead of the label
    std::string m_strLabel;
    int m_bGaugeNumber = 0;    // a gauge also prints its number
    int m_nDigits = 0;         // digits reserved for the number, 16 pixels each
    int m_nLowLevel = 0;       // warning level of a gauge
    int m_bLowPercent = 0;     // the warning level is a percentage of the maximum
};

// One item of a menu.
class cMenuItemData : public cDataRecordOf<cMenuItemData> {
public:
    cMenuItemData();
    void RegisterFields(DWORD version) override;

    int m_bEnabled = 1;
    std::string m_strLabel;
};

// Results and rankings of one play mode.
class cModeResultData : public cDataRecordOf<cModeResultData> {
public:
    cModeResultData();
    void RegisterFields(DWORD version) override;

    int m_bEnabled = 0;
    // One flag per result value, in the order of the five ranking kinds.
    cSafeVector<BYTE> m_ValueFlags;
};

// One System.ini key with its default.
class cBootOptionData : public cDataRecordOf<cBootOptionData> {
public:
    cBootOptionData();
    void RegisterFields(DWORD version) override;

    void SetInt(const char* key, int value);
    void SetString(const char* key, const char* text);

    int m_nKind = 0;           // 0 integer value, 1 string value
    std::string m_strKey;
    int m_nValue = 0;
    std::string m_strValue;
};
