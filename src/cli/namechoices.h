#pragma once

#include <QString>
#include <QStringList>
#include <variant>

// The names a user could have meant, for a message about a name that matched
// nothing: "; routers: 'Sim', 'Outro'" ("; routers: none" for an empty list).
QString nameChoices(const QString &what, const QStringList &names);

// How the messages of a list's add, set and remove name its entries.
struct ListWords
{
    QString entry;   // "a router named ...", "a profile named ..."
    QString missing; // "no router is named ...", "no hotspot profile is named ..."
    QString plural;  // the list of names it could have meant
    QString command; // the command that edits the list
};

// The place of the entry named `name` that the action works on (add: none may
// exist, -1; set and remove: its index), or the one line telling why the
// action cannot go on.
std::variant<qsizetype, QString> entryForAction(const QString &action, const QString &name,
                                                const QStringList &names, const ListWords &words);
