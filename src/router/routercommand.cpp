#include "routercommand.h"

#include "routerinfo.h"

#include "routeros/codec.h"

#include <QCoreApplication>
#include <QStringDecoder>

using namespace Qt::StringLiterals;

bool isRouterOs7(const RouterInfo &info)
{
    return info.Major >= 7;
}

ApiReply runCommand(ApiTransport &transport, const QStringList &words)
{
    ApiSentence sentence;
    for (const QString &word : words)
        addWord(sentence, word);
    writeSentence(transport, sentence);
    return readReply(transport);
}

std::optional<QString> findId(const ApiReply &reply)
{
    std::optional<QString> id;
    for (const ApiSentence &sentence : reply.sentences) {
        if (std::optional<QString> found = attributeValue(sentence, u"=.id="_s))
            id = found;
    }
    return id;
}

bool endsDone(const ApiReply &reply)
{
    return !reply.sentences.isEmpty() && reply.sentences.last().kind == ReplyKind::Done;
}

bool answered(const ApiReply &reply)
{
    return !reply.sentences.isEmpty() && reply.sentences.last().kind != ReplyKind::Other;
}

QString decodeRouterText(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder windows("windows-1252");
    return windows.isValid() ? windows.decode(bytes) : QString::fromLatin1(bytes);
}

std::optional<QString> messageIn(const QByteArray &word)
{
    static const QByteArray key = "=message=";
    const qsizetype at = word.indexOf(key);
    if (at < 0)
        return std::nullopt;
    return decodeRouterText(word.sliced(at + key.size()));
}

QString routerMessage(const QString &message)
{
    return QCoreApplication::translate("RouterCommand", "Resposta do router \"%1\".").arg(message);
}
