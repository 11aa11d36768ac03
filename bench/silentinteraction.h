#pragma once

#include "base/operatorinteraction.h"

#include <QTextStream>

// The operator of a benchmark: messages go to standard error, questions are
// answered No (or Cancel), notices are ticked away.
class SilentInteraction : public OperatorInteraction
{
public:
    void showMessage(const QString &text, MessageIcon) override { QTextStream(stderr) << text << '\n'; }
    Answer askYesNo(const QString &, MessageIcon) override { return Answer::No; }
    Answer askYesNoCancel(const QString &, MessageIcon) override { return Answer::Cancel; }
    bool showSuppressibleNotice(const QString &, const QString &, MessageIcon) override { return true; }
    void beginWait() override {}
    void endWait() override {}
};
