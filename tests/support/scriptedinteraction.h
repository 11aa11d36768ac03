#pragma once

#include "base/operatorinteraction.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QThread>

// Records everything the core tells or asks the operator and answers questions
// from a script, in order. A question without a scripted answer is answered
// No (Yes/No) or Cancel (Yes/No/Cancel) and counted in `unscripted`.
class ScriptedInteraction : public OperatorInteraction
{
public:
    enum class Kind
    {
        Message,
        YesNo,
        YesNoCancel,
        Notice
    };

    struct Event
    {
        Kind kind;
        QString text;
        MessageIcon icon;
        QString title;                              // notices only
        Answer answer;                              // questions only
        QThread *thread = QThread::currentThread(); // where it was shown
    };

    // Answers for the next questions, in order.
    void answer(std::initializer_list<Answer> answers);
    // Whether the operator ticks "do not show again" on the notices shown.
    void setTickNotices(bool tick) { m_tickNotices = tick; }

    QList<Event> events;
    QList<Answer> script;
    int unscripted = 0;
    int waitDepth = 0;            // current nesting of the wait cursor
    int waitsBegun = 0;           // how often the wait cursor was shown
    QList<QThread *> waitThreads; // where the wait cursor was shown and hidden

    QStringList texts() const;

    void showMessage(const QString &text, MessageIcon icon) override;
    Answer askYesNo(const QString &text, MessageIcon icon) override;
    Answer askYesNoCancel(const QString &text, MessageIcon icon) override;
    bool showSuppressibleNotice(const QString &text, const QString &title, MessageIcon icon) override;
    void beginWait() override;
    void endWait() override;

private:
    Answer next(Answer fallback);

    bool m_tickNotices = false;
};
