#pragma once

#include "historylocation.h"

#include <QSqlDatabase>
#include <QString>

// The program's one connection to the history database. It is opened at the
// start of every use and closed at its end.
class HistoryDatabase
{
public:
    HistoryDatabase();
    ~HistoryDatabase();
    HistoryDatabase(const HistoryDatabase &) = delete;
    HistoryDatabase &operator=(const HistoryDatabase &) = delete;

    // Opens the database at the location, creating the tables of a new one and
    // upgrading an older one; false when it cannot be opened.
    bool open(const HistoryLocation &location);
    void close();
    bool isOpen() const;

    // The open connection, for queries.
    QSqlDatabase connection() const;
    HistoryLocation::Engine engine() const { return m_engine; }
    // The driver's text of the last failure to open, for diagnostics.
    QString lastError() const { return m_lastError; }

private:
    QString m_name; // Qt's name of the connection, unique per object
    HistoryLocation::Engine m_engine = HistoryLocation::Engine::SQLite;
    QString m_lastError;
};

// Reads the schema version: the first row of the Version table, 0 when the
// table has no row or cannot be read.
int readHistoryVersion(const QSqlDatabase &db);
