#pragma once

#include "historylocation.h"

#include <QStringList>

// The schema version of a history database with every column: 1 added Serial,
// 2 Validity, 3 Router, 4 the six customer columns.
constexpr int HistorySchemaVersion = 4;

// The statements that give a new database its tables, index and version.
QStringList historyCreationStatements(HistoryLocation::Engine engine);

// The statements that bring a database of the given version up to the current
// one, in order. Each runs on its own; one that fails (a column that exists
// already) does not stop the next. Nothing for the current or an unknown version.
QStringList historyUpgradeStatements(int fromVersion);
