#pragma once

#include "ui/framework/filechooser.h"

#include <QStringList>

// Answers the file dialogs from a script, in order, and records what was asked.
// A dialog without a scripted answer is cancelled.
class ScriptedFileChooser : public FileChooser
{
public:
    struct Request
    {
        bool save;
        QString title;
        QString filter;
        QString defaultSuffix;
    };

    QStringList answers; // taken from the front
    QList<Request> requests;

    QString chooseOpenFile(QWidget *parent, const QString &title, const QString &filter,
                           const QString &defaultSuffix) override;
    QString chooseSaveFile(QWidget *parent, const QString &title, const QString &filter,
                           const QString &defaultSuffix) override;
};
