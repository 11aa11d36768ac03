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

std::variant<qsizetype, QString> entryForAction(const QString &action, const QString &name,
                                                const QStringList &names, const ListWords &words)
{
    const qsizetype found = names.indexOf(name);
    if (action == u"add" && found >= 0)
        return u"%1 named '%2' exists already; change it with 'wifiticketer-cli %3 set %2'"_s.arg(
            words.entry, name, words.command);
    if (action != u"add" && found < 0)
        return u"no %1 is named '%2'"_s.arg(words.missing, name) + nameChoices(words.plural, names);
    return found;
}
