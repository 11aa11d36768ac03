#include "apisentence.h"

#include <algorithm>

using namespace Qt::StringLiterals;

void addWord(ApiSentence &sentence, const QString &text)
{
    sentence.words.append(text.toUtf8());
}

void addWord(ApiSentence &sentence, const QByteArray &bytes)
{
    sentence.words.append(bytes);
}

void appendToLastWord(ApiSentence &sentence, const QString &text)
{
    appendToLastWord(sentence, text.toUtf8());
}

void appendToLastWord(ApiSentence &sentence, const QByteArray &bytes)
{
    Q_ASSERT(!sentence.words.isEmpty());
    if (sentence.words.isEmpty())
        sentence.words.append(QByteArray());
    sentence.words.last() += bytes;
}

void clear(ApiSentence &sentence)
{
    sentence.words.clear();
    sentence.kind = ReplyKind::Other;
}

void clear(ApiReply &reply)
{
    reply.sentences.clear();
}

namespace {

template<typename Iterator>
std::optional<QString> valueAfterKey(Iterator begin, Iterator end, const QByteArray &key)
{
    for (Iterator word = begin; word != end; ++word) {
        const qsizetype at = word->indexOf(key);
        if (at >= 0)
            return QString::fromUtf8(word->sliced(at + key.size()));
    }
    return std::nullopt;
}

} // namespace

std::optional<QString> attributeValue(const ApiSentence &sentence, const QString &key)
{
    return valueAfterKey(sentence.words.cbegin(), sentence.words.cend(), key.toUtf8());
}

std::optional<QString> lastAttributeValue(const ApiSentence &sentence, const QString &key)
{
    return valueAfterKey(sentence.words.crbegin(), sentence.words.crend(), key.toUtf8());
}

ReplyKind replyKindOf(const QByteArray &firstWord)
{
    if (firstWord == "!done")
        return ReplyKind::Done;
    if (firstWord == "!trap")
        return ReplyKind::Trap;
    if (firstWord == "!fatal")
        return ReplyKind::Fatal;
    return ReplyKind::Other;
}
