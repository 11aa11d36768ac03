#pragma once

#include <QByteArray>
#include <QString>

// Fields of the little-endian fixed-layout records of the data files, addressed
// by byte offset. Readers assume the record is long enough for the field.

quint32 getU32(const QByteArray &record, qsizetype offset);
qint64 getI64(const QByteArray &record, qsizetype offset);
void putU32(QByteArray &record, qsizetype offset, quint32 value);
void putI64(QByteArray &record, qsizetype offset, qint64 value);

// A text field of `units` UTF-16 code units: the text up to the first NUL.
QString getText(const QByteArray &record, qsizetype offset, qsizetype units);
// Stores at most units - 1 code units (never half of a surrogate pair), then
// NUL and zeros up to the end of the field.
void putText(QByteArray &record, qsizetype offset, const QString &text, qsizetype units);

// An 8-bit text field of older files, in the Windows code page of the
// installation's language (Windows-1252 for Portuguese).
QString getLegacyText(const QByteArray &record, qsizetype offset, qsizetype bytes);
