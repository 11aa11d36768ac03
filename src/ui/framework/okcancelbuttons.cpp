#include "okcancelbuttons.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

OkCancelButtons addOkCancelButtons(QDialog *dialog)
{
    auto *box = new QDialogButtonBox(dialog);
    OkCancelButtons buttons{
        box, box->addButton(QCoreApplication::translate("Dialog", "&Ok"), QDialogButtonBox::AcceptRole),
        box->addButton(QCoreApplication::translate("Dialog", "&Cancelar"), QDialogButtonBox::RejectRole)};
    buttons.ok->setDefault(true);
    QObject::connect(box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}
