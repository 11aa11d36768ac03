#pragma once

#include <QByteArray>
#include <QList>

namespace routersim {

// The simulator's own reading and writing of the RouterOS API framing: every
// word is preceded by its length, every sentence ends with an empty word.
// It shares nothing with the program's client, so a fault there is not
// mirrored here.

using Sentence = QList<QByteArray>;

// A sentence as it arrived on one connection (connections count from 1).
struct LoggedSentence
{
    int connection = 0;
    Sentence words;
};

// Longest word accepted from a client; a longer one ends the connection.
constexpr qint64 MaxReceivedWord = 64 * 1024 * 1024;

// The length prefix: 1 to 4 bytes, the top bits of the first byte giving the
// form; 0x10000000 and more take the 5-byte form (0xF0 and four bytes).
QByteArray encodeLength(qint64 length);
QByteArray encodeSentence(const Sentence &sentence);

enum class TakeResult
{
    Taken,
    NeedMore,
    Malformed
};

// Takes the first complete sentence off the front of the received bytes.
// NeedMore leaves the bytes as they are; Malformed (a reserved first byte
// 0xF8 to 0xFF, a word over MaxReceivedWord) means the stream cannot be read on.
TakeResult takeSentence(QByteArray &received, Sentence &sentence);

} // namespace routersim
