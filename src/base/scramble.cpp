#include "scramble.h"

#include <QtEndian>

namespace {

constexpr quint16 ChainSeed = 0x4B1D; // first "previous word"
constexpr quint16 Offset = 0x2D6F;
constexpr qsizetype MaxScrambledCharacters = 199;
constexpr qsizetype MaxUnscrambledCharacters = 200;

} // namespace

QByteArray scramble(const QString &text)
{
    qsizetype count = qMin(text.size(), MaxScrambledCharacters);
    // Never half of a surrogate pair.
    if (count > 0 && count < text.size() && text[count - 1].isHighSurrogate())
        --count;
    QByteArray out(1 + 2 * count, '\0');
    out[0] = char(0xFF);
    quint16 previous = ChainSeed;
    for (qsizetype k = 0; k < count; ++k) {
        quint16 d = quint16(text[k].unicode() + 2 * k + Offset);
        qToLittleEndian(quint16(d + previous), out.data() + 1 + 2 * k);
        previous = d;
    }
    return out;
}

QString unscramble(const QByteArray &bytes)
{
    const qsizetype n = bytes.size();
    const bool current = n % 2 == 1 && uchar(bytes[0]) == 0xFF;
    const bool older = n % 2 == 0 && n != 0;
    if (!current && !older)
        return {};
    const qsizetype start = current ? 1 : 0;
    const qsizetype count = qMin((n - start) / 2, MaxUnscrambledCharacters);
    QString text;
    text.reserve(count);
    quint16 previous = ChainSeed;
    for (qsizetype k = 0; k < count; ++k) {
        quint16 a = quint16(qFromLittleEndian<quint16>(bytes.constData() + start + 2 * k) - previous);
        previous = a;
        if (current)
            text += QChar(quint16(a - 2 * k - Offset));
        else
            text += QChar(quint16((quint16(a - Offset) >> 4) - 2 * k));
    }
    return text;
}
