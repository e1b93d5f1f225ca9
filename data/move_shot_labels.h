#pragma once
// The vocabulary of the movement and shot parts of flow commands: the names of the values of
// their settings (index = stored value). Every table ends with one extra empty label; nothing
// reads them at run time.
extern const char* const g_MoveModeLabels[3];             // cEdMove m_nMode
extern const char* const g_WarpModeLabels[4];             // cEdMove m_nMode of the warp command
extern const char* const g_DirectionLabels[14];           // cEdMove m_nDirection, cEdShot m_nDirection
extern const char* const g_CoordinateLabels[5];           // cEdMove m_nCoordinates
extern const char* const g_CoordinateNoPlacementLabels[4];
extern const char* const g_CircleRotationLabels[5];
extern const char* const g_FacingChangeLabels[7];         // the parameter of the turn command
extern const char* const g_TimeModeLabels[4];             // cEdMove m_nTimeMode
extern const char* const g_CircleTimeModeLabels[3];       // m_nTimeMode of the circle move
extern const char* const g_JumpHeightLabels[4];           // a parameter of the jump command
extern const char* const g_DistanceUnitLabels[3];         // cEdMove m_nDistanceUnit
extern const char* const g_FormationLabels[7];            // cEdShot m_nFormation
extern const char* const g_ShotTargetLabels[4];
extern const char* const g_TrajectoryLabels[11];          // cEdShot m_nTrajectory
extern const char* const g_BlockSummonModeLabels[4];      // cEdShot m_nBlockSummonMode
extern const char* const g_SummonPaletteLabels[3];        // cEdShot m_nSummonPalette
extern const char* const g_SummonCommonOnlyLabels[2];
extern const char* const g_ForceRuleLabels[4];            // cEdShot m_nForceRule

// The direction code of an input direction, for the choice "入力方向": history 1..8 (left,
// right, up, down, up-left, down-left, up-right, down-right) gives the codes of "左".."右下";
// 0 (no direction) gives "右" when facing right, else "左".
int DirectionFromChoice(int history, int bFacingRight);
