#pragma once
// Sword types ("SwordType.dat"): two pictures and the frames of a swing.
#include <string>

#include "data/data_record.h"
#include "shell/safe_container.h"

// One frame of a swing, placed beside, behind, above or below the owner.
class cSwordFrameData : public cDataRecordOf<cSwordFrameData> {
public:
    void RegisterFields(DWORD version) override;

    int m_nOffsetX = 0;    // dots, times the sword's scale
    int m_nOffsetY = 0;
    int m_bFlipX = 1;      // subtract the offset while the owner faces direction 1
    int m_bFlipY = 0;
    int m_nPlacement = 0;  // 0 beside, 1 behind, 2 above, 3 below the owner
    int m_nSrcX = 0;       // the frame's rectangle in the sword picture, dots
    int m_nSrcY = 0;
    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_nDuration = 0;   // tenths of a second
};

class cSwordTypeData : public cDataRecordOf<cSwordTypeData> {
public:
    // The defaults of SetDefaults.
    cSwordTypeData();
    void RegisterFields(DWORD version) override;
    void Read(cDataReader& reader) override;

    // Fields cleared and exactly one frame: all 0 but flip-x 1 and duration 1.
    void SetDefaults();

    std::string m_strName;
    int m_nReserved = 0;
    std::string m_strFile;
    std::string m_strFile2;
    cSafeVector<cSwordFrameData> m_Frames;
};
