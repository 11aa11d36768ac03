#pragma once

// What the application asks of a main window an operator works in (the
// generator and the counter window), whatever its kind.
class WorkingWindow
{
public:
    virtual ~WorkingWindow() = default;

    // Back from the tray or the taskbar, in front and active.
    virtual void restore() = 0;
    // The program is asked to end (the desktop ends the session): a run stops
    // after its voucher, the operator's choices are kept, then the window asks
    // for the end itself.
    virtual void endProgram() = 0;
    // The window is on its way out (its choices are kept).
    virtual bool isLeaving() const = 0;
};
