#include "play/stage_trace.h"

#include "objects/hero.h"
#include "play/game_manager.h"
#include "play/modal_loop.h"
#include "play/play_scene.h"
#include "play/trace_line.h"

// The fields of each concern, defined in the file named after it.
void TracePlayState(cTraceLine& line, const TRACEFRAME& frame);     // play_state_trace.cpp
void TraceHeroMotion(cTraceLine& line, const TRACEFRAME& frame);    // hero_trace.cpp
void TraceScroll(cTraceLine& line, const TRACEFRAME& frame);        // scroll_trace.cpp
void TraceHeroStatus(cTraceLine& line, const TRACEFRAME& frame);    // hero_trace.cpp
void TraceTimeLimit(cTraceLine& line, const TRACEFRAME& frame);     // time_limit_trace.cpp
void TraceScoreAndLives(cTraceLine& line, const TRACEFRAME& frame); // score_trace.cpp
void TraceObjectCounts(cTraceLine& line, const TRACEFRAME& frame);  // stage_objects_trace.cpp
void TraceShotCount(cTraceLine& line, const TRACEFRAME& frame);     // shots_trace.cpp
void TraceStageHash(cTraceLine& line, const TRACEFRAME& frame);     // stage_objects_trace.cpp

namespace {

void TraceFrameAndScene(cTraceLine& line, const TRACEFRAME& frame)
{
    line.Add("frame", frame.frame);
    line.Add("scene", g_GameManager.m_nScene);
}

void TraceSeed(cTraceLine& line, const TRACEFRAME&)
{
    line.AddHex("seed", GameThreadRandomState(), 8);
}

void TraceSounds(cTraceLine& line, const TRACEFRAME& frame)
{
    std::string list;
    for (int n : frame.sounds) list += (list.empty() ? "" : ",") + std::to_string(n);
    line.AddText("se", list.empty() ? "-" : list);
}

// A stage's music changes show where they were asked for, as on the front-end lines.
void TraceBgm(cTraceLine& line, const TRACEFRAME& frame)
{
    if (!frame.scene) return;
    std::string list;
    for (const auto& [screen, number] : frame.bgm)
        list += (list.empty() ? "" : ",") + std::to_string(screen) + ":" + std::to_string(number);
    line.AddText("bgm", list.empty() ? "-" : list);
}

// The fields of a line in their order, which the README's "Trace lines" describes; a concern
// that adds fields adds its writer here.
constexpr TRACEFIELDS kTraceFields[] = {
    TraceFrameAndScene,
    TracePlayState,
    TraceSeed,
    TraceHeroMotion,
    TraceScroll,
    TraceHeroStatus,
    TraceTimeLimit,
    TraceScoreAndLives,
    TraceObjectCounts,
    TraceShotCount,
    TraceSounds,
    TraceBgm,
    TraceStageHash,
};

}  // namespace

std::string StageTraceLine(int frame, const std::vector<int>& sounds, const std::vector<std::pair<int, int>>& bgm)
{
    const cPlayScene* scene = g_lpPlayScene.load();
    const bool staged = scene && !Player.empty();
    const TRACEFRAME traced{frame, sounds, bgm, staged ? scene : nullptr, staged ? &Player.At(0) : nullptr};
    cTraceLine line;
    for (TRACEFIELDS fields : kTraceFields) fields(line, traced);
    return line.Text();
}
