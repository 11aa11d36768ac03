#pragma once

#include <QString>
#include <QStringList>

// The names a user could have meant, for a message about a name that matched
// nothing: "; routers: 'Sim', 'Outro'" ("; routers: none" for an empty list).
QString nameChoices(const QString &what, const QStringList &names);
