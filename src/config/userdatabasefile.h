#pragma once

#include "base/listfile.h"

#include <QByteArray>
#include <QIODevice>
#include <QStringList>

class OperatorInteraction;

// UserDatabase.bin: the username list, each name as a 16-bit byte count and
// that many bytes of UTF-16 text.

// Appends every name of the stream. True when it read whole: every count
// below 2000 and even (a name is 16-bit units), every name complete, nothing
// after the last one. A name of an odd count is read without its last byte;
// reading stops at any other damage.
bool readUserDatabase(QIODevice &device, QStringList &names);
// Names are cut to 999 characters: a reader stops at a count of 2000 bytes or
// more, which would lose every name after it.
QByteArray serializeUserDatabase(const QStringList &names);

// Appends the names of the data folder's UserDatabase.bin, those before any
// damage included. A damaged file must be left alone.
ListFileState loadUserDatabase(const QString &dataFolder, QStringList &names);
bool saveUserDatabase(const QString &dataFolder, const QStringList &names, OperatorInteraction &interaction);
