#pragma once

#include "base/operatorinteraction.h"

#include <optional>

// The operator interaction of the command-line front end: messages go to
// standard error exactly as the windows show them. Questions are answered by
// --yes/--no; without them they are asked on the terminal when standard input is
// one, and otherwise answered No (Yes/No) or Cancel (Yes/No/Cancel).
class TerminalInteraction : public OperatorInteraction
{
public:
    explicit TerminalInteraction(std::optional<Answer> presetAnswer);

    void showMessage(const QString &text, MessageIcon icon) override;
    Answer askYesNo(const QString &text, MessageIcon icon) override;
    Answer askYesNoCancel(const QString &text, MessageIcon icon) override;
    bool showSuppressibleNotice(const QString &text, const QString &title, MessageIcon icon) override;
    void beginWait() override {}
    void endWait() override {}

private:
    Answer ask(const QString &text, bool withCancel);

    std::optional<Answer> m_presetAnswer;
    bool m_interactive;
};
