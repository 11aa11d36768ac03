#include "fuzzcheck.h"

#include <QTemporaryDir>
#include <QtEndian>
#include <cstdio>
#include <cstdlib>

void require(bool holds, const char *property)
{
    if (holds)
        return;
    std::fprintf(stderr, "property broken: %s\n", property);
    std::abort();
}

QString textFromInput(QByteArrayView data, qsizetype length)
{
    const qsizetype units = data.size() / 2;
    if (units == 0)
        return {};
    QString text(length, Qt::Uninitialized);
    for (qsizetype i = 0; i < length; ++i)
        text[i] = QChar(qFromLittleEndian<quint16>(data.data() + 2 * (i % units)));
    return text;
}

QString cutTextKeepingPairs(const QString &text, qsizetype maxUnits)
{
    QString cut = text.left(maxUnits);
    if (cut.size() < text.size() && !cut.isEmpty() && cut.back().isHighSurrogate())
        cut.chop(1);
    return cut;
}

QString beforeNul(const QString &text)
{
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text : text.first(nul);
}

QString asStoredInField(const QString &text, qsizetype fieldUnits)
{
    return beforeNul(cutTextKeepingPairs(text, fieldUnits - 1));
}

qsizetype cutPoint(QByteArrayView data)
{
    if (data.isEmpty())
        return 0;
    // The last byte picks the fraction of the input that is kept.
    return data.size() * uchar(data.back()) / 256;
}

qint64 numberFromInput(const QByteArray &data, qsizetype offset)
{
    QByteArray bytes = data.mid(offset, 8);
    bytes.append(8 - bytes.size(), '\0');
    return qFromLittleEndian<qint64>(bytes.constData());
}

QString runPath(const QString &name)
{
    static QTemporaryDir folder;
    require(folder.isValid(), "a temporary folder for the run");
    return folder.filePath(name);
}
