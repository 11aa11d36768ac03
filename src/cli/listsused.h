#pragma once

#include "session/appstate.h"

#include <QList>
#include <QString>

// The list files of the data folder whose contents a command works with, so
// that it tells the operator of those that are damaged (and of no others). The
// commands that edit a list read it again themselves and say so there.
QList<ListFile> listsUsedBy(const QString &command);
