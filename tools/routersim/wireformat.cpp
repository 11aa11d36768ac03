#include "wireformat.h"

#include <optional>

namespace routersim {

namespace {

enum class LengthResult
{
    Read,
    NeedMore,
    Malformed
};

// Reads the length at `pos` and moves `pos` past its prefix.
LengthResult readLength(const QByteArray &bytes, qsizetype &pos, qint64 &length)
{
    if (pos >= bytes.size())
        return LengthResult::NeedMore;
    const quint8 first = quint8(bytes[pos]);
    int more = 0;
    if (first < 0x80) {
        length = first;
    } else if (first < 0xC0) {
        length = first & 0x7F;
        more = 1;
    } else if (first < 0xE0) {
        length = first & 0x3F;
        more = 2;
    } else if (first < 0xF0) {
        length = first & 0x1F;
        more = 3;
    } else if (first == 0xF0) {
        length = 0;
        more = 4;
    } else {
        return LengthResult::Malformed; // control bytes, never a length
    }
    if (pos + 1 + more > bytes.size())
        return LengthResult::NeedMore;
    for (int i = 1; i <= more; ++i)
        length = (length << 8) | quint8(bytes[pos + i]);
    pos += 1 + more;
    return LengthResult::Read;
}

} // namespace

QByteArray encodeLength(qint64 length)
{
    int size = 5;
    quint8 form = 0xF0;
    if (length < 0x80) {
        size = 1;
        form = 0x00;
    } else if (length < 0x4000) {
        size = 2;
        form = 0x80;
    } else if (length < 0x200000) {
        size = 3;
        form = 0xC0;
    } else if (length < 0x10000000) {
        size = 4;
        form = 0xE0;
    }
    QByteArray prefix(size, '\0');
    // The 5-byte form keeps the whole length in the four bytes after 0xF0.
    const int lengthBytes = size == 5 ? 4 : size;
    for (int i = 0; i < lengthBytes; ++i)
        prefix[size - 1 - i] = char((length >> (8 * i)) & 0xFF);
    prefix[0] = char(quint8(prefix[0]) | form);
    return prefix;
}

QByteArray encodeSentence(const Sentence &sentence)
{
    QByteArray bytes;
    for (const QByteArray &word : sentence)
        bytes += encodeLength(word.size()) + word;
    bytes += '\0';
    return bytes;
}

TakeResult takeSentence(QByteArray &received, Sentence &sentence)
{
    Sentence words;
    qsizetype pos = 0;
    for (;;) {
        qint64 length = 0;
        switch (readLength(received, pos, length)) {
        case LengthResult::NeedMore:
            return TakeResult::NeedMore;
        case LengthResult::Malformed:
            return TakeResult::Malformed;
        case LengthResult::Read:
            break;
        }
        if (length == 0)
            break;
        if (length > MaxReceivedWord)
            return TakeResult::Malformed;
        if (pos + length > received.size())
            return TakeResult::NeedMore;
        words.append(received.mid(pos, length));
        pos += length;
    }
    received.remove(0, pos);
    sentence = words;
    return TakeResult::Taken;
}

} // namespace routersim
