#pragma once

#include "routeros/apisentence.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

class ApiTransport;

// Sends one command, its words given as texts (sent as UTF-8), and reads the
// whole reply.
ApiReply runCommand(ApiTransport &transport, const QStringList &words);

// The id a print found: in each sentence the first word that holds "=.id=",
// a later sentence's id replacing an earlier one.
std::optional<QString> findId(const ApiReply &reply);

// Whether the reply was completed by a "!done" (and not cut off by a lost
// connection).
bool endsDone(const ApiReply &reply);

// Whether the router answered the command at all: its reply ends with "!done",
// "!trap" or "!fatal", and was not cut off by a lost connection or a time-out.
bool answered(const ApiReply &reply);

// Texts the router reports in its own words (messages, names typed on the
// router): UTF-8 when they are valid UTF-8, as the program and current tools
// send them, otherwise the Windows code page older tools used.
QString decodeRouterText(const QByteArray &bytes);

// The text after "=message=" in the word, when it holds one.
std::optional<QString> messageIn(const QByteArray &word);

// A router's refusal as the operator reads it: Resposta do router "...".
QString routerMessage(const QString &message);
