#include "terminalinteraction.h"

#include <QTextStream>
#include <cstdio>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

void writeError(const QString &text)
{
    QTextStream err(stderr);
    err << text << '\n';
    err.flush();
}

} // namespace

TerminalInteraction::TerminalInteraction(std::optional<Answer> presetAnswer)
    : m_presetAnswer(presetAnswer), m_interactive(isatty(STDIN_FILENO) == 1)
{
}

void TerminalInteraction::showMessage(const QString &text, MessageIcon)
{
    writeError(text);
}

Answer TerminalInteraction::askYesNo(const QString &text, MessageIcon)
{
    return ask(text, false);
}

Answer TerminalInteraction::askYesNoCancel(const QString &text, MessageIcon)
{
    return ask(text, true);
}

bool TerminalInteraction::showSuppressibleNotice(const QString &text, const QString &, MessageIcon)
{
    // There is no check box to tick on a terminal.
    writeError(text);
    return false;
}

Answer TerminalInteraction::ask(const QString &text, bool withCancel)
{
    writeError(text);
    if (m_presetAnswer)
        return withCancel || *m_presetAnswer != Answer::Cancel ? *m_presetAnswer : Answer::No;
    const Answer fallback = withCancel ? Answer::Cancel : Answer::No;
    if (!m_interactive)
        return fallback;

    QTextStream in(stdin);
    for (;;) {
        QTextStream err(stderr);
        err << (withCancel ? u"[s]im, [n]ão ou [c]ancelar? "_s : u"[s]im ou [n]ão? "_s);
        err.flush();
        QString reply;
        if (!in.readLineInto(&reply))
            return fallback;
        reply = reply.trimmed().toLower();
        if (reply == u"s" || reply == u"sim" || reply == u"y" || reply == u"yes")
            return Answer::Yes;
        if (reply == u"n" || reply == u"não" || reply == u"nao" || reply == u"no")
            return Answer::No;
        if (withCancel && (reply == u"c" || reply == u"cancelar" || reply == u"cancel"))
            return Answer::Cancel;
    }
}
