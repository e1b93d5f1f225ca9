// The stage pixel at the screen's left and top edge, as the exact bits of the doubles.
#include "play/play_scene.h"
#include "play/trace_line.h"

void TraceScroll(cTraceLine& line, const TRACEFRAME& frame)
{
    if (!frame.scene) return;
    line.AddBits("scrx", frame.scene->m_ScrollX.m_dPos);
    line.AddBits("scry", frame.scene->m_ScrollY.m_dPos);
}
