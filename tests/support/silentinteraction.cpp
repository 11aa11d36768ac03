#include "silentinteraction.h"

#include <QTextStream>

SilentInteraction::SilentInteraction(Messages messages) : m_messages(messages) {}

void SilentInteraction::showMessage(const QString &text, MessageIcon)
{
    if (m_messages == Messages::ToStandardError)
        QTextStream(stderr) << text << '\n';
}

Answer SilentInteraction::askYesNo(const QString &, MessageIcon)
{
    return Answer::No;
}

Answer SilentInteraction::askYesNoCancel(const QString &, MessageIcon)
{
    return Answer::Cancel;
}

bool SilentInteraction::showSuppressibleNotice(const QString &, const QString &, MessageIcon)
{
    return false;
}

void SilentInteraction::beginWait() {}

void SilentInteraction::endWait() {}
