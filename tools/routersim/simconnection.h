#pragma once

#include "commandhandler.h"
#include "simulatedrouter.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QTimer>

class QTcpSocket;

namespace routersim {

// One API connection: reads sentences as they complete, hands them to the
// router and writes the answers, each when its delay has passed since its
// command arrived (a delay line: commands sent together are answered
// together), in arrival order unless tagged answers are to be reordered. An
// endless reply goes to the back of the queue after each of its sentences.
class SimConnection : public QObject
{
    Q_OBJECT

public:
    // Takes the socket over.
    SimConnection(QTcpSocket *socket, SimulatedRouter &router, QObject *parent);

private:
    struct Outgoing
    {
        QByteArray bytes;
        qint64 dueMs = 0; // when the (next) byte is to go out
        bool close = false;
        int trickleMs = 0;
        bool reorderable = false; // may trade places with other reorderable answers due at once
        bool placed = false;      // its place among those due with it is settled
        QByteArray repeat = {};   // an endless reply's sentence, queued again repeatMs after it went out
        int repeatMs = 0;
    };

    void readIncoming();
    void reorderDue(qint64 now);
    void writeDue();

    QTcpSocket *m_socket;
    SimulatedRouter &m_router;
    int m_number;
    Session m_session;
    QByteArray m_received;
    int m_sentences = 0;
    bool m_closing = false;
    QList<Outgoing> m_outbox;
    QTimer m_timer;
    QElapsedTimer m_clock;
};

} // namespace routersim
