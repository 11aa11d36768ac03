#pragma once

#include "historyrow.h"

#include <QDate>
#include <QList>
#include <QSet>
#include <QSqlDatabase>
#include <optional>

// Adds the rows to the History table in one transaction. When a row cannot be
// stored, the rows before it are still committed and the rest are not tried.
// Returns how many rows, from the first, are stored.
qsizetype storeHistoryRows(const QSqlDatabase &db, const QList<HistoryRow> &rows);

// What the history page searches for: rows created from the first day 00:00:00
// to the last day 23:59:59 (local time), optionally only of one program user
// and of one router (exact names).
struct HistoryFilter
{
    QDate from;
    QDate to;
    std::optional<QString> generator;
    std::optional<QString> router;
};

// The rows that match, oldest first; nothing on a database error.
std::optional<QList<HistoryRow>> findHistoryRows(const QSqlDatabase &db, const HistoryFilter &filter);

// Marks the rows of a user removed from its router: their UserName gets the
// removal mark. A row without serial is found by an empty serial. False on a
// database error or when no such row exists.
bool markHistoryRowRemoved(const QSqlDatabase &db, const QString &userName, std::optional<quint32> serial);
// Marks every row of that user made on that router removed (the command
// line's removal, which knows no serial). The number of rows marked; nothing
// when the database failed.
std::optional<int> markRouterUserRemoved(const QSqlDatabase &db, const QString &userName,
                                         const QString &routerName);

// Whether a row of that user and serial made on that router is stored (marked
// removed or not); nothing on a database error.
std::optional<bool> historyHoldsVoucher(const QSqlDatabase &db, const QString &userName, quint32 serial,
                                        const QString &routerName);

// The serials of those rows (matched by user name, marked removed or not,
// serial and router) that the database holds; nothing on a database error.
std::optional<QSet<quint32>> heldVoucherSerials(const QSqlDatabase &db, const QList<HistoryRow> &rows);

// Created as the History table holds it: local time, "yyyy-MM-dd HH:mm:ss".
QString historyTimeText(const QDateTime &time);
