#include "clock.h"

#include <QDateTime>
#include <QElapsedTimer>

Clock::~Clock() = default;

qint64 Clock::now() const
{
    return QDateTime::currentSecsSinceEpoch();
}

quint64 Clock::tickCount() const
{
    QElapsedTimer timer;
    timer.start();
    return quint64(timer.msecsSinceReference());
}
