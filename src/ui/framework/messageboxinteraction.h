#pragma once

#include "base/operatorinteraction.h"

#include <QCoreApplication>
#include <QPointer>
#include <QWidget>

class QMessageBox;

// The windows' operator interaction: message boxes titled "wifiTicketer" over
// the parent window, Yes/No questions answered with "Sim" and "Não", the notice
// with its "do not show again" check box, and the wait cursor.
class MessageBoxInteraction : public OperatorInteraction
{
    Q_DECLARE_TR_FUNCTIONS(MessageBoxInteraction)

public:
    explicit MessageBoxInteraction(QWidget *parent = nullptr);

    void showMessage(const QString &text, MessageIcon icon) override;
    Answer askYesNo(const QString &text, MessageIcon icon) override;
    Answer askYesNoCancel(const QString &text, MessageIcon icon) override;
    bool showSuppressibleNotice(const QString &text, const QString &title, MessageIcon icon) override;
    void beginWait() override;
    void endWait() override;

private:
    Answer ask(const QString &text, MessageIcon icon, bool withCancel);
    void run(QMessageBox &box);

    QPointer<QWidget> m_parent;
};
