#include "binaryfields.h"

#include <QStringDecoder>
#include <QtEndian>

quint32 getU32(const QByteArray &record, qsizetype offset)
{
    return qFromLittleEndian<quint32>(record.constData() + offset);
}

qint64 getI64(const QByteArray &record, qsizetype offset)
{
    return qFromLittleEndian<qint64>(record.constData() + offset);
}

void putU32(QByteArray &record, qsizetype offset, quint32 value)
{
    qToLittleEndian(value, record.data() + offset);
}

void putI64(QByteArray &record, qsizetype offset, qint64 value)
{
    qToLittleEndian(value, record.data() + offset);
}

QString getText(const QByteArray &record, qsizetype offset, qsizetype units)
{
    QString text;
    for (qsizetype i = 0; i < units; ++i) {
        char16_t unit = qFromLittleEndian<quint16>(record.constData() + offset + 2 * i);
        if (unit == 0)
            break;
        text += QChar(unit);
    }
    return text;
}

void putText(QByteArray &record, qsizetype offset, const QString &text, qsizetype units)
{
    qsizetype count = qMin(text.size(), units - 1);
    if (count > 0 && count < text.size() && text[count - 1].isHighSurrogate())
        --count;
    for (qsizetype i = 0; i < units; ++i)
        qToLittleEndian(quint16(i < count ? text[i].unicode() : 0), record.data() + offset + 2 * i);
}

QString getLegacyText(const QByteArray &record, qsizetype offset, qsizetype bytes)
{
    QByteArrayView field(record.constData() + offset, bytes);
    const qsizetype end = field.indexOf('\0');
    field = end < 0 ? field : field.first(end);
    QStringDecoder decoder("windows-1252");
    // Without ICU, Latin-1 still reads every letter Portuguese uses.
    return decoder.isValid() ? decoder.decode(field) : QString::fromLatin1(field);
}
