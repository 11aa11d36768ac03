#pragma once

#include "historyrow.h"

#include <QByteArray>
#include <QList>

// Rows of vouchers made on a router while the history database could not
// store them. They wait in HistoryPending.jsonl in the data folder, one JSON
// object a line, oldest first, and are stored the next time the database opens.
// Empty when there is no data folder.
QString pendingHistoryPath(const QString &dataFolder);

struct PendingHistory
{
    QList<HistoryRow> rows;
    // Vouchers of a run written down before their add went to the router,
    // whose confirmation has not (yet) arrived. Each line carries
    // "Journal":"unconfirmed"; a run settles its own, and the start of a later
    // session asks the router about those a run could not settle.
    QList<HistoryRow> unconfirmed;
    // Lines that could not be read back as rows. They are kept in the file as
    // they are, so nothing recorded is ever thrown away.
    QList<QByteArray> unreadable;
};

QByteArray encodePendingHistory(const PendingHistory &pending);
// One line of the file, without its line break: a waiting row, or an
// unconfirmed one.
QByteArray encodePendingLine(const HistoryRow &row, bool unconfirmed);
PendingHistory decodePendingHistory(const QByteArray &bytes);

// The file's content; empty when there is no file.
PendingHistory readPendingHistory(const QString &path);
// Replaces the file (removes it when nothing is pending); false on failure.
bool writePendingHistory(const QString &path, const PendingHistory &pending);
// The same with the file's bytes already encoded (empty: nothing pending).
bool writePendingBytes(const QString &path, const QByteArray &bytes);
