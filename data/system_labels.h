#pragma once
// The font face table that the System record's font setting indexes, and the display names
// of codes stored in data files. Each table ends with an empty string.
#include <cstddef>

extern const char* const g_FontFaceNames[123];
// Entry index of the face table, with the index kept inside the table.
const char* GetFontFaceName(int index);

extern const char* const g_CharaVarLabels[9];   // the eight chara variables
extern const char* const g_VarOpLabels[8];      // variable operations 0 to 6
extern const char* const g_CompareLabels[9];    // condition operators 0 to 7
extern const char* const g_IfLabels[3];         // a condition that holds / does not hold
extern const char* const g_DepthLabelsDD[4];    // m_nAutoDepthDD
extern const char* const g_DepthLabelsD3D[3];   // m_nAutoDepthD3D
extern const char* const g_PaletteLabels[3];    // m_bFullColor
