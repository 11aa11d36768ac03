#include "messageboxinteraction.h"

#include <QApplication>
#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

QMessageBox::Icon boxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

} // namespace

MessageBoxInteraction::MessageBoxInteraction(QWidget *parent) : m_parent(parent) {}

void MessageBoxInteraction::run(QMessageBox &box)
{
    // A question asked during long work must not show the hourglass over its
    // buttons: the normal cursor while the box is open, the wait cursor after.
    const bool waiting = QApplication::overrideCursor() != nullptr;
    if (waiting)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    box.exec();
    if (waiting)
        QApplication::restoreOverrideCursor();
}

void MessageBoxInteraction::showMessage(const QString &text, MessageIcon icon)
{
    QMessageBox box(boxIcon(icon), u"wifiTicketer"_s, text, QMessageBox::Ok, m_parent);
    run(box);
}

Answer MessageBoxInteraction::askYesNo(const QString &text, MessageIcon icon)
{
    return ask(text, icon, false);
}

Answer MessageBoxInteraction::askYesNoCancel(const QString &text, MessageIcon icon)
{
    return ask(text, icon, true);
}

Answer MessageBoxInteraction::ask(const QString &text, MessageIcon icon, bool withCancel)
{
    QMessageBox box(boxIcon(icon), u"wifiTicketer"_s, text, QMessageBox::NoButton, m_parent);
    QPushButton *yes = box.addButton(tr("&Sim"), QMessageBox::YesRole);
    QPushButton *no = box.addButton(tr("&Não"), QMessageBox::NoRole);
    QPushButton *cancel = withCancel ? box.addButton(tr("Cancelar"), QMessageBox::RejectRole) : nullptr;
    box.setDefaultButton(yes);
    // Escape (and closing the box) answers No, or Cancel where there is one.
    box.setEscapeButton(withCancel ? cancel : no);
    run(box);
    if (box.clickedButton() == yes)
        return Answer::Yes;
    if (box.clickedButton() == no || !withCancel)
        return Answer::No;
    return Answer::Cancel;
}

bool MessageBoxInteraction::showSuppressibleNotice(const QString &text, const QString &title,
                                                   MessageIcon icon)
{
    QMessageBox box(boxIcon(icon), title.isEmpty() ? u"wifiTicketer"_s : title, text, QMessageBox::Ok,
                    m_parent);
    auto *dontShow = new QCheckBox(tr("Não mostrar esta mensagem novamente"), &box);
    box.setCheckBox(dontShow);
    run(box);
    return dontShow->isChecked();
}

void MessageBoxInteraction::beginWait()
{
    // Qt keeps a stack of override cursors, so nested waits undo in order.
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void MessageBoxInteraction::endWait()
{
    QApplication::restoreOverrideCursor();
}
