#pragma once

#include <QByteArray>
#include <QString>

// The reversible scrambling under which program user names and passwords (and
// the legacy router credentials) are stored in the settings key. It hides them
// from a casual look, nothing more.

// 0xFF, then one chained 16-bit word per character; at most 199 characters.
QByteArray scramble(const QString &text);
// Reads the current form (odd size, 0xFF mark) and the older even-sized form;
// at most 200 characters. Anything else gives an empty text.
QString unscramble(const QByteArray &bytes);
