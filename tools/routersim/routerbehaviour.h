#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace routersim {

// How the router answers "/login", by RouterOS generation.
enum class LoginMode
{
    Challenge, // before 6.43: a bare "/login" gives an MD5 challenge, only the response logs in
    Both,      // 6.43 to 6.45.0: the challenge is given, name and password also log in
    Plain,     // 6.45.1 and 7: a bare "/login" gives no challenge, name and password log in
    PlainTrap  // a bare "/login" is refused; name and password log in
};

// The login generation and the faults a test can switch on.
struct RouterBehaviour
{
    LoginMode login = LoginMode::Both;
    bool refuseAdds = false; // every add command answers a trap
    bool stall = false;      // sentences are read and logged, never answered
    int closeAfter = 0;      // the connection is closed after answering this many sentences (0: never)
    int latencyMs = 0;       // every answer leaves this long after its command arrived
    bool forgetAdds = false; // every add is answered "!done" with a new id, and nothing is stored
    int trickleMs = 0;       // every answer goes out one byte at a time, this many ms apart (0: at once)
    // The answers to tagged commands that fall due together leave in reverse
    // order, so a client must match them by tag.
    bool outOfOrderTags = false;
    // Counted per connection over the user adds ("/ip/hotspot/user/add" and
    // the User Manager's "/user/add"), from 1:
    int collideAddAt = 0;    // this add is answered "already have user with this name", storing nothing
    int refuseAddsFrom = 0;  // this add and every later one are refused
    bool ignoreTags = false; // ".tag=" words are taken and never echoed, as by a router without tags
    // Every command but the login is carried out and answered with a "!re"
    // sentence this many ms apart, without end (0: off).
    int endlessReMs = 0;
    // When set, trickleMs and endlessReMs touch only the answers to this
    // command ("/ip/hotspot/user/add", or even "/login").
    QString faultCommand = {};
};

// Whether the answer faults (trickle, endless replies) touch the answer to the
// sentence.
bool answerFaultTouches(const RouterBehaviour &behaviour, const QList<QByteArray> &sentence);

QString loginModeName(LoginMode mode);
// "challenge", "both", "plain" or "plain-trap".
std::optional<LoginMode> loginModeFromName(const QString &name);

} // namespace routersim
