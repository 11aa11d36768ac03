#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QStringList>

class OperatorInteraction;

// UserDatabase.bin: the username list, each name as a 16-bit byte count and
// that many bytes of UTF-16 text.

void readUserDatabase(QIODevice &device, QStringList &names);
// Names are cut to 999 characters: a reader stops at a count of 2000 bytes or
// more, which would lose every name after it.
QByteArray serializeUserDatabase(const QStringList &names);

void loadUserDatabase(const QString &dataFolder, QStringList &names);
bool saveUserDatabase(const QString &dataFolder, const QStringList &names, OperatorInteraction &interaction);
