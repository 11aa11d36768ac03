#include "crossthreadinteraction.h"

CrossThreadInteraction::CrossThreadInteraction(OperatorInteraction &target, QObject *home)
    : m_target(target), m_home(home)
{
}

void CrossThreadInteraction::showMessage(const QString &text, MessageIcon icon)
{
    callOnThreadOf(m_home, [&] { m_target.showMessage(text, icon); });
}

Answer CrossThreadInteraction::askYesNo(const QString &text, MessageIcon icon)
{
    Answer answer = Answer::No;
    callOnThreadOf(m_home, [&] { answer = m_target.askYesNo(text, icon); });
    return answer;
}

Answer CrossThreadInteraction::askYesNoCancel(const QString &text, MessageIcon icon)
{
    Answer answer = Answer::Cancel;
    callOnThreadOf(m_home, [&] { answer = m_target.askYesNoCancel(text, icon); });
    return answer;
}

bool CrossThreadInteraction::showSuppressibleNotice(const QString &text, const QString &title,
                                                    MessageIcon icon)
{
    bool ticked = false;
    callOnThreadOf(m_home, [&] { ticked = m_target.showSuppressibleNotice(text, title, icon); });
    return ticked;
}

void CrossThreadInteraction::beginWait()
{
    callOnThreadOf(m_home, [&] { m_target.beginWait(); });
}

void CrossThreadInteraction::endWait()
{
    callOnThreadOf(m_home, [&] { m_target.endWait(); });
}

CrossThreadPrompt::CrossThreadPrompt(UserDataPrompt &target, QObject *home) : m_target(target), m_home(home)
{
}

bool CrossThreadPrompt::askUserData(VoucherRecord &record)
{
    bool confirmed = false;
    callOnThreadOf(m_home, [&] { confirmed = m_target.askUserData(record); });
    return confirmed;
}
