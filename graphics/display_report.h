#pragma once
// The graphics layer's values for the display report: mode and depth, the DirectDraw object's
// video memory and refresh rate, and what the Direct3D device tells of itself.
#include "shell/system_report.h"

// False while the graphics layer is not up. DDInit registers it with the shell.
bool DDFillDisplayReport(DISPLAYREPORT& report);
