#pragma once
// "user_data\Window.dat": the main window's last position, client size and maximised state.
#include "data/data_record.h"

class cWindowData : public cDataRecordOf<cWindowData> {
public:
    void RegisterFields(DWORD version) override;
    // The base read, then position and size are kept within the desktop.
    void Read(cDataReader& reader) override;

    void Set(int x, int y, int width, int height, int maximized);

    int m_nX = 0;
    int m_nY = 0;
    int m_nWidth = 0;    // client size
    int m_nHeight = 0;
    int m_bMaximized = 0;
};

extern cWindowData g_WindowData;
