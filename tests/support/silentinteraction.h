#pragma once

#include "base/operatorinteraction.h"

// An operator who is not there: questions are answered No (Yes/No) or Cancel
// (Yes/No/Cancel), notices are left unticked and nothing is recorded. Messages
// are dropped, or written to standard error by a program that has no other
// way to tell what went wrong (a benchmark).
class SilentInteraction : public OperatorInteraction
{
public:
    enum class Messages
    {
        Dropped,
        ToStandardError
    };

    explicit SilentInteraction(Messages messages = Messages::Dropped);

    void showMessage(const QString &text, MessageIcon icon) override;
    Answer askYesNo(const QString &text, MessageIcon icon) override;
    Answer askYesNoCancel(const QString &text, MessageIcon icon) override;
    bool showSuppressibleNotice(const QString &text, const QString &title, MessageIcon icon) override;
    void beginWait() override;
    void endWait() override;

private:
    Messages m_messages;
};
