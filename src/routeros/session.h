#pragma once

#include "apitransport.h"

#include <QByteArray>
#include <QString>
#include <memory>

// The API session slot: at most one session is open at a time; every router
// operation opens it, uses it and closes it before returning.
struct ApiConnection
{
    std::unique_ptr<ApiTransport> transport; // empty: no session
};

// The receive time-out of router sessions: WIFITICKETER_API_TIMEOUT_MS, else
// 30000 ms. Connecting waits as long at most.
int apiTimeoutMs();
// The time limits of router sessions (apitransport.h): that time-out, and the
// ceiling of one command's reply, WIFITICKETER_API_CEILING_MS, else ten times
// the time-out (five minutes by default), never less than the time-out.
ApiTimeLimits apiTimeLimits();

// The port text read as a plain decimal number, as the C library's atoi reads
// it; anything that is not a TCP port gives 0.
quint16 portNumber(const QString &text);

// An IPv4 TCP connection to the address (a host name, resolved, or a dotted
// quad), or nothing. Connecting waits the time-out at most.
std::unique_ptr<ApiTransport> connectSocket(const QString &address, quint16 port,
                                            const ApiTimeLimits &limits);

// How a login ended.
enum class LoginResult
{
    LoggedIn,
    Refused,  // the peer answered, and not with a login: wrong user or password, or no router
    NoAnswer, // the stream ended (closed, or silent for the time-out) before an answer came
};

// Logs in on a fresh session. A router that gives an MD5 challenge gets the
// name and the challenge-response only, never the password; the password goes
// only to routers that ask for it (no challenge, or a trap: RouterOS 6.45.1
// and later), with the name in one sentence.
LoginResult login(ApiTransport &transport, const QByteArray &name, const QByteArray &password);

// The response to a challenge: MD5 of 0x00, the password and the 16 challenge
// bytes, as 32 lowercase hexadecimal digits.
QByteArray challengeResponse(const QByteArray &password, const QByteArray &challenge);

// Sends "/quit", reads its answer and closes the connection.
void closeSession(ApiConnection &connection);
