#pragma once

#include <QByteArray>
#include <QByteArrayList>

// Sentences of the RouterOS API as bytes, framed here without the program's
// codec or the simulator's wire format, so tests can check either against it.

// The length prefix as the API defines it (1 to 4 bytes).
QByteArray apiLength(qint64 length);
// One sentence as bytes: each word after its length, then the empty word.
QByteArray apiSentence(const QByteArrayList &words);
