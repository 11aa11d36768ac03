#include "historysearch.h"

#include "historydatabase.h"

#include "base/localedate.h"

#include <QCoreApplication>

std::optional<HistorySearchResult> searchHistory(const HistoryDatabase &history, const HistoryFilter &filter)
{
    std::optional<QList<HistoryRow>> rows = findHistoryRows(history.connection(), filter);
    if (!rows)
        return std::nullopt;

    HistorySearchResult result;
    result.rows = std::move(*rows);
    for (const HistoryRow &row : result.rows)
        (isRemovedRow(row) ? result.suppressed : result.total) += row.Price;
    return result;
}

QString historyTotalsLine(const HistorySearchResult &result, const HistoryFilter &filter,
                          const PriceFormat &format)
{
    const auto date = [](const QDate &day) {
        return formatLocalTime(QDateTime(day, QTime(12, 0)).toSecsSinceEpoch(), "%x");
    };
    return QCoreApplication::translate("History", "%1 usuário gerados de %2 até %3. Total: %4, suprimido: %5")
        .arg(QString::number(result.rows.size()), date(filter.from), date(filter.to),
             formatPrice(result.total, format.pattern, format.separators),
             formatPrice(result.suppressed, format.pattern, format.separators));
}

QString historyCreatedText(const HistoryRow &row)
{
    return row.Created.isValid() ? formatLocalTime(row.Created.toSecsSinceEpoch(), "%x %H:%M") : QString();
}
