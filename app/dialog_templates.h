#pragma once
// The program's dialog templates (name entry 102, drawing mode 103) as tables, registered
// with the dialog toolkit on first use.
#include "platform/os/windows_types.h"

constexpr WORD IDD_NAMEENTRY = 102;
constexpr WORD IDD_DRAWINGMODE = 103;

void RegisterProgramDialogs();
