#pragma once
// "user_data\Boot.dat": the drawing mode chosen in the start-up dialog and whether to ask again.
#include "data/data_record.h"

class cBootData : public cDataRecordOf<cBootData> {
public:
    void RegisterFields(DWORD version) override;

    int m_nDrawingMode = 1;   // 1 Direct3D, any other value DirectDraw
    int m_bDoNotAsk = 0;      // non-zero: start without the dialog
};

extern cBootData g_BootData;
