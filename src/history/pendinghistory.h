#pragma once

#include "historyrow.h"

#include <QJsonObject>
#include <QString>
#include <optional>

// The data folder's journal, HistoryPending.jsonl (see journalstate.h), and
// the JSON form of a history row in it. Empty when there is no data folder.
QString pendingHistoryPath(const QString &dataFolder);

// A history row as one JSON object, and back; nothing when the object is not
// a whole row (a text that is not text, a time, price or serial out of range).
QJsonObject historyRowObject(const HistoryRow &row);
std::optional<HistoryRow> historyRowFromObject(const QJsonObject &object);
