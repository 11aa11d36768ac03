#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// How a received sentence ends a reply: "!done", "!trap" or "!fatal"; Other for
// data ("!re") and for sentences built to be sent.
enum class ReplyKind
{
    Other = 0,
    Done = 1,
    Trap = 2,
    Fatal = 3
};

// One sentence of the RouterOS API: words of UTF-8 bytes, in order.
struct ApiSentence
{
    QList<QByteArray> words;
    ReplyKind kind = ReplyKind::Other;
};

// Everything read for one command: the data sentences, then the final one.
struct ApiReply
{
    QList<ApiSentence> sentences;
};

// Appends a word; texts are sent as UTF-8.
void addWord(ApiSentence &sentence, const QString &text);
void addWord(ApiSentence &sentence, const QByteArray &bytes);
// Appends to the last word (which must exist): "=name=" then the value gives
// one attribute word.
void appendToLastWord(ApiSentence &sentence, const QString &text);
void appendToLastWord(ApiSentence &sentence, const QByteArray &bytes);

void clear(ApiSentence &sentence);
void clear(ApiReply &reply);

// The text after the key (such as "=.id=" or "=message=") in the first word
// that contains it, read as UTF-8; nothing when no word contains it.
std::optional<QString> attributeValue(const ApiSentence &sentence, const QString &key);
// The same from the last word that contains the key.
std::optional<QString> lastAttributeValue(const ApiSentence &sentence, const QString &key);

// The kind a reply word marks, when the word is one.
ReplyKind replyKindOf(const QByteArray &firstWord);
