#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// PosHistory.bin's bytes, made and read here without the program's codec.

// One 216-byte sale record (size 216, kind 2) with a title of at most 99 units.
QByteArray saleRecordBytes(qint32 count, const QString &title, qint32 unitPrice);
// The counts of the file's records (at byte 8 of each 216).
QList<int> saleCountsOf(const QByteArray &posHistory);
