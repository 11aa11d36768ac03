#pragma once

#include "routerbehaviour.h"
#include "routerstate.h"
#include "wireformat.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace routersim {

// What the router remembers about one API connection.
struct Session
{
    bool loggedIn = false;
    QByteArray challenge; // the 16 bytes of the last challenge given; empty when none is open
    QString user;
    int userAdds = 0; // user add commands received so far
};

struct Reply
{
    QList<Sentence> sentences;
    bool close = false;  // the router ends the connection after the reply
    bool tagged = false; // the command carried ".tag=", and every sentence of the reply carries it back
};

// Answers one received sentence the way a router of the state's RouterOS
// version does, changing the state and the session as that router would.
// An empty sentence gets no answer.
Reply handleSentence(const Sentence &sentence, RouterState &state, const RouterBehaviour &behaviour,
                     Session &session);

// The "=response=" a router expects for a challenge: "00" and the MD5 of 0x00,
// the password and the challenge bytes, in lower-case hexadecimal.
QByteArray expectedResponse(const QByteArray &password, const QByteArray &challenge);

} // namespace routersim
