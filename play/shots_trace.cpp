// The number of shots on the stage.
#include "play/play_scene.h"
#include "play/trace_line.h"

void TraceShotCount(cTraceLine& line, const TRACEFRAME& frame)
{
    if (!frame.scene) return;
    line.Add("shots", static_cast<long long>(frame.scene->m_ShotLists.m_Shots.size()));
}
