#pragma once

#include "base/clock.h"

// A clock that stands still until a test moves it.
class FixedClock : public Clock
{
public:
    explicit FixedClock(qint64 now = 1700000000, quint64 tickCount = 0);

    qint64 now() const override { return m_now; }
    quint64 tickCount() const override { return m_tickCount; }
    void set(qint64 now, quint64 tickCount = 0);
    void advance(qint64 seconds);

private:
    qint64 m_now;
    quint64 m_tickCount;
};
