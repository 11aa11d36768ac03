#include "salesbytes.h"

#include <QtEndian>

QByteArray saleRecordBytes(qint32 count, const QString &title, qint32 unitPrice)
{
    QByteArray record(216, '\0');
    qToLittleEndian<quint32>(216, record.data());
    qToLittleEndian<quint32>(2, record.data() + 4);
    qToLittleEndian<qint32>(count, record.data() + 8);
    for (qsizetype i = 0; i < title.size() && i < 99; ++i)
        qToLittleEndian<quint16>(title[i].unicode(), record.data() + 12 + 2 * i);
    qToLittleEndian<qint32>(unitPrice, record.data() + 212);
    return record;
}

QList<int> saleCountsOf(const QByteArray &posHistory)
{
    QList<int> counts;
    for (qsizetype at = 0; at + 216 <= posHistory.size(); at += 216)
        counts << qFromLittleEndian<qint32>(posHistory.constData() + at + 8);
    return counts;
}
