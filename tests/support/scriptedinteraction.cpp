#include "scriptedinteraction.h"

void ScriptedInteraction::answer(std::initializer_list<Answer> answers)
{
    script.append(QList<Answer>(answers));
}

QStringList ScriptedInteraction::texts() const
{
    QStringList out;
    for (const Event &e : events)
        out.append(e.text);
    return out;
}

void ScriptedInteraction::showMessage(const QString &text, MessageIcon icon)
{
    events.append({Kind::Message, text, icon, {}, Answer::Yes});
}

Answer ScriptedInteraction::askYesNo(const QString &text, MessageIcon icon)
{
    Answer a = next(Answer::No);
    if (a == Answer::Cancel)
        a = Answer::No;
    events.append({Kind::YesNo, text, icon, {}, a});
    return a;
}

Answer ScriptedInteraction::askYesNoCancel(const QString &text, MessageIcon icon)
{
    const Answer a = next(Answer::Cancel);
    events.append({Kind::YesNoCancel, text, icon, {}, a});
    return a;
}

bool ScriptedInteraction::showSuppressibleNotice(const QString &text, const QString &title, MessageIcon icon)
{
    events.append({Kind::Notice, text, icon, title, Answer::Yes});
    return m_tickNotices;
}

void ScriptedInteraction::beginWait()
{
    ++waitDepth;
    ++waitsBegun;
    waitThreads.append(QThread::currentThread());
}

void ScriptedInteraction::endWait()
{
    --waitDepth;
    waitThreads.append(QThread::currentThread());
}

Answer ScriptedInteraction::next(Answer fallback)
{
    if (script.isEmpty()) {
        ++unscripted;
        return fallback;
    }
    return script.takeFirst();
}
