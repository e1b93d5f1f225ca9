#pragma once
// The small records of a stage file: the out-of-range rules of its objects, its background
// layers and its texts.
#include <string>

#include "data/data_record.h"
#include "shell/safe_container.h"

// When an object of one kind counts as out of range: a side that is on, and the object has
// left the 640x480 view on that side by more than the side's margin (in blocks of 32 dots).
class cOutOfRangeData : public cDataRecordOf<cOutOfRangeData> {
public:
    cOutOfRangeData() = default;
    cOutOfRangeData(int on, int leftMargin, int rightMargin, int topMargin, int bottomMargin);
    void RegisterFields(DWORD version) override;

    int m_bLeft = 0;
    int m_bRight = 0;
    int m_bTop = 0;
    int m_bBottom = 0;
    int m_nLeftMargin = 0;
    int m_nRightMargin = 0;
    int m_nTopMargin = 0;
    int m_nBottomMargin = 0;
};

// One background layer: a tiled picture, or a plain fill, behind or in front of the objects.
class cBackgroundData : public cDataRecordOf<cBackgroundData> {
public:
    void RegisterFields(DWORD version) override;

    int m_bShow = 1;
    int m_bFillOnly = 0;
    int m_nFillColor = 16;
    int m_nLayer = 0;            // 0 behind the objects, 1 in front
    // Without auto-scroll: the share of the scroll position the picture moves by; with it:
    // the auto-scroll speed in dots per frame.
    double m_dFactorX = 0.1;
    double m_dFactorY = 0.1;
    int m_bAutoScrollX = 0;
    int m_bAutoScrollY = 0;
    std::string m_strPicture;
    double m_dOffsetX = 0;       // current auto-scroll offsets
    double m_dOffsetY = 0;
};

// One text of a stage.
class cStageTextData : public cDataRecordOf<cStageTextData> {
public:
    void RegisterFields(DWORD version) override;

    std::string m_strText;
};

// A 4-byte count, then that many bodies; the list is emptied and rebuilt from defaults.
void ReadBackgroundList(cSafeVector<cBackgroundData>& list, cDataReader& reader);
void ReadTextList(cSafeVector<cStageTextData>& list, cDataReader& reader);
