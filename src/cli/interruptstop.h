#pragma once

class SessionFacade;

// While it lives, Ctrl+C (SIGINT) asks the session's generation run to stop
// after the voucher being made, so everything made is still recorded. A second
// Ctrl+C ends the program at once, as usual.
class StopOnInterrupt
{
public:
    explicit StopOnInterrupt(SessionFacade &session);
    ~StopOnInterrupt();
    StopOnInterrupt(const StopOnInterrupt &) = delete;
    StopOnInterrupt &operator=(const StopOnInterrupt &) = delete;

    // Whether Ctrl+C was pressed while it lived.
    static bool interrupted();
};
