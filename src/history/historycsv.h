#pragma once

#include "historyrow.h"

#include "base/formatprice.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

// The captions of the history list's columns, in their order.
QStringList historyColumnCaptions();

// The rows as a spreadsheet reads them: UTF-8 with a byte order mark, fields
// separated by ";" and quoted where needed (RFC 4180), lines ending in CRLF,
// the captions first. The columns are the list's and "Excluído do roteador"
// ("Sim" for a voucher removed from its router), with prices as plain numbers
// written with the locale's decimal separator and no currency, and Created as
// "yyyy-MM-dd HH:mm". A text that a spreadsheet would take for a formula gets
// an apostrophe in front.
QByteArray historyCsv(const QList<HistoryRow> &rows, const NumberSeparators &separators);

// One field as historyCsv writes a text: neutralised, then quoted if needed.
QString historyCsvField(const QString &text);
