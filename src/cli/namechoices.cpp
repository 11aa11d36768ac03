#include "namechoices.h"

using namespace Qt::StringLiterals;

QString nameChoices(const QString &what, const QStringList &names)
{
    if (names.isEmpty())
        return u"; %1: none"_s.arg(what);
    QStringList quoted;
    for (const QString &name : names)
        quoted.append(u"'%1'"_s.arg(name));
    return u"; %1: %2"_s.arg(what, quoted.join(u", "_s));
}
