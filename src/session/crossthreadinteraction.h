#pragma once

#include "base/operatorinteraction.h"
#include "generation/userdataprompt.h"

#include <QMetaObject>
#include <QObject>
#include <QThread>

// Runs `call` on the thread of `home` and waits for it: at once when already
// there, else through its event loop. Dialogs and the counter's state belong to
// the user-interface thread; a run on a worker thread reaches them this way.
// The home thread must not wait on the calling thread meanwhile.
template<typename Call>
void callOnThreadOf(QObject *home, Call &&call)
{
    if (!home || QThread::currentThread() == home->thread())
        call();
    else
        QMetaObject::invokeMethod(home, std::forward<Call>(call), Qt::BlockingQueuedConnection);
}

// The operator interaction of a run on a worker thread: every message,
// question and wait cursor is passed to the interaction of the home thread,
// and the run waits for the answer.
class CrossThreadInteraction : public OperatorInteraction
{
public:
    CrossThreadInteraction(OperatorInteraction &target, QObject *home);

    void showMessage(const QString &text, MessageIcon icon) override;
    Answer askYesNo(const QString &text, MessageIcon icon) override;
    Answer askYesNoCancel(const QString &text, MessageIcon icon) override;
    bool showSuppressibleNotice(const QString &text, const QString &title, MessageIcon icon) override;
    void beginWait() override;
    void endWait() override;

private:
    OperatorInteraction &m_target;
    QObject *m_home;
};

// The user-data prompt of a run on a worker thread, shown by the prompt of the
// home thread.
class CrossThreadPrompt : public UserDataPrompt
{
public:
    CrossThreadPrompt(UserDataPrompt &target, QObject *home);

    bool askUserData(VoucherRecord &record) override;

private:
    UserDataPrompt &m_target;
    QObject *m_home;
};
