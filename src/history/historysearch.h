#pragma once

#include "historystore.h"

#include "generation/voucherprofile.h"

#include <QList>
#include <optional>

class HistoryDatabase;

// What a search of the history found: the rows, and the prices of the vouchers
// still on their routers (total) and of those removed (suppressed).
struct HistorySearchResult
{
    QList<HistoryRow> rows;
    qint64 total = 0;
    qint64 suppressed = 0;
};

// Finds the rows of the filter in the open history database and adds up their
// prices. Nothing when the database failed.
std::optional<HistorySearchResult> searchHistory(const HistoryDatabase &history, const HistoryFilter &filter);

// The line under the result list: "%i usuário gerados de %s até %s. Total:
// %s, suprimido: %s" with the count, the dates in the user's format and the
// two sums as prices.
QString historyTotalsLine(const HistorySearchResult &result, const HistoryFilter &filter,
                          const PriceFormat &format);

// The "Criado" column: date in the user's format, then hours and minutes.
QString historyCreatedText(const HistoryRow &row);
