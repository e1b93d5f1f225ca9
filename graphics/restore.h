#pragma once
// Recovery after a loss: the Direct3D device reset with every listed surface record made
// again (file pictures reloaded, empty ones cleared and marked lost for their owners to
// redraw), and the restore of lost DirectDraw surfaces.

// Direct3D, on the window thread: 1 when the device was reset (or in DirectDraw mode), 0 when
// it cannot be reset yet (a later request tries again).
int DDRestoreSurface();
// DirectDraw, every frame: acts only when the primary is lost; false when it cannot be restored.
bool DDRestore();

// The fonts' part of a recovery, registered at start-up (the fonts keep their own list):
// lost is called before the device reset (each font's OnLostDevice, with its log lines),
// restore after the surfaces came back (each font restores its glyph sheets).
using FontsLostDevice = void (*)();
using FontsRestore = void (*)();
void DDSetFontRestoreHooks(FontsLostDevice lost, FontsRestore restore);
