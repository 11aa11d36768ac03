#pragma once

#include <QByteArray>
#include <QList>

// Sentences as bytes on the wire, written out by hand in the tests: words
// shorter than 128 bytes have a one-byte prefix.
inline QByteArray wire(const QList<QByteArray> &words)
{
    QByteArray bytes;
    for (const QByteArray &w : words) {
        Q_ASSERT(w.size() < 0x80);
        bytes += char(w.size());
        bytes += w;
    }
    return bytes + '\0';
}
