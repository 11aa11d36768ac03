#pragma once

#include "historystore.h"

#include "generation/voucherprofile.h"

#include <QList>
#include <optional>

struct AppState;

// What a search of the history found: the rows, and the prices of the vouchers
// still on their routers (total) and of those removed (suppressed).
struct HistorySearchResult
{
    QList<HistoryRow> rows;
    qint64 total = 0;
    qint64 suppressed = 0;
};

// Opens the history, finds the rows of the filter and closes it again.
// Nothing when the database could not be opened or failed.
std::optional<HistorySearchResult> searchHistory(AppState &state, const HistoryFilter &filter);

// The line under the result list: "%i usuário gerados de %s até %s. Total:
// %s, suprimido: %s" with the count, the dates in the user's format and the
// two sums as prices.
QString historyTotalsLine(const HistorySearchResult &result, const HistoryFilter &filter,
                          const PriceFormat &format);

// The "Criado" column: date in the user's format, then hours and minutes.
QString historyCreatedText(const HistoryRow &row);
