#pragma once

#include <QtGlobal>

// Where the program reads the time: stamps, backup suffixes and the random seed
// all come from here, so tests can fix them.
class Clock
{
public:
    virtual ~Clock();

    // Seconds since 1970 (UTC).
    virtual qint64 now() const;
    // Milliseconds of a monotonic counter, like the platform's tick count.
    virtual quint64 tickCount() const;
};
