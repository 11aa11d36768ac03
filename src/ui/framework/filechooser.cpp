#include "filechooser.h"

#include <QFileDialog>

FileChooser::~FileChooser() = default;

namespace {

QString runFileDialog(QWidget *parent, const QString &title, const QString &filter,
                      const QString &defaultSuffix, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent, title, QString(), filter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

} // namespace

QString DialogFileChooser::chooseOpenFile(QWidget *parent, const QString &title, const QString &filter,
                                          const QString &defaultSuffix)
{
    return runFileDialog(parent, title, filter, defaultSuffix, QFileDialog::AcceptOpen);
}

QString DialogFileChooser::chooseSaveFile(QWidget *parent, const QString &title, const QString &filter,
                                          const QString &defaultSuffix)
{
    return runFileDialog(parent, title, filter, defaultSuffix, QFileDialog::AcceptSave);
}
