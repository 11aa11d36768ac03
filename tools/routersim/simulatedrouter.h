#pragma once

#include "commandhandler.h"
#include "routerbehaviour.h"
#include "routerstate.h"
#include "wireformat.h"

#include <QList>
#include <QMutex>
#include <functional>

namespace routersim {

// How a connection is to answer one received sentence.
struct RouterAnswer
{
    QList<Sentence> sentences; // none: no answer at all
    bool close = false;        // close the connection once the sentences are written
    int delayMs = 0;           // write them this much later
    int trickleMs = 0;         // write them one byte at a time, this many ms apart (0: at once)
    bool reorderable = false;  // a tagged answer that may overtake others (out-of-order tags)
    // A reply without end: once the sentences are out, this one goes out
    // again and again, repeatMs apart (0: no repeat).
    Sentence repeat;
    int repeatMs = 0;
};

// The router shared by every connection of a server and by the test that
// looks at it: state, behaviour and the log of received sentences. Every
// member may be called from any thread.
class SimulatedRouter
{
public:
    // Called on the server's thread after every received sentence, with the
    // state as that sentence left it.
    using Observer = std::function<void(const LoggedSentence &sentence, const RouterState &state)>;

    explicit SimulatedRouter(RouterState state = defaultRouterState(), RouterBehaviour behaviour = {});

    RouterState state() const;
    void setState(const RouterState &state);
    RouterBehaviour behaviour() const;
    void setBehaviour(const RouterBehaviour &behaviour);

    // Every received sentence of every connection, in arrival order.
    QList<LoggedSentence> log() const;
    // The words of the sentences received on one connection, in order.
    QList<Sentence> sentencesOf(int connection) const;
    void clearLog();
    int connectionCount() const;

    void setObserver(Observer observer);

    // The number of a new connection (1, 2, ...).
    int openConnection();
    // Logs the sentence and answers it; `received` counts the sentences of the
    // connection so far, this one included.
    RouterAnswer receive(int connection, const Sentence &sentence, Session &session, int received);

private:
    mutable QMutex m_mutex;
    RouterState m_state;
    RouterBehaviour m_behaviour;
    QList<LoggedSentence> m_log;
    int m_connections = 0;
    Observer m_observer;
};

} // namespace routersim
