// Player 1: the exact bits of its position and velocity, then its gauges, whether it is dead and
// its four contact flags.
#include "objects/hero.h"
#include "play/trace_line.h"

void TraceHeroMotion(cTraceLine& line, const TRACEFRAME& frame)
{
    if (!frame.hero) return;
    const cHero& hero = *frame.hero;
    line.AddBits("x", hero.m_dX);
    line.AddBits("y", hero.m_dY);
    line.AddBits("vx", hero.m_dVX);
    line.AddBits("vy", hero.m_dVY);
}

void TraceHeroStatus(cTraceLine& line, const TRACEFRAME& frame)
{
    if (!frame.hero) return;
    const cHero& hero = *frame.hero;
    line.Add("hp", hero.m_nHp);
    line.Add("sp", hero.m_nSp);
    line.Add("dead", hero.m_bDead);
    line.AddText("lrud", std::to_string(hero.m_bContactLeft) + std::to_string(hero.m_bContactRight) +
                             std::to_string(hero.m_bContactUp) + std::to_string(hero.m_bContactDown));
}
