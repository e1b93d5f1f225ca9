// The stage score and the lives left, from the save data.
#include "data/save_data.h"
#include "play/trace_line.h"

void TraceScoreAndLives(cTraceLine& line, const TRACEFRAME& frame)
{
    if (!frame.scene) return;
    line.Add("score", g_SaveData.m_nScore);
    line.Add("lives", g_SaveData.m_nLives);
}
