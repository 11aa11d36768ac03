#pragma once

#include <QSqlDatabase>
#include <QtGlobal>
#include <optional>

// The highest serial number the History table holds among those vouchers get
// (1 to MaxSerial): the counter's floor, so no serial is given twice. 0 when
// it holds none; nothing when the database cannot be read.
std::optional<quint32> highestHistorySerial(const QSqlDatabase &db);
