// The play scene's state and its counts of set-ups, sub-steps and play frames.
#include "play/play_scene.h"
#include "play/trace_line.h"

void TracePlayState(cTraceLine& line, const TRACEFRAME& frame)
{
    if (!frame.scene) {
        line.AddText("state", "-");
        return;
    }
    line.Add("state", frame.scene->m_nState);
    line.Add("setups", frame.scene->m_nSetUpCount);
    line.Add("substeps", frame.scene->m_nSubStepTotal);
    line.Add("pframe", frame.scene->m_nFrame);
}
