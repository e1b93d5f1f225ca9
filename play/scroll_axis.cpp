#include "play/scroll_axis.h"

#include "data/stage_geometry.h"
#include "shell/game_arithmetic.h"

int BitLength(int value)
{
    int bits = 0;
    for (unsigned int v = (value > 0) ? static_cast<unsigned int>(value) : 0u; v != 0; v >>= 1) ++bits;
    return bits;
}

void cScrollAxis::SetUp(int axis, int blocks, int extentValue)
{
    m_nAxis = axis;
    m_nScreenSize = (axis == 0) ? 640 : 480;
    m_nMargin = kMarginBlocks;
    m_nSize = WrapAdd(blocks, kBothMarginBlocks);
    m_nExtent = WrapAdd(extentValue, 640);
    if (axis == 0) {
        m_nShift = BitLength(WrapAdd(blocks, kBothMarginBlocks - 1));
        m_nPitch = (m_nShift < 31) ? (1 << m_nShift) : 0;
    } else {
        m_nShift = 0;
        m_nPitch = m_nSize;
    }
    m_nBaseMin = kMarginBlocks * kCell;
    m_nBaseMax = WrapMul(WrapAdd(blocks, kMarginBlocks), kCell);
    if (m_nBaseMax < 0) m_nBaseMax = 0;
    m_nMin = m_nBaseMin;
    m_nMax = m_nBaseMax;
}

void cScrollAxis::Clamp()
{
    if (m_dPos < m_nMin) {
        m_dPos = m_nMin;
        m_bClamped = 1;
        return;
    }
    if (m_dPos + m_nScreenSize < m_nMax) {
        m_bClamped = 0;
        return;
    }
    m_dPos = WrapSub(m_nMax, m_nScreenSize);
    if (m_dPos < m_nMin) m_dPos = m_nMin;
    m_bClamped = 1;
}

void cScrollAxis::Advance()
{
    m_dPos += m_dSpeed;
    Clamp();
}

void cScrollAxis::SetAutoScroll(int on, int speed, double steps)
{
    if (on == 0) {
        m_dSpeed = 0.0;
        m_bAuto = 0;
        return;
    }
    m_dSpeed = speed * 0.1 / steps;
    m_bAuto = 1;
}

void cScrollAxis::SetLimit(int from, int to, int useFrom, int useTo)
{
    m_nMin = useFrom ? WrapAdd(m_nBaseMin, WrapMul(from, kCell)) : m_nBaseMin;
    if (useTo) {
        m_nMax = WrapAdd(m_nBaseMin, WrapMul(WrapAdd(to, 1), kCell));
        if (m_nMax < m_nMin) m_nMax = m_nMin;
    } else {
        m_nMax = m_nBaseMax;
    }
}

double cScrollAxis::CarrySpeed() const
{
    return (m_dSpeed != 0.0 && m_bClamped == 0) ? m_dSpeed : 0.0;
}
