#pragma once
// "user_data\Option.dat": the player's options.
#include <string>

#include "data/data_record.h"

// The window colours (one blend table and palette row each) and the sound-effect volume steps.
constexpr int kWindowColors = 24;
constexpr int kVolumeLevels = 11;

class cOptionData : public cDataRecordOf<cOptionData> {
public:
    // Window colour 0, BGM on, volume 7, manual registration with the name entered, "aaa".
    cOptionData();
    void RegisterFields(DWORD version) override;
    // The base read; a volume or window colour that indexes nothing takes its default.
    void Read(cDataReader& reader) override;

    int m_nWindowColor = 0;   // 0 to 23
    int m_bBgm = 1;
    int m_nVolume = 7;        // 0 to 10
    int m_nRankingMode = 0;   // 0 to 3: manual or automatic, with the name entered or the registered one
    std::string m_strName;    // the registered ranking name, at most 3 characters
};

extern cOptionData g_OptionData;
