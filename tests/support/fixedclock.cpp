#include "fixedclock.h"

FixedClock::FixedClock(qint64 now, quint64 tickCount) : m_now(now), m_tickCount(tickCount) {}

void FixedClock::set(qint64 now, quint64 tickCount)
{
    m_now = now;
    m_tickCount = tickCount;
}

void FixedClock::advance(qint64 seconds)
{
    m_now += seconds;
    m_tickCount += quint64(seconds) * 1000;
}
