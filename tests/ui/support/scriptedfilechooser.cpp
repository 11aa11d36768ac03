#include "scriptedfilechooser.h"

QString ScriptedFileChooser::chooseOpenFile(QWidget *, const QString &title, const QString &filter,
                                            const QString &defaultSuffix)
{
    requests.append({false, title, filter, defaultSuffix});
    return answers.isEmpty() ? QString() : answers.takeFirst();
}

QString ScriptedFileChooser::chooseSaveFile(QWidget *, const QString &title, const QString &filter,
                                            const QString &defaultSuffix)
{
    requests.append({true, title, filter, defaultSuffix});
    return answers.isEmpty() ? QString() : answers.takeFirst();
}
