#include "apisentence.h"

QByteArray apiLength(qint64 length)
{
    const int size = length < 0x80 ? 1 : length < 0x4000 ? 2 : length < 0x200000 ? 3 : 4;
    const quint8 form = size == 1 ? 0x00 : size == 2 ? 0x80 : size == 3 ? 0xC0 : 0xE0;
    QByteArray prefix;
    for (int i = size - 1; i >= 0; --i)
        prefix.append(char((length >> (8 * i)) & 0xFF));
    prefix[0] = char(quint8(prefix[0]) | form);
    return prefix;
}

QByteArray apiSentence(const QByteArrayList &words)
{
    QByteArray bytes;
    for (const QByteArray &word : words)
        bytes += apiLength(word.size()) + word;
    return bytes + '\0';
}
