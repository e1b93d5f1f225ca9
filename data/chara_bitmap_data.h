#pragma once
// Dedicated chara bitmaps ("Bmp_CharaExc.dat"): chara pictures outside the standard chara
// sheet, cut into square cells.
#include <string>

#include "data/data_record.h"

class cBmpCharaExcData : public cDataRecordOf<cBmpCharaExcData> {
public:
    void RegisterFields(DWORD version) override;
    void Read(cDataReader& reader) override;

    // The cell size in units of 32 dots as the picture is cut: the stored size when it is
    // 1 to 16, else 1, so that nothing divides by it or sizes by it outside the sheet.
    int UsableCellSize() const { return (m_nCellSize >= 1 && m_nCellSize <= 16) ? m_nCellSize : 1; }
    // The side of one cell in dots and the cells in one row of the picture.
    int CellDots() const { return m_bLargeCell ? 32 * UsableCellSize() : 32; }
    int CellsPerRow() const { return m_bLargeCell ? 16 / UsableCellSize() : 16; }

    std::string m_strName;
    int m_nReserved = 0;
    std::string m_strFile;
    int m_bLargeCell = 0;  // cells of 32 x cell size dots instead of 32 dots
    int m_nCellSize = 0;   // units of 32 dots, as stored
};
