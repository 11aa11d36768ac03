#pragma once

#include <QString>

class QWidget;

// Asks the operator for a file to read or to write: the windows show the file
// dialog, tests answer from a script.
class FileChooser
{
public:
    virtual ~FileChooser();

    // `filter` as the file dialog takes it ("Arquivos Bitmap (*.bmp)");
    // `defaultSuffix` is added to a name typed without one. Empty when the
    // operator cancelled.
    virtual QString chooseOpenFile(QWidget *parent, const QString &title, const QString &filter,
                                   const QString &defaultSuffix) = 0;
    // The dialog has asked before an existing file is overwritten.
    virtual QString chooseSaveFile(QWidget *parent, const QString &title, const QString &filter,
                                   const QString &defaultSuffix) = 0;
};

class DialogFileChooser : public FileChooser
{
public:
    QString chooseOpenFile(QWidget *parent, const QString &title, const QString &filter,
                           const QString &defaultSuffix) override;
    QString chooseSaveFile(QWidget *parent, const QString &title, const QString &filter,
                           const QString &defaultSuffix) override;
};
