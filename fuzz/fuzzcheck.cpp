#include "fuzzcheck.h"

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

qsizetype cutPoint(QByteArrayView data)
{
    if (data.isEmpty())
        return 0;
    // The last byte picks the fraction of the input that is kept.
    return data.size() * uchar(data.back()) / 256;
}
