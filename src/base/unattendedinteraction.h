#pragma once

#include "operatorinteraction.h"

// Nobody at the counter: work done behind the operator's back (settling an
// interrupted run at login, drawing windows for review) shows nothing and
// takes every question as No or Cancel.
class UnattendedInteraction : public OperatorInteraction
{
public:
    void showMessage(const QString &, MessageIcon) override {}
    Answer askYesNo(const QString &, MessageIcon) override { return Answer::No; }
    Answer askYesNoCancel(const QString &, MessageIcon) override { return Answer::Cancel; }
    bool showSuppressibleNotice(const QString &, const QString &, MessageIcon) override { return false; }
    void beginWait() override {}
    void endWait() override {}
};
