// The seconds left of the stage's time limit.
#include "play/play_scene.h"
#include "play/trace_line.h"

void TraceTimeLimit(cTraceLine& line, const TRACEFRAME& frame)
{
    if (!frame.scene) return;
    line.Add("time", frame.scene->m_TimeLimit.m_nTimeLeft);
}
